"""Dialogs of the package's calls: answered by the dialog lines a call brings (for that call only),
failed or unused lines reported with what the call returned, lines that are none refused before
the member runs, drawn as the lines work them, and a person's dialogs only where there is a
display."""
from __future__ import annotations

import pytest

import quillon
from support import ORDER_LINES


def test_dialog_lines_answer_the_dialogs_of_their_call(session):
    order = session.ProduceOrder()
    ok, chosen, err = order.load("", session, sVoutype=11, dialog_lines=ORDER_LINES)
    assert ok and err == ""
    assert chosen["Parent"][0].ccode == "MO26110001"
    assert chosen["Sub"][0].cinvcode == "0301001"
    assert len(chosen["Child"]) == 5
    assert "form frmProduceOrder shown modally" in session.transcript
    # The lines were for that call only: the next one's dialog closes at once.
    again = order.load("", session, sVoutype=11)
    assert again.value is True and again.oCollReurn is None


def test_a_stock_dialog_worked_by_hand_lines(session):
    sql = session.Suite.StockQueries().CurrentStockSql("01", "0101003")
    ref = session.RefSelect()
    ref.Refer(session, "01", "0101003", iQuantity=2000, sSql=sql, dialog_lines="""on frmRefSelect
  mark spgList 1
  mark spgList 2
  toolbar ok
end
""")
    assert [(r.批号, r.出库数量) for r in ref.ReturnData] == [("B2610-01", 1851.0),
                                                              ("B2611-02", 149.0)]


def test_lines_that_fail_raise_with_the_result_and_the_transcript(session):
    order = session.ProduceOrder()
    with pytest.raises(quillon.DialogLinesError) as caught:
        order.load("", session, dialog_lines="on frmProduceOrder\n  click cmdNoSuchButton\nend\n")
    failure = caught.value
    assert failure.status == quillon.Status.SCRIPT_FAILED
    assert "line 2" in failure.text and "cmdNoSuchButton" in failure.text
    assert failure.result.value is True and failure.result.oCollReurn is None
    assert "frmProduceOrder" in failure.transcript == session.transcript
    # A block no dialog used.
    with pytest.raises(quillon.DialogLinesError, match="line 1"):
        session.create("Collection").Add(1, dialog_lines="on frmRefSelect\n  toolbar ok\nend\n")


def test_lines_that_are_no_dialog_lines_are_refused_before_the_call(session):
    box = session.create("Collection")
    for lines, says in [("login user=demo\n", "a host line"),
                        ("on frmProduceOrder\n  click\nend\n", "line 2, column"),
                        ("click cmdOk\n", "needs an on-block")]:
        with pytest.raises(quillon.DialogLinesError, match=says) as caught:
            box.Add(1, dialog_lines=lines)
        assert caught.value.result is None
    assert len(box) == 0
    with pytest.raises(TypeError, match="give dialog_lines too"):
        box.Add(1, draw_dialogs=True)
    with pytest.raises(quillon.ConversionError, match="NUL"):
        box.Add(1, dialog_lines="answer yes\0")
    assert len(box) == 0


def test_drawn_dialog_lines_hold_as_headless_ones(session):
    order = session.ProduceOrder()
    try:
        ok, chosen, err = order.load("", session, sVoutype=11, dialog_lines=ORDER_LINES,
                                     draw_dialogs=True)
    except quillon.UnavailableError:
        pytest.skip("a build without the desktop dialogs")
    assert ok and len(chosen["Child"]) == 5


def test_a_person_needs_a_display(demo_account, monkeypatch):
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        monkeypatch.delenv(name, raising=False)
    with pytest.raises(quillon.UnavailableError, match="no display") as caught:
        quillon.connect(demo_account, user="demo", dialogs="person")
    assert caught.value.status == quillon.Status.UNAVAILABLE
    # "auto" falls back to closing the dialogs at once.
    with quillon.connect(demo_account, user="demo", dialogs="auto") as s:
        assert s.dialogs == "none"
        result = s.ProduceOrder().load("", s)
        assert result.value is True and result.oCollReurn is None
    # On an offscreen platform nobody would see a person's dialogs either.
    monkeypatch.setenv("QT_QPA_PLATFORM", "offscreen")
    monkeypatch.setenv("DISPLAY", ":0")
    with quillon.Session() as s:
        assert s.dialogs == "none"
