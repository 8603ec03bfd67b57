"""Objects created by ProgID and by attribute, members called with arguments in order and by name,
by-reference arguments coming back in a named tuple, properties read and assigned, and the errors
of the library and of the package, each with its number and text."""
from __future__ import annotations

import pytest

import quillon
from support import ORDER_LINES


def test_objects_are_created_by_progid_and_by_attribute(session):
    assert session.create("Quillon.RefSelect").class_name == "RefSelect"
    assert session.RefSelect().class_name == "RefSelect"
    assert session.Suite.StockQueries().class_name == "StockQueries"
    assert session.Suite.StockQueries.prog_id == "Quillon.Suite.StockQueries"
    assert repr(session.create("Collection")) == "<quillon.Collection of 0: >"
    with pytest.raises(quillon.ClassNotFoundError) as caught:
        session.create("Quillon.Nope")
    assert caught.value.number == 429
    assert caught.value.status == quillon.Status.RAISED
    assert caught.value.text == ('creating "Quillon.Nope": error 429: ActiveX component can\'t '
                                 'create object')


def test_arguments_go_in_order_by_name_or_both_and_left_out_ones_take_defaults(session):
    queries = session.Suite.StockQueries()
    in_order = queries.CurrentStockSql("01", "0101003")
    assert queries.CurrentStockSql(sInvCode="0101003", sWhCode="01") == in_order
    assert queries.currentstocksql("01", SINVCODE="0101003") == in_order
    ref = session.RefSelect()
    # Every by-reference argument comes back, the omitted ones as None.
    r = ref.AutoRefer(session, "01", "0101003", iQuantity=2000, sSql=in_order, sReturnErr="x")
    assert r.value is False
    assert (r.sWhcode, r.sInvCode, r.iQuantity, r.sReturnErr) == ("01", "0101003", 2000, "")
    assert r.sFree is None and r.bMutiSel is None
    assert r[0] is False and len(r) == 1 + len(
        [p for p in ref.AutoRefer.parameters if p != "oLogin"])
    assert [(row.批号, row.出库数量) for row in ref.ReturnData] == [("B2610-01", 1851.0),
                                                                  ("B2611-02", 149.0)]


def test_bad_keywords_are_type_errors_naming_the_parameters(session):
    queries = session.Suite.StockQueries()
    with pytest.raises(TypeError, match="has no parameter 'sWarehouse'; its parameters: sWhCode"):
        queries.CurrentStockSql(sWarehouse="01")
    with pytest.raises(TypeError, match="got sWhCode twice"):
        queries.CurrentStockSql("01", sWhCode="02")


def test_by_reference_arguments_come_back_in_a_named_tuple(session, account):
    with quillon.connect(account, user="demo", date="2026-12-05", dialogs="none") as s:
        order = s.ProduceOrder()
        # The collection and the message are required by reference; left out, they start empty.
        ok, chosen, err = order.load("", s, sVoutype=11, dialog_lines=ORDER_LINES)
        assert (ok, err) == (True, "")
        assert list(chosen) == ["Parent", "Sub", "Child"]
        written = order.WritefQuantity(1, 1000.0)
        assert type(written).__name__ == "WritefQuantity"
        assert written.value is False
        assert written.ErrMsg == "生产订单材料行[1]的累计出库数量[1010]不能超过应出库数量[20]"
        # A text passed by reference is rewritten in the tuple, never in place.
        ref = s.RefSelect()
        query = "select iQuantity from currentstock Where 1 = 1"
        net = ref.GetAllBSQL(query)
        assert query == "select iQuantity from currentstock Where 1 = 1"
        assert "(iQuantity - IsNull(fSumOutQ, 0))" in net.value
        assert net.STRSQL.startswith("select (iQuantity - IsNull(fSumOutQ, 0)) from currentstock")


