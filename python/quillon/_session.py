"""Sessions: the objects one program makes, a login on an account, the dialogs' host."""
from __future__ import annotations

import ctypes
import datetime
import os
import threading
from types import TracebackType
from typing import NamedTuple, Optional, Type, Union

from ._errors import ConversionError, Error, UnavailableError
from ._library import library
from ._objects import Object, _Handles, wrap_created
from ._values import Missing

DIALOGS = ("auto", "person", "none")

_person_lock = threading.Lock()
_person_sessions = 0


def _no_display_for_a_person() -> bool:
    # Qt's offscreen and minimal platforms draw where nobody sees.
    platform = os.environ.get("QT_QPA_PLATFORM", "")
    if platform.startswith(("offscreen", "minimal")):
        return True
    return not (os.environ.get("DISPLAY") or os.environ.get("WAYLAND_DISPLAY") or platform)


def _person_dialogs(required: bool) -> bool:
    """Draws the dialogs for the person at the screen while a session wants it."""
    global _person_sessions
    lib = library()
    with _person_lock:
        if _person_sessions == 0:
            if not required and _no_display_for_a_person():
                return False
            try:
                lib.check(lib.dialogs_person)
            except UnavailableError:
                if required:
                    raise
                return False
        _person_sessions += 1
        return True


def _person_done() -> None:
    global _person_sessions
    lib = library()
    with _person_lock:
        _person_sessions -= 1
        if _person_sessions == 0:
            try:
                lib.check(lib.dialogs_finish)
            except Error:
                pass


class ProgId:
    """A ProgID reached through attributes: ``session.RefSelect`` is "Quillon.RefSelect",
    ``session.Suite.StockQueries`` "Quillon.Suite.StockQueries". Call it to create the
    object."""

    __slots__ = ("_session", "_prog_id")

    def __init__(self, session: "Session", prog_id: str) -> None:
        self._session = session
        self._prog_id = prog_id

    @property
    def prog_id(self) -> str:
        """The ProgID this names."""
        return self._prog_id

    def __getattr__(self, name: str) -> "ProgId":
        if name.startswith("_"):
            raise AttributeError(name)
        return ProgId(self._session, f"{self._prog_id}.{name}")

    def __call__(self) -> Object:
        return self._session.create(self._prog_id)

    def __repr__(self) -> str:
        return f"<quillon.ProgId {self._prog_id}>"


