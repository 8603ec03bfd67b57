"""Every conversion both ways: what each Python value becomes in the library, what each library
value comes back as, the values that cannot cross (refused with nothing left behind), and the
values the library makes itself (dates in recordsets, Integers)."""
from __future__ import annotations

import ctypes
import datetime
import decimal

import pytest

import quillon
from quillon import _objects
from support import kind_of, round_trip

EMPTY, NULL, BOOLEAN, INTEGER, LONG, DOUBLE, DATE, TEXT = range(8)
OBJECT, NOTHING, MISSING, ARRAY, COLLECTION, RECORDSET = range(8, 14)


@pytest.mark.parametrize("value, kind, back", [
    (True, BOOLEAN, True),
    (False, BOOLEAN, False),
    (0, LONG, 0),
    (-2**31, LONG, -2**31),
    (2**31 - 1, LONG, 2**31 - 1),
    (2**31, DOUBLE, 2.0**31),
    (-2**53, DOUBLE, -2.0**53),
    (1851.25, DOUBLE, 1851.25),
    (-0.5, DOUBLE, -0.5),
    (decimal.Decimal("149.125"), DOUBLE, 149.125),
    ("", TEXT, ""),
    ("批号 B2610-01 ✓ \U0001F600", TEXT, "批号 B2610-01 ✓ \U0001F600"),
    (datetime.date(2026, 12, 5), DATE, datetime.date(2026, 12, 5)),
    (datetime.datetime(2026, 12, 5, 13, 30), DATE, datetime.datetime(2026, 12, 5, 13, 30)),
    (datetime.datetime(2026, 12, 5, 23, 59, 59, 999000), DATE,
     datetime.datetime(2026, 12, 5, 23, 59, 59, 999000)),
    (datetime.datetime(2026, 12, 5), DATE, datetime.date(2026, 12, 5)),
    (datetime.datetime(1899, 12, 29, 6, 0), DATE, datetime.datetime(1899, 12, 29, 6, 0)),
    (datetime.date(1, 1, 1), DATE, datetime.date(1, 1, 1)),
    (datetime.date(9999, 12, 31), DATE, datetime.date(9999, 12, 31)),
    ([1, "a", [2.5, True]], ARRAY, [1, "a", [2.5, True]]),
    ((), ARRAY, []),
    ([None, quillon.Null, quillon.Nothing, quillon.Empty], ARRAY, [None, None, None, None]),
    (quillon.Empty, EMPTY, None),
    (quillon.Null, NULL, None),
    (quillon.Nothing, NOTHING, None),
])
def test_a_python_value_becomes_its_library_kind_and_comes_back(session, value, kind, back):
    assert kind_of(session, value) == kind
    got = round_trip(session, value)
    assert got == back
    assert type(got) is type(back)


def test_the_library_reads_python_values_as_its_own(session):
    # True is the library's True, -1 as a number; a date is its serial; None is left out.
    box = session.create("Collection")
    box.Add(True, "flag")
    box.Add(datetime.date(2026, 12, 5), "day")
    lib = session._handles.lib
    flag = lib.handle_out(lib.collection_item_by_key, box._live(), b"flag")
    day = lib.handle_out(lib.collection_item_by_key, box._live(), b"day")
    number, serial = ctypes.c_double(), ctypes.c_double()
    lib.check(lib.get_double, flag, ctypes.byref(number))
    lib.check(lib.get_date, day, ctypes.byref(serial))
    lib.release(flag)
    lib.release(day)
    assert number.value == -1.0
    assert serial.value == 46361.0
    assert kind_of(session, None) == MISSING
    assert kind_of(session, quillon.Missing) == MISSING


def test_an_integer_the_library_makes_comes_back_as_an_int(session):
    lib = session._handles.lib
    integer = lib.handle_out(lib.dll.quillon_integer, -32768)
    assert _objects._take(session._handles, integer) == -32768


def test_a_mapping_becomes_a_collection_under_its_keys(session):
    box = session.create("Collection")
    box.Add({"qty": 5, "batch": "B2610-01", "nested": {"x": 1}})
    got = box.Item(1)
    assert isinstance(got, quillon.Collection)
    assert dict(got)["qty"] == 5
    assert got["BATCH"] == "B2610-01"
    assert got["nested"]["x"] == 1


def test_an_object_passed_is_the_same_object(session):
    inner = session.create("Collection")
    outer = session.create("Collection")
    outer.Add(inner, "inner")
    outer["inner"].Add("through the other handle")
    assert inner[1] == "through the other handle"


@pytest.mark.parametrize("value, says", [
    (2**53 + 1, "2**53"),
    (-2**60, "2**53"),
    ("a\0b", "NUL"),
    (datetime.datetime(2026, 12, 5, tzinfo=datetime.timezone.utc), "time zone"),
    (object(), "holds no object"),
    ({1: "int key"}, "keys are texts"),
    ([1, 2, object()], "holds no object"),
    (b"bytes", "holds no bytes"),
])
def test_a_value_the_library_cannot_hold_is_refused_and_nothing_is_left_behind(session, value,
                                                                                says):
    box = session.create("Collection")
    before = quillon.handle_count()
    with pytest.raises(quillon.ConversionError, match=says.replace("*", r"\*")) as caught:
        box.Add(value)
    assert isinstance(caught.value, ValueError)
    assert quillon.handle_count() == before
    assert len(box) == 0


def test_a_date_python_cannot_hold_is_a_conversion_error(session):
    lib = session._handles.lib
    far = lib.handle_out(lib.date, 1e9)
    with pytest.raises(quillon.ConversionError, match="outside the years"):
        _objects._take(session._handles, far)
    # The handle went back all the same.
    assert session._handles.lib.dll.quillon_release(far) == quillon.Status.BAD_HANDLE


def test_dates_and_numbers_read_from_an_account_come_back_typed(session):
    lines = session.create("ADODB.Recordset")
    lines.Open("SELECT cCode, dDate, iProperty FROM pp_POHead ORDER BY cCode",
               session.login.ConnectionString)
    first = lines[0]
    assert first.cCode == "MO26110001"
    assert first.dDate == datetime.date(2026, 11, 3)
    assert first.iProperty == 1 and isinstance(first.iProperty, int)
