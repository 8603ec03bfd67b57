"""The library's special values and its dates.

Dates are serial numbers: days since 1899-12-30, the fraction the time of day. Before that day the
whole part counts back and the fraction still counts forward (-1.25 is 1899-12-29 06:00), as the
library reads them. Times go to the nearest millisecond.
"""
from __future__ import annotations

import datetime
import math
from typing import Union

from ._errors import ConversionError

EPOCH = datetime.datetime(1899, 12, 30)
_MS_PER_DAY = 86_400_000


class Special:
    """One of the library's values that Python has no value for: :data:`Empty`, :data:`Null`,
    :data:`Nothing`, :data:`Missing`. Pass one where ``None`` would mean something else."""

    __slots__ = ("name",)

    def __init__(self, name: str) -> None:
        self.name = name

    def __repr__(self) -> str:
        return f"quillon.{self.name}"

    def __reduce__(self) -> str:
        return self.name


Empty = Special("Empty")
"""An empty value (an uninitialised Variant)."""
Null = Special("Null")
"""The database's NULL."""
Nothing = Special("Nothing")
"""No object (``Set x = Nothing``)."""
Missing = Special("Missing")
"""An omitted optional argument: the member sees its declared default."""


def to_serial(value: Union[datetime.date, datetime.datetime]) -> float:
    """A date or datetime (naive) as the library's serial number."""
    if isinstance(value, datetime.datetime):
        if value.tzinfo is not None:
            raise ConversionError(
                f"{value!r} has a time zone; the library's dates have none (give a naive "
                "datetime, converted to the wall time meant)")
        moment = value
    else:
        moment = datetime.datetime(value.year, value.month, value.day)
    delta = moment - EPOCH
    ms = delta.days * _MS_PER_DAY + delta.seconds * 1000 + round(delta.microseconds / 1000)
    days, rest = divmod(ms, _MS_PER_DAY)
    if days >= 0:
        return days + rest / _MS_PER_DAY
    # Before 1899-12-30 the time of day is counted on from the day, not back.
    return days - rest / _MS_PER_DAY if rest else float(days)


def from_serial(serial: float) -> Union[datetime.date, datetime.datetime]:
    """The serial number as a date when it has no time of day, else as a datetime."""
    if not math.isfinite(serial):
        raise ConversionError(f"the date serial {serial} is no date")
    whole = math.trunc(serial)
    ms = round(abs(serial - whole) * _MS_PER_DAY)
    if ms == _MS_PER_DAY:  # a time of day that rounds up to the next day
        whole, ms = whole + 1, 0
    try:
        moment = EPOCH + datetime.timedelta(days=whole, milliseconds=ms)
    except OverflowError:
        raise ConversionError(
            f"the date serial {serial} lies outside the years Python has (1 to 9999)") from None
    return moment if ms else moment.date()
