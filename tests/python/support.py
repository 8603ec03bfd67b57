"""Dialog lines and reads the package's tests share."""
from __future__ import annotations

import quillon
from quillon import _objects

# The production-order dialog: every line still to issue, the first order, its first product.
ORDER_LINES = """on frmProduceOrder
  click chkAll
  click cmdFilter
  mark lstParent 1
  mark lstSub 1
  click cmdOk
end
"""


def kind_of(session: quillon.Session, value: object) -> int:
    """The library's kind (quillon_kind) of what a Python value becomes."""
    lib = session._handles.lib
    made: list = []
    try:
        return _objects._kind(lib, _objects._make(session._handles, value, made))
    finally:
        for handle in made:
            lib.release(handle)


def round_trip(session: quillon.Session, value: object) -> object:
    """The value put into a library collection and read back out of it."""
    box = session.create("Collection")
    box.Add(value)
    return box.Item(1)