class Session:
    """What one program does with the library: the objects it creates and is handed (released
    all together when the session closes), the login object of :func:`connect`, and the
    dialogs.

    ``dialogs`` says who answers the dialogs of calls made without ``dialog_lines``: "person"
    draws them for the person at the screen (:class:`UnavailableError` without a display),
    "none" closes every form at once and gives every question its default answer, "auto" (the
    default) is "person" when there is a display and "none" otherwise. The person's dialogs are
    the process's: they stay while any session wants them, and want calls from the main thread.

    Use it as a context manager, or call :meth:`close`.
    """

    login: Optional[Object]
    """The login object (``Quillon.Suite.Login``) of :func:`connect`; None for a bare session."""
    db: Optional[str]
    """The account the session logged in on."""

    def __init__(self, *, dialogs: str = "auto") -> None:
        if dialogs not in DIALOGS:
            raise ValueError(f"dialogs is one of {', '.join(DIALOGS)}, not {dialogs!r}")
        self._handles = _Handles(library())
        self.login = None
        self.db = None
        self._person = False
        if dialogs != "none":
            self._person = _person_dialogs(required=dialogs == "person")

    @property
    def closed(self) -> bool:
        """Whether the session is closed (its objects released)."""
        return self._handles.closed

    @property
    def dialogs(self) -> str:
        """Who answers the dialogs of calls without dialog lines: "person" or "none"."""
        return "person" if self._person else "none"

    @property
    def transcript(self) -> str:
        """What the dialogs of the last call made with ``dialog_lines`` did, one line each."""
        return self._handles.transcript

    @property
    def handles(self) -> int:
        """The handles the session's objects hold now."""
        return len(self._handles.live)

    def create(self, prog_id: str) -> Object:
        """A new object of a public class by its ProgID ("Quillon.RefSelect") or CLSID."""
        if self.closed:
            raise Error("the session is closed")
        return wrap_created(self._handles, prog_id)

    def __getattr__(self, name: str) -> ProgId:
        if name.startswith("_"):
            raise AttributeError(name)
        return ProgId(self, "Quillon." + name)

    def check(self) -> "AccountCheck":
        """Checks the session's account: :func:`check_account` on it."""
        if self.db is None:
            raise Error("the session is logged in on no account")
        return check_account(self.db)

    def close(self) -> None:
        """Releases every object of the session (using one afterwards raises
        :class:`SessionClosedError`) and gives the dialogs back. Closing twice does nothing."""
        if self.closed:
            return
        self.login = None
        self._handles.close()
        if self._person:
            self._person = False
            _person_done()

    def __enter__(self) -> "Session":
        return self

    def __exit__(self, kind: Optional[Type[BaseException]], error: Optional[BaseException],
                 traceback: Optional[TracebackType]) -> None:
        self.close()

    def __del__(self) -> None:
        # A session nobody closed: its handles go back at the next call (see _library).
        handles = getattr(self, "_handles", None)
        if handles is not None and not handles.closed:
            handles.close(later=True)
            if self._person:
                self._person = False
                _person_done()

    def __quillon_value__(self) -> Object:
        if self.login is None:
            raise Error("the session is logged in on no account: it stands for no login object")
        return self.login

    def __repr__(self) -> str:
        state = "closed" if self.closed else f"{self.handles} handles"
        return f"<quillon.Session {self.db or 'without a login'}, {state}>"


def connect(db: Union[str, "os.PathLike[str]"], user: str,
            date: Union[None, str, datetime.date] = None, *, dialogs: str = "auto") -> Session:
    """Logs ``user`` in on the account ``db`` (an account file, or a server location) on the
    business date ``date`` ("YYYY-MM-DD", a ``datetime.date``; today when None) and gives the
    session; its ``login`` is what the library's members take as ``oLogin`` (the session itself
    may be passed in its place). ``dialogs`` as for :class:`Session`."""
    path = os.fspath(db)
    session = Session(dialogs=dialogs)
    try:
        login = session.create("Quillon.Suite.Login")
        login.Open(path, user, Missing if date is None else date)
    except BaseException:
        session.close()
        raise
    session.login = login
    session.db = path
    return session


class AccountCheck(NamedTuple):
    """What :func:`check_account` found."""

    clean: bool
    """Whether nothing was found."""
    report: str
    """What was found (or that all is well), as a person reads it."""


def check_account(db: Union[str, "os.PathLike[str]"]) -> AccountCheck:
    """Checks an account database as ``quillon check-db`` does: the engine's integrity check,
    then the account's own consistency (bin balances, batch records, orphaned lines). Only
    reads."""
    path = os.fspath(db)
    if "\0" in path:
        raise ConversionError("an account name holding a NUL character")
    lib = library()
    clean, report = ctypes.c_int(), ctypes.c_char_p()
    lib.check(lib.check_account, path.encode("utf-8"), ctypes.byref(clean), ctypes.byref(report))
    return AccountCheck(bool(clean.value), (report.value or b"").decode("utf-8", "replace"))


def handle_count() -> int:
    """The handles the library has given out and not had back, in the whole process (a leak
    check)."""
    lib = library()
    lib.release_pending()
    return lib.int_out(lib.value_count, ctype=ctypes.c_size_t)


def version() -> str:
    """The library's version and commit: "1.1 (commit 0123456789ab)"."""
    return (library().dll.quillon_version() or b"").decode("utf-8", "replace")


def library_path() -> str:
    """The file the library was loaded from."""
    return library().path

