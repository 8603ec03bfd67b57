"""The errors the package raises: one class for each status of the C interface, and one for each
run-time error of the library that a Python program is likely to tell apart."""
from __future__ import annotations

import enum
from typing import Dict, Optional, Type


class Status(enum.IntEnum):
    """The statuses of the C interface (``quillon_status``)."""

    OK = 0
    RAISED = 1
    NULL_POINTER = 2
    BAD_HANDLE = 3
    WRONG_KIND = 4
    OUT_OF_RANGE = 5
    SCRIPT_FAILED = 6
    UNAVAILABLE = 7
    INTERNAL = 8


class Error(Exception):
    """Every error of the library and of this package.

    ``status`` is the C interface's status (a :class:`Status`, or ``None`` for a fault found by
    the package itself before the library was called), ``number`` the library's error number
    (0 when it raised none) and ``text`` what went wrong, naming the member or value.
    """

    status: Optional[Status]
    number: int
    text: str

    def __init__(self, text: str, number: int = 0, status: Optional[Status] = None) -> None:
        super().__init__(text)
        self.text = text
        self.number = number
        self.status = status

    def __str__(self) -> str:
        return self.text


class RaisedError(Error):
    """The library raised one of its run-time errors (status ``RAISED``): ``number`` is its number
    (429, 438, 13, ..., or the suite's own negative numbers)."""


class ClassNotFoundError(RaisedError):
    """Error 429: no public class has that ProgID."""


class MemberNotFoundError(RaisedError, AttributeError):
    """Error 438: the object has no such member (also an ``AttributeError``, so ``hasattr``
    works)."""


class ArgumentError(RaisedError, TypeError):
    """Errors 449 and 450: a required argument left out, or too many given."""


class TypeMismatchError(RaisedError, TypeError):
    """Error 13: a value of a type the member cannot take."""


class KeyNotFoundError(RaisedError, KeyError):
    """No item of a collection has the key (error 5), or no field of a recordset the name (error
    3265); also a ``KeyError``."""

    def __str__(self) -> str:
        return self.text


class BadHandleError(Error):
    """Status ``BAD_HANDLE``: a value released already (the session it belonged to is closed)."""


class WrongKindError(Error, TypeError):
    """Status ``WRONG_KIND``: a value read as a kind it is not."""


class OutOfRangeError(Error, IndexError):
    """Status ``OUT_OF_RANGE``: a row, field or item outside the value (also an ``IndexError``)."""


class DialogLinesError(Error):
    """Status ``SCRIPT_FAILED``: dialog lines that do not parse or are no dialog lines (the member
    was not called), or that failed or went unused in the call (``result`` then holds what the
    call returned, ``transcript`` what the dialogs did)."""

    result: object
    transcript: str

    def __init__(self, text: str, number: int = 0, status: Optional[Status] = None) -> None:
        super().__init__(text, number, status)
        self.result = None
        self.transcript = ""


class UnavailableError(Error):
    """Status ``UNAVAILABLE``: the build or the machine cannot do it (dialogs for a person without
    a display, drawn dialogs in a build without them)."""


class InternalError(Error):
    """Status ``INTERNAL`` (or ``NULL_POINTER``): an unexpected failure inside the library."""


class ConversionError(Error, ValueError):
    """A Python value the library cannot hold (an int beyond 2**53, a text with a NUL character, a
    datetime with a time zone, an object of another type), or a library value Python cannot
    (a date outside years 1 to 9999)."""


class SessionClosedError(Error):
    """An object used after the session it came from was closed."""


class LibraryNotFoundError(Error, ImportError):
    """libquillon.so.1 could not be loaded, or is older than this package."""


_BY_STATUS: Dict[int, Type[Error]] = {
    Status.RAISED: RaisedError,
    Status.NULL_POINTER: InternalError,
    Status.BAD_HANDLE: BadHandleError,
    Status.WRONG_KIND: WrongKindError,
    Status.OUT_OF_RANGE: OutOfRangeError,
    Status.SCRIPT_FAILED: DialogLinesError,
    Status.UNAVAILABLE: UnavailableError,
    Status.INTERNAL: InternalError,
}

_BY_NUMBER: Dict[int, Type[RaisedError]] = {
    429: ClassNotFoundError,
    438: MemberNotFoundError,
    449: ArgumentError,
    450: ArgumentError,
    13: TypeMismatchError,
    3265: KeyNotFoundError,
}


def error_for(status: int, number: int, text: str) -> Error:
    """The exception for a status and the last error's number and text."""
    try:
        code: Optional[Status] = Status(status)
    except ValueError:
        code = None
    cls: Type[Error] = _BY_STATUS.get(status, InternalError)
    if status == Status.RAISED:
        cls = _BY_NUMBER.get(number, RaisedError)
    return cls(text, number, code)
