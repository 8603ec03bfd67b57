"""Quillon for Python: the library's public classes driven from Python, over its C interface.

    import quillon

    with quillon.connect("demo.db", user="demo", date="2026-12-05", dialogs="none") as s:
        sql = s.Suite.StockQueries().CurrentStockSql("01", "0101003")
        ref = s.RefSelect()
        ref.AutoRefer(s.login, sWhcode="01", sInvCode="0101003", iQuantity=2000, sSql=sql,
                      sReturnErr="silent")
        for row in ref.ReturnData:
            print(row["批号"], row["出库数量"])

:func:`connect` logs in and gives a :class:`Session`; objects are created by ProgID
(``s.create("Quillon.RefSelect")``) or attribute (``s.RefSelect()``), members are called as
methods with arguments in order or by name, by-reference arguments come back in a named tuple,
recordsets are sequences of rows, collections mappings of their keys, errors :class:`Error`.
See docs/python.md (installed under share/doc/quillon).

The package needs only the standard library and libquillon.so.1 (``$QUILLON_LIBRARY`` names
another). Calls release the GIL while the library works (ctypes does for every call), so other
Python threads run meanwhile, also while a dialog is open; the library serialises its calls.
"""
from __future__ import annotations

from ._errors import (ArgumentError, BadHandleError, ClassNotFoundError, ConversionError,
                      DialogLinesError, Error, InternalError, KeyNotFoundError,
                      LibraryNotFoundError, MemberNotFoundError, OutOfRangeError, RaisedError,
                      SessionClosedError, Status, TypeMismatchError, UnavailableError,
                      WrongKindError)
from ._objects import Collection, Member, Object, Recordset, Row
from ._session import (AccountCheck, ProgId, Session, check_account, connect, handle_count,
                       library_path, version)
from ._values import Empty, Missing, Nothing, Null, Special

__all__ = [
    "AccountCheck", "ArgumentError", "BadHandleError", "ClassNotFoundError", "Collection",
    "ConversionError", "DialogLinesError", "Empty", "Error", "InternalError", "KeyNotFoundError",
    "LibraryNotFoundError", "Member", "MemberNotFoundError", "Missing", "Nothing", "Null",
    "Object", "OutOfRangeError", "ProgId", "RaisedError", "Recordset", "Row", "Session",
    "SessionClosedError", "Special", "Status", "TypeMismatchError", "UnavailableError",
    "WrongKindError", "check_account", "connect", "handle_count", "library_path", "version",
]
