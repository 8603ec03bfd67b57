#!/usr/bin/env python3
"""A host voucher program in Python, with nothing but the standard library's ctypes: logs in on
the demo account, pulls production-order lines through the production-order reference dialog and
current stock of one item through the stock selection dialog (both answered by dialog lines), and
prints what came back.

    python3 python_host.py [--library PATH] DB

DB is an account made by `quillon init-db --db DB --scale 1`. The library is PATH, else
$QUILLON_LIBRARY, else libquillon.so.1 wherever the dynamic loader finds it.
"""
import ctypes
import os
import sys

OK, RAISED = 0, 1
KINDS = {0: "Empty", 1: "Null", 2: "Boolean", 3: "Integer", 4: "Long", 5: "Double", 6: "Date",
         7: "Text", 8: "Object", 9: "Nothing", 10: "Missing", 11: "Array", 12: "Collection",
         13: "Recordset"}

ORDER_LINES = """on frmProduceOrder
  click chkAll
  click cmdFilter
  mark lstParent 1
  mark lstSub 1
  click cmdOk
end
"""

STOCK_LINES = """on frmRefSelect
  mark spgList 1
  mark spgList 2
  toolbar ok
end
"""


class QuillonError(Exception):
    def __init__(self, status, number, text):
        super().__init__(text)
        self.status, self.number, self.text = status, number, text


class Library:
    """The C interface, with every handle wrapped in a Value that releases it."""

    def __init__(self, path):
        lib = ctypes.CDLL(path)
        h, p = ctypes.c_uint64, ctypes.POINTER
        sig = {
            "quillon_version": (ctypes.c_char_p, []),
            "quillon_error_status": (ctypes.c_int, []),
            "quillon_error_number": (ctypes.c_int32, []),
            "quillon_error_text": (ctypes.c_char_p, []),
            "quillon_empty": (ctypes.c_int, [p(h)]),
            "quillon_missing": (ctypes.c_int, [p(h)]),
            "quillon_bool": (ctypes.c_int, [ctypes.c_int, p(h)]),
            "quillon_long": (ctypes.c_int, [ctypes.c_int32, p(h)]),
            "quillon_double": (ctypes.c_int, [ctypes.c_double, p(h)]),
            "quillon_date_text": (ctypes.c_int, [ctypes.c_char_p, p(h)]),
            "quillon_text": (ctypes.c_int, [ctypes.c_char_p, p(h)]),
            "quillon_release": (ctypes.c_int, [h]),
            "quillon_kind_of": (ctypes.c_int, [h, p(ctypes.c_int)]),
            "quillon_get_bool": (ctypes.c_int, [h, p(ctypes.c_int)]),
            "quillon_get_text": (ctypes.c_int, [h, p(ctypes.c_char_p)]),
            "quillon_display_text": (ctypes.c_int, [h, p(ctypes.c_char_p)]),
            "quillon_create": (ctypes.c_int, [ctypes.c_char_p, p(h)]),
            "quillon_call": (ctypes.c_int, [h, ctypes.c_char_p, ctypes.c_size_t, p(h),
                                            p(ctypes.c_int), p(h)]),
            "quillon_collection_item_by_key": (ctypes.c_int, [h, ctypes.c_char_p, p(h)]),
            "quillon_recordset_field_count": (ctypes.c_int, [h, p(ctypes.c_int32)]),
            "quillon_recordset_field_name": (ctypes.c_int, [h, ctypes.c_int32,
                                                            p(ctypes.c_char_p)]),
            "quillon_recordset_row_count": (ctypes.c_int, [h, p(ctypes.c_int32)]),
            "quillon_recordset_value": (ctypes.c_int, [h, ctypes.c_int32, ctypes.c_int32, p(h)]),
            "quillon_dialogs_script": (ctypes.c_int, [ctypes.c_char_p, ctypes.c_int]),
            "quillon_dialogs_finish": (ctypes.c_int, []),
        }
        for name, (restype, argtypes) in sig.items():
            fn = getattr(lib, name)
            fn.restype, fn.argtypes = restype, argtypes
        self.lib = lib

    def check(self, status):
        if status != OK:
            text = self.lib.quillon_error_text().decode("utf-8")
            raise QuillonError(status, self.lib.quillon_error_number(), text)

    def make(self, fn, *args):
        out = ctypes.c_uint64()
        self.check(fn(*args, ctypes.byref(out)))
        return Value(self, out.value)

    def value(self, x):
        """A Python value as a library value; Values pass through."""
        if isinstance(x, Value):
            return x
        if x is None:
            return self.make(self.lib.quillon_missing)
        if isinstance(x, bool):
            return self.make(self.lib.quillon_bool, int(x))
        if isinstance(x, int):
            return self.make(self.lib.quillon_long, x)
        if isinstance(x, float):
            return self.make(self.lib.quillon_double, x)
        return self.make(self.lib.quillon_text, str(x).encode("utf-8"))

    def empty(self):
        return self.make(self.lib.quillon_empty)

    def date(self, text):
        return self.make(self.lib.quillon_date_text, text.encode())

    def create(self, prog_id):
        return self.make(self.lib.quillon_create, prog_id.encode())

    def dialogs(self, lines):
        self.check(self.lib.quillon_dialogs_script(lines.encode("utf-8"), 0))

    def finish_dialogs(self):
        self.check(self.lib.quillon_dialogs_finish())


