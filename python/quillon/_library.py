"""Finding libquillon.so.1 and declaring its C functions for ctypes.

The library is, in this order: the file named by ``$QUILLON_LIBRARY`` (the build tree's tests set
it), the one ``make install`` recorded beside this package, one in the lib folder of the prefix
the package lies in, and ``libquillon.so.1`` wherever the dynamic loader finds it.

Handles given back by finalizers are not released there and then: a finalizer may run between a
failing call and the reading of its error, and a release would clear that error. They wait in a
queue that the next call through :meth:`Library.check` empties first.
"""
from __future__ import annotations

import collections
import ctypes
import os
import sysconfig
import threading
from pathlib import Path
from typing import TYPE_CHECKING, Any, Callable, Deque, List, Optional

from ._errors import Error, LibraryNotFoundError, error_for

SONAME = "libquillon.so.1"
ENVIRONMENT = "QUILLON_LIBRARY"

_h = ctypes.c_uint64
_p = ctypes.POINTER
_status = ctypes.c_int
_text = ctypes.c_char_p
_out_text = _p(ctypes.c_char_p)

# name: (result type, argument types)
_SIGNATURES = {
    "quillon_version": (_text, []),
    "quillon_error_status": (ctypes.c_int, []),
    "quillon_error_number": (ctypes.c_int32, []),
    "quillon_error_text": (_text, []),
    "quillon_empty": (_status, [_p(_h)]),
    "quillon_null": (_status, [_p(_h)]),
    "quillon_nothing": (_status, [_p(_h)]),
    "quillon_missing": (_status, [_p(_h)]),
    "quillon_bool": (_status, [ctypes.c_int, _p(_h)]),
    "quillon_long": (_status, [ctypes.c_int32, _p(_h)]),
    "quillon_double": (_status, [ctypes.c_double, _p(_h)]),
    "quillon_date": (_status, [ctypes.c_double, _p(_h)]),
    "quillon_text": (_status, [_text, _p(_h)]),
    "quillon_array": (_status, [ctypes.c_size_t, _p(_h), _p(_h)]),
    "quillon_copy": (_status, [_h, _p(_h)]),
    "quillon_release": (_status, [_h]),
    "quillon_kind_of": (_status, [_h, _p(ctypes.c_int)]),
    "quillon_get_bool": (_status, [_h, _p(ctypes.c_int)]),
    "quillon_get_long": (_status, [_h, _p(ctypes.c_int32)]),
    "quillon_get_double": (_status, [_h, _p(ctypes.c_double)]),
    "quillon_get_date": (_status, [_h, _p(ctypes.c_double)]),
    "quillon_get_text": (_status, [_h, _out_text]),
    "quillon_class_name": (_status, [_h, _out_text]),
    "quillon_array_count": (_status, [_h, _p(ctypes.c_int32)]),
    "quillon_array_item": (_status, [_h, ctypes.c_int32, _p(_h)]),
    "quillon_create": (_status, [_text, _p(_h)]),
    "quillon_call": (_status, [_h, _text, ctypes.c_size_t, _p(_h), _p(ctypes.c_int), _p(_h)]),
    "quillon_get_property": (_status, [_h, _text, _p(_h)]),
    "quillon_set_property": (_status, [_h, _text, _h]),
    "quillon_collection_count": (_status, [_h, _p(ctypes.c_int32)]),
    "quillon_collection_item": (_status, [_h, ctypes.c_int32, _p(_h)]),
    "quillon_collection_item_by_key": (_status, [_h, _text, _p(_h)]),
    "quillon_collection_key": (_status, [_h, ctypes.c_int32, _out_text]),
    "quillon_recordset_field_count": (_status, [_h, _p(ctypes.c_int32)]),
    "quillon_recordset_field_name": (_status, [_h, ctypes.c_int32, _out_text]),
    "quillon_recordset_row_count": (_status, [_h, _p(ctypes.c_int32)]),
    "quillon_recordset_rows": (_status, [_h, ctypes.c_int32, ctypes.c_int32, _p(_h)]),
    "quillon_dialogs_person": (_status, []),
    "quillon_dialogs_finish": (_status, []),
    "quillon_member_count": (_status, [_h, _p(ctypes.c_int32)]),
    "quillon_member_name": (_status, [_h, ctypes.c_int32, _out_text]),
    "quillon_member_info": (_status, [_h, _text, _p(ctypes.c_int), _p(ctypes.c_int32)]),
    "quillon_member_param": (_status, [_h, _text, ctypes.c_int32, _out_text, _p(ctypes.c_int)]),
    "quillon_member_param_type": (_status, [_h, _text, ctypes.c_int32, _out_text]),
    "quillon_member_text": (_status, [_h, _text, _out_text]),
    "quillon_call_dialogs": (_status, [_h, _text, ctypes.c_size_t, _p(_h), _p(ctypes.c_int),
                                       _text, ctypes.c_int, _p(_h)]),
    "quillon_call_dialogs_transcript": (_status, [_out_text]),
    "quillon_check_account": (_status, [_text, _p(ctypes.c_int), _out_text]),
    "quillon_value_count": (_status, [_p(ctypes.c_size_t)]),
}


