"""Recordsets as sequences of rows (mapping and attribute access, len, indexing, fields, to_list,
to_dicts, to_dataframe) over their present view, and collections as mappings of their keys."""
from __future__ import annotations

import sys
import types

import pytest

import quillon


@pytest.fixture
def stock(session):
    """Current stock of aluminium ingots in warehouse 01: three batches."""
    rs = session.create("ADODB.Recordset")
    rs.Open("SELECT cBatch, iQuantity, AutoID, cBatch AS cbatch FROM CurrentStock "
            "WHERE cWhCode = '01' AND cInvCode = '0101003' ORDER BY cBatch",
            session.login.ConnectionString)
    return rs


def test_a_recordset_is_a_sequence_of_rows(stock):
    assert stock.fields == ["cBatch", "iQuantity", "AutoID", "cbatch"]
    rows = list(stock)
    assert len(stock) == len(rows) == 3
    first = rows[0]
    assert isinstance(first, quillon.Row)
    assert first["cBatch"] == first["CBATCH"] == first.cbatch == "B2610-01"
    assert first.iQuantity == 1851.0
    # A name two fields share gives the first; every value stays in as_list.
    assert list(first) == ["cBatch", "iQuantity", "AutoID"]
    assert len(first) == 3
    assert first.as_list() == ["B2610-01", 1851.0, first.AutoID, "B2610-01"]
    assert dict(first) == {"cBatch": "B2610-01", "iQuantity": 1851.0, "AutoID": first.AutoID}
    with pytest.raises(KeyError):
        first["nope"]
    with pytest.raises(AttributeError, match="no field 'nope'; its fields: cBatch"):
        first.nope
    assert stock[-1].cBatch == rows[2].cBatch
    assert [r.cBatch for r in stock[1:]] == [r.cBatch for r in rows[1:]]
    assert [r.cBatch for r in stock[::2]] == [rows[0].cBatch, rows[2].cBatch]
    assert stock[5:9] == []
    with pytest.raises(quillon.OutOfRangeError, match="row 3 of a recordset of 3 rows"):
        stock[3]
    with pytest.raises(IndexError):
        stock[-4]


def test_whole_recordsets_come_as_lists_and_dicts(stock):
    as_lists = stock.to_list()
    as_dicts = stock.to_dicts()
    assert len(as_lists) == len(as_dicts) == 3
    assert [d["cBatch"] for d in as_dicts] == [row[0] for row in as_lists]
    assert sum(d["iQuantity"] for d in as_dicts) == sum(row[1] for row in as_lists)


def test_rows_are_of_the_present_view_and_reading_never_moves_the_recordset(stock):
    stock.MoveFirst()
    stock.MoveNext()
    at = stock.Fields.Item("AutoID").Value
    assert list(stock)[1].AutoID == at
    stock.to_dicts()
    stock[0]
    assert stock.Fields.Item("AutoID").Value == at
    stock.Filter = "cBatch <> 'B2610-01'"
    assert len(stock) == 2
    assert "B2610-01" not in [r.cBatch for r in stock]
    stock.Filter = ""
    stock.Sort = "cBatch DESC"
    batches = [r.cBatch for r in stock]
    assert len(batches) == 3 and batches == sorted(batches, reverse=True)


def test_many_rows_come_in_batches(session):
    rs = session.create("ADODB.Recordset")
    rs.Open("SELECT a.AutoID AS a, b.AutoID AS b FROM CurrentStock a, CurrentStock b",
            session.login.ConnectionString)
    total = len(rs)
    assert total > 1200  # more than two batches of 500
    rows = rs.to_list()
    assert len(rows) == total
    assert len({(a, b) for a, b in rows}) == total


def test_a_closed_or_empty_recordset_has_no_rows(session):
    empty = session.create("ADODB.Recordset")
    empty.Open("SELECT cBatch FROM CurrentStock WHERE 1 = 0", session.login.ConnectionString)
    assert len(empty) == 0 and list(empty) == [] and empty.to_dicts() == []
    assert not empty
    empty.Close()
    assert len(empty) == 0


def test_to_dataframe_builds_one_from_the_rows(stock, monkeypatch):
    made = {}

    def frame(rows, columns):
        made.update(rows=rows, columns=columns)
        return "a frame"

    monkeypatch.setitem(sys.modules, "pandas", types.SimpleNamespace(DataFrame=frame))
    assert stock.to_dataframe() == "a frame"
    assert made == {"rows": stock.to_list(), "columns": stock.fields}


def test_to_dataframe_without_pandas_says_what_is_missing(stock, monkeypatch):
    monkeypatch.setitem(sys.modules, "pandas", None)
    with pytest.raises(ImportError, match="needs pandas"):
        stock.to_dataframe()


def test_to_dataframe_with_pandas(stock):
    pandas = pytest.importorskip("pandas")
    frame = stock.to_dataframe()
    assert isinstance(frame, pandas.DataFrame)
    assert list(frame.columns) == stock.fields
    assert frame["iQuantity"].sum() == sum(r.iQuantity for r in stock)


def test_a_collection_is_a_mapping_of_its_keys(session):
    box = session.create("Collection")
    box.Add("first", "Parent")
    box.Add(42)
    box.Add([1, 2], "Child")
    assert len(box) == 3
    assert list(box) == ["Parent", 2, "Child"]
    assert box["parent"] == "first"
    assert box[2] == 42
    assert "CHILD" in box and "Sub" not in box and 4 not in box
    assert box.get("Sub", "none") == "none"
    assert dict(box.items()) == {"Parent": "first", 2: 42, "Child": [1, 2]}
    with pytest.raises(quillon.KeyNotFoundError) as caught:
        box["Sub"]
    assert isinstance(caught.value, KeyError)
    assert caught.value.number == 5
    with pytest.raises(KeyError):
        box[0]
    with pytest.raises(KeyError):
        box[1.5]
    box.Remove("Child")
    assert box.Count() == 2
    assert repr(box) == "<quillon.Collection of 2: Parent, 2>"