class Value:
    def __init__(self, lib, handle):
        self.q, self.handle = lib, handle

    def __del__(self):
        if self.handle:
            self.q.lib.quillon_release(self.handle)
            self.handle = 0

    def _text(self, fn):
        out = ctypes.c_char_p()
        self.q.check(fn(self.handle, ctypes.byref(out)))
        return out.value.decode("utf-8")

    @property
    def kind(self):
        out = ctypes.c_int()
        self.q.check(self.q.lib.quillon_kind_of(self.handle, ctypes.byref(out)))
        return KINDS[out.value]

    def text(self):
        return self._text(self.q.lib.quillon_get_text)

    def display(self):
        return self._text(self.q.lib.quillon_display_text)

    def boolean(self):
        out = ctypes.c_int()
        self.q.check(self.q.lib.quillon_get_bool(self.handle, ctypes.byref(out)))
        return bool(out.value)

    def call(self, member, *args, by_ref=()):
        """obj.member(args...); the positions in by_ref are passed by reference."""
        values = [self.q.value(a) for a in args]
        handles = (ctypes.c_uint64 * max(len(values), 1))(*[v.handle for v in values])
        flags = (ctypes.c_int * max(len(values), 1))(*[int(i in by_ref) for i in range(len(values))])
        out = ctypes.c_uint64()
        self.q.check(self.q.lib.quillon_call(self.handle, member.encode(), len(values), handles,
                                             flags, ctypes.byref(out)))
        return Value(self.q, out.value)

    def item(self, key):
        return self.q.make(self.q.lib.quillon_collection_item_by_key, self.handle, key.encode())

    def rows(self):
        """A recordset's rows as a list of {field: display text}."""
        lib, n, count = self.q.lib, ctypes.c_int32(), ctypes.c_int32()
        self.q.check(lib.quillon_recordset_field_count(self.handle, ctypes.byref(n)))
        self.q.check(lib.quillon_recordset_row_count(self.handle, ctypes.byref(count)))
        names = []
        for f in range(n.value):
            name = ctypes.c_char_p()
            self.q.check(lib.quillon_recordset_field_name(self.handle, f, ctypes.byref(name)))
            names.append(name.value.decode("utf-8"))
        rows = []
        for r in range(1, count.value + 1):
            rows.append({name: self.q.make(lib.quillon_recordset_value, self.handle, r, f).display()
                         for f, name in enumerate(names)})
        return rows


def print_rows(title, rs):
    rows = rs.rows()
    print(f"{title}: {len(rows)} rows")
    for number, row in enumerate(rows, 1):
        print(f"  row {number}: " + " ".join(f"{k}={v}" for k, v in row.items()))


def main(argv):
    args = argv[1:]
    path = os.environ.get("QUILLON_LIBRARY", "libquillon.so.1")
    if len(args) >= 2 and args[0] == "--library":
        path, args = args[1], args[2:]
    if len(args) != 1:
        print("usage: python_host.py [--library PATH] DB", file=sys.stderr)
        return 2
    q = Library(path)
    print("library", q.lib.quillon_version().decode())
    try:
        login = q.create("Quillon.Suite.Login")
        login.call("Open", args[0], "demo", q.date("2026-12-05"))

        q.dialogs(ORDER_LINES)
        order = q.create("Quillon.ProduceOrder")
        coll, err = q.empty(), q.value("")
        ok = order.call("load", "", login, coll, err, None, 11, by_ref=(2, 3))
        message = err.text()
        print("load returned", ok.boolean(), *([": " + message] if message else []))
        if not ok.boolean():
            return 1
        for key in ("Parent", "Sub", "Child"):
            print_rows(key, coll.item(key))
        q.finish_dialogs()

        sql = q.create("Quillon.Suite.StockQueries").call("CurrentStockSql", "01", "0101003")
        q.dialogs(STOCK_LINES)
        select = q.create("Quillon.RefSelect")
        select.call("Refer", login, "01", "0101003", None, 2000.0, 0.0, 0.0, 0, sql, False, True, "")
        print_rows("Stock", select.call("ReturnData"))
        q.finish_dialogs()
    except QuillonError as e:
        print(f"python_host: {e.text} (status {e.status}, error {e.number})", file=sys.stderr)
        return 1
    print("done")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