def _recorded_library() -> Optional[str]:
    try:
        from . import _install  # type: ignore[attr-defined]  # written by `make install`
    except ImportError:
        return None
    recorded = getattr(_install, "LIBRARY", None)
    return recorded if isinstance(recorded, str) else None


def _beside_prefix() -> List[str]:
    """The lib folders of the prefixes this package may lie in (PREFIX/lib/python3/dist-packages,
    PREFIX/lib/python3.11/site-packages, ...)."""
    here = Path(__file__).resolve().parent
    multiarch = sysconfig.get_config_var("MULTIARCH") or ""
    found = []
    for prefix in list(here.parents)[1:5]:
        for lib in ("lib", "lib64", "lib/" + multiarch if multiarch else ""):
            if lib:
                found.append(str(prefix / lib / SONAME))
    return found


def candidates() -> List[str]:
    """The files tried, in order (the last is left to the dynamic loader's search)."""
    named = os.environ.get(ENVIRONMENT)
    if named:
        return [named]
    tried = []
    recorded = _recorded_library()
    if recorded:
        tried.append(recorded)
    tried.extend(_beside_prefix())
    tried.append(SONAME)
    return tried


class Library:
    """libquillon loaded, with every C function the package uses declared."""

    def __init__(self, path: str) -> None:
        self.path = path
        self.dll = ctypes.CDLL(path)
        missing = [name for name in _SIGNATURES if not hasattr(self.dll, name)]
        if missing:
            raise LibraryNotFoundError(
                f"{path} is older than this package: it lacks {', '.join(missing)}")
        for name, (restype, argtypes) in _SIGNATURES.items():
            fn = getattr(self.dll, name)
            fn.restype, fn.argtypes = restype, argtypes
            setattr(self, name[len("quillon_"):], fn)
        self._released: Deque[int] = collections.deque()

    if TYPE_CHECKING:
        # The C functions, set from _SIGNATURES as attributes without their "quillon_" prefix.
        def __getattr__(self, name: str) -> Callable[..., Any]: ...

    def check(self, fn: Callable[..., int], *args: Any) -> None:
        """Calls a function of the C interface; raises its error when the status is not OK."""
        if self._released:
            self.release_pending()
        status = fn(*args)
        if status != 0:
            raise self.error(status)

    def error(self, status: int) -> Error:
        """The calling thread's last error as an exception."""
        number = self.dll.quillon_error_number()
        text = (self.dll.quillon_error_text() or b"").decode("utf-8", "replace")
        return error_for(status, number, text)

    def release_later(self, handle: int) -> None:
        """Gives a handle back at the next call (for finalizers)."""
        self._released.append(handle)

    def release_pending(self) -> None:
        """Gives back the handles the finalizers left."""
        while True:
            try:
                handle = self._released.popleft()
            except IndexError:
                return
            self.dll.quillon_release(handle)

    def release(self, handle: int) -> None:
        """Gives a handle back now (a release that fails is of a handle gone already)."""
        self.dll.quillon_release(handle)

    def text_out(self, fn: Callable[..., int], *args: Any) -> str:
        """Calls a function whose last argument receives a text."""
        out = ctypes.c_char_p()
        self.check(fn, *args, ctypes.byref(out))
        return (out.value or b"").decode("utf-8", "replace")

    def int_out(self, fn: Callable[..., int], *args: Any, ctype: Any = ctypes.c_int32) -> int:
        """Calls a function whose last argument receives a number."""
        out = ctype()
        self.check(fn, *args, ctypes.byref(out))
        return int(out.value)

    def handle_out(self, fn: Callable[..., int], *args: Any) -> int:
        """Calls a function whose last argument receives a handle (the caller releases it)."""
        out = _h()
        self.check(fn, *args, ctypes.byref(out))
        return int(out.value)


_loaded: Optional[Library] = None
_loading = threading.Lock()


def library() -> Library:
    """The library, loaded on first use."""
    global _loaded
    if _loaded is not None:
        return _loaded
    with _loading:
        if _loaded is None:
            problems = []
            for path in candidates():
                if os.sep in path and not os.path.exists(path):
                    continue
                try:
                    _loaded = Library(path)
                    break
                except OSError as e:
                    problems.append(f"{path}: {e}")
            else:
                tried = "; ".join(problems) or ", ".join(candidates())
                raise LibraryNotFoundError(
                    f"cannot load {SONAME} (set {ENVIRONMENT} to its path): {tried}")
    return _loaded
