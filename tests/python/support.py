"""Dialog lines, reads and server databases the package's tests share."""
from __future__ import annotations

import itertools
import os
import subprocess
from pathlib import Path
from typing import Union

import quillon
from quillon import _objects

SERVER = os.environ.get("QUILLON_TEST_SERVER", "")
SOURCE = Path(os.environ.get("QUILLON_SOURCE", Path(__file__).parents[2]))
_copies = itertools.count(1)

Account = Union[str, Path]


def server_copy() -> str:
    """A new database on the test server holding the demo account: its location."""
    # postgresql:///quillon_template?host=DIR&user=quillon
    base, _, query = SERVER.partition("?")
    server, template = base.rsplit("/", 1)
    host = dict(item.split("=", 1) for item in query.split("&"))["host"]
    name = f"py{os.getpid()}_{next(_copies)}"
    subprocess.run(["bash", str(SOURCE / "scripts" / "test-server.sh"), "copy", host, template,
                    name], check=True)
    return f"{server}/{name}?{query}"


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