def test_the_login_is_the_sessions_and_the_session_stands_for_it(session):
    assert session.login.cUserId == "demo"
    assert session.login.LoginDate.isoformat() == "2026-12-05"
    sql = session.Suite.StockQueries().CurrentStockSql("01", "0101003")
    ref = session.RefSelect()
    ref.AutoRefer(session.login, "01", "0101003", iQuantity=10, sSql=sql, sReturnErr="x")
    assert len(ref.ReturnData) == 1
    bare = quillon.Session(dialogs="none")
    with pytest.raises(quillon.Error, match="logged in on no account"):
        ref.AutoRefer(bare, "01", "0101003", iQuantity=10, sSql=sql)
    bare.close()


def test_properties_are_read_and_assigned(session):
    order = session.ProduceOrder()
    assert order.sErrMsg == ""
    order.sErrMsg = "kept"
    assert order.get_property("SERRMSG") == "kept"
    order.set_property("eVouchType", 11)
    assert order.eVouchType == 11
    assert order.oCollection is None
    box = session.create("Collection")
    order.oCollection = box
    assert order.oCollection.class_name == "Collection"
    order.oCollection = None
    assert order.oCollection is None
    ref = session.RefSelect()
    ref.ExchRate = "2.5"
    assert ref.ExchRate == 2.5
    with pytest.raises(quillon.TypeMismatchError) as caught:
        order.eVouchType = "eleven"
    assert caught.value.number == 13


def test_members_are_listed_and_described(session):
    order = session.ProduceOrder()
    assert order.members()[:3] == ("load", "WritefQuantity", "WritebThrow")
    assert "WritefQuantity" in dir(order)
    assert order.signature("writefquantity").startswith(
        "Function WritefQuantity(sSubId As Long, lQuantity As Double, ByRef ErrMsg As String")
    assert order.load.name == "load"
    assert order.load.parameters == ("sProOrderId", "oLogin", "oCollReurn", "ErrMsg", "bOI",
                                     "sVoutype")
    assert repr(order.load).startswith("<quillon member ProduceOrder.Function load(")


def test_library_errors_carry_their_number_and_text(session):
    order = session.ProduceOrder()
    assert not hasattr(order, "Nope")
    with pytest.raises(quillon.MemberNotFoundError) as caught:
        order.Nope
    assert isinstance(caught.value, AttributeError)
    assert caught.value.number == 438
    assert str(caught.value) == ("ProduceOrder.Nope: error 438: Object doesn't support this "
                                 "property or method")
    with pytest.raises(quillon.ArgumentError) as caught:
        order.WritefQuantity()
    assert caught.value.number == 449
    with pytest.raises(quillon.ArgumentError) as caught:
        session.create("Collection").Count(1)
    assert caught.value.number == 450
    with pytest.raises(quillon.RaisedError) as caught:
        session.RefSelect().Refer(session, sSql="SELECT nope FROM nowhere")
    assert caught.value.number < 0
    assert "RefSelect.Refer: error" in caught.value.text and "nowhere" in caught.value.text


def test_objects_of_a_closed_session_are_refused(demo_account):
    with quillon.connect(demo_account, user="demo", dialogs="none") as s:
        box = s.create("Collection")
        box.Add(1)
    assert s.closed and s.login is None
    with pytest.raises(quillon.SessionClosedError):
        box.Add(2)
    with pytest.raises(quillon.SessionClosedError):
        len(box)
    with pytest.raises(quillon.Error, match="closed"):
        s.create("Collection")
    s.close()  # again: nothing


def test_a_login_that_fails_leaves_no_session_behind(tmp_path):
    before = quillon.handle_count()
    with pytest.raises(quillon.RaisedError) as caught:
        quillon.connect(tmp_path / "none.db", user="demo", dialogs="none")
    assert "none.db" in caught.value.text
    assert quillon.handle_count() == before
    with pytest.raises(ValueError, match="dialogs is one of auto, person, none"):
        quillon.Session(dialogs="sometimes")
