"""Values crossing between Python and the library, and the objects the library hands out.

Python to the library: ``bool`` a Boolean, ``int`` a Long (beyond 32 bits a Double, up to 2**53),
``float`` and ``decimal.Decimal`` a Double, ``str`` a text, ``datetime.date`` and
``datetime.datetime`` a date, a list or tuple an array, a mapping a new Collection of its values
under its keys, an :class:`Object` the same object, a session its login, and the special values
:data:`Empty`, :data:`Null`, :data:`Nothing`, :data:`Missing` themselves. ``None`` leaves an
argument out (Missing), clears an object property (Nothing) and is Empty inside a list.

The library to Python: Booleans ``bool``, Integers and Longs ``int``, Doubles ``float``, dates
``datetime.date`` (or ``datetime.datetime`` when they have a time of day), texts ``str``, arrays
lists, Empty, Null, Nothing and Missing ``None``, and objects :class:`Object`,
:class:`Collection` or :class:`Recordset`.
"""
from __future__ import annotations

import collections
import ctypes
import datetime
import decimal
import threading
from collections.abc import Mapping
from typing import (Any, Dict, Iterator, List, NamedTuple, Optional, Sequence, Set,
                    Tuple, Type, Union, overload)

from ._errors import (ConversionError, DialogLinesError, Error, KeyNotFoundError,
                      MemberNotFoundError, OutOfRangeError, RaisedError, SessionClosedError,
                      Status)
from ._library import Library
from ._values import Empty, Missing, Nothing, Null, Special, from_serial, to_serial

# quillon_kind
_EMPTY, _NULL, _BOOLEAN, _INTEGER, _LONG, _DOUBLE, _DATE, _TEXT = range(8)
_OBJECT, _NOTHING, _MISSING, _ARRAY, _COLLECTION, _RECORDSET = range(8, 14)

_MEMBER_METHOD, _MEMBER_GET, _MEMBER_LET, _MEMBER_SET = 1, 2, 4, 8
_PARAM_OPTIONAL, _PARAM_BY_REF = 1, 2
_DIALOGS_DRAWN = 1

_LONG_MIN, _LONG_MAX = -(2**31), 2**31 - 1
_EXACT_DOUBLE = 2**53
_ROWS_AT_ONCE = 500


class _Handles:
    """The handles one session's Python objects hold: given back when an object goes, and all of
    them when the session closes."""

    def __init__(self, lib: Library) -> None:
        self.lib = lib
        self.live: Set[int] = set()
        self.closed = False
        self.transcript = ""
        self._lock = threading.RLock()

    def adopt(self, handle: int) -> None:
        with self._lock:
            if self.closed:
                self.lib.release(handle)
                raise SessionClosedError("the session is closed")
            self.live.add(handle)

    def drop(self, handle: int) -> None:
        # From a finalizer: no lock (one may be held by this thread), no call into the library.
        if self.closed:
            return
        self.live.discard(handle)
        self.lib.release_later(handle)

    def close(self, later: bool = False) -> None:
        with self._lock:
            self.closed = True
            handles, self.live = list(self.live), set()
        for handle in handles:
            if later:
                self.lib.release_later(handle)
            else:
                self.lib.release(handle)


class _Param(NamedTuple):
    name: str
    optional: bool
    by_ref: bool
    type: str


class _Member(NamedTuple):
    name: str
    kinds: int
    params: Tuple[_Param, ...]
    signature: str
    result: Optional[Type[Tuple[Any, ...]]]


_members: Dict[Tuple[str, str], Optional[_Member]] = {}
_member_names: Dict[str, Tuple[str, ...]] = {}


def _initial(type_name: str) -> Any:
    """What a host's variable of the type holds before anything is put in it: what a required
    by-reference argument left out starts as."""
    kind = type_name.lower()
    if kind == "string":
        return ""
    if kind == "boolean":
        return False
    if kind in ("integer", "long", "evouchtype", "reftype"):
        return 0
    if kind in ("double", "single", "currency"):
        return 0.0
    if kind in ("variant", "date", ""):
        return Empty
    return Nothing


def _result_type(class_name: str, member: str, params: Sequence[_Param]) -> Optional[Type[Any]]:
    outs = [p.name for p in params if p.by_ref]
    if not outs:
        return None
    result = collections.namedtuple(member, ["value"] + outs, rename=True)  # type: ignore[misc]
    result.__doc__ = (f"What {class_name}.{member} returned (value) and left in its by-reference "
                      f"arguments ({', '.join(outs)}); None for one left out.")
    return result


class Object:
    """An object of the library: a public class, a suite component, an ADO object.

    Members are reached as attributes, without regard to case: a method gives a callable
    (arguments in order or by parameter name), a property its value (``obj.Name = value`` assigns
    it). A method with by-reference parameters returns a named tuple: ``value``, then each
    by-reference parameter with what the member left in it.
    """

    __slots__ = ("_owner", "_handle", "_class", "__weakref__")

    _owner: _Handles
    _handle: int
    _class: str

    def __init__(self, owner: _Handles, handle: int, class_name: str) -> None:
        object.__setattr__(self, "_owner", owner)
        object.__setattr__(self, "_handle", handle)
        object.__setattr__(self, "_class", class_name)

    def __del__(self) -> None:
        handle = getattr(self, "_handle", 0)
        if handle:
            object.__setattr__(self, "_handle", 0)
            self._owner.drop(handle)

    def _live(self) -> int:
        if self._owner.closed or not self._handle:
            raise SessionClosedError(
                f"the {self._class} object belonged to a session that is closed")
        return self._handle

    @property
    def class_name(self) -> str:
        """The object's class ("RefSelect", "Collection", "Recordset", ...)."""
        return self._class

    def members(self) -> Tuple[str, ...]:
        """The members the object's class declares, in their order."""
        names = _member_names.get(self._class)
        if names is None:
            lib, handle = self._owner.lib, self._live()
            count = lib.int_out(lib.member_count, handle)
            names = tuple(lib.text_out(lib.member_name, handle, i) for i in range(count))
            _member_names[self._class] = names
        return names

    def signature(self, member: str) -> str:
        """A member's signature as the class declares it ("Function Refer(oLogin As Object,
        ...)")."""
        info = _member_of(self, member)
        if info is None:
            raise MemberNotFoundError(
                f"{self._class}.{member}: the class declares no such member", 438, Status.RAISED)
        return info.signature

    def call(self, member: str, *args: Any, dialog_lines: Optional[str] = None,
             draw_dialogs: bool = False, **kwargs: Any) -> Any:
        """Calls a member by name: ``obj.call("Refer", login, ...)`` is ``obj.Refer(login, ...)``.

        ``dialog_lines`` answers the dialogs this call shows with dialog lines of the host-script
        language (``on FORM`` ... ``end`` blocks and answers); ``draw_dialogs`` draws them as the
        lines work them. Without lines the session's dialogs apply.
        """
        return _invoke(self, member, args, kwargs, dialog_lines, draw_dialogs)

    def get_property(self, name: str) -> Any:
        """Reads a property (also one that ``obj.name`` would call as a method)."""
        if "\0" in name:
            raise ConversionError(f"a property name holding a NUL character: {name!r}")
        lib = self._owner.lib
        handle = lib.handle_out(lib.get_property, self._live(), name.encode("utf-8"))
        return _take(self._owner, handle)

    def set_property(self, name: str, value: Any) -> None:
        """Assigns a property (``Set`` for an object or Nothing; ``None`` is Nothing)."""
        _assign(self, name, value)

    def __getattr__(self, name: str) -> Any:
        if name.startswith("_"):
            raise AttributeError(name)
        info = _member_of(self, name)
        if info is not None:
            if info.kinds & _MEMBER_METHOD or any(not p.optional for p in info.params):
                return Member(self, info)
            if not info.kinds & _MEMBER_GET:
                raise AttributeError(f"{self._class}.{info.name} is assigned, never read")
        return self.get_property(name)

    def __setattr__(self, name: str, value: Any) -> None:
        if name.startswith("_"):
            object.__setattr__(self, name, value)
        else:
            _assign(self, name, value)

    def __dir__(self) -> List[str]:
        own = set(super().__dir__())
        try:
            return sorted(own | set(self.members()))
        except Error:
            return sorted(own)

    def __repr__(self) -> str:
        return f"<quillon.{type(self).__name__} {self._class}>"

    def __quillon_value__(self) -> "Object":
        return self


class Member:
    """A member of an object, ready to be called: ``obj.AutoRefer`` before the parentheses."""

    __slots__ = ("_object", "_info")

    def __init__(self, obj: Object, info: _Member) -> None:
        self._object = obj
        self._info = info

    @property
    def name(self) -> str:
        """The member's name as its class declares it."""
        return self._info.name

    @property
    def signature(self) -> str:
        """The member's signature ("Function AutoRefer(oLogin As Object, ...) As Boolean")."""
        return self._info.signature

    @property
    def parameters(self) -> Tuple[str, ...]:
        """The names of its parameters, in order."""
        return tuple(p.name for p in self._info.params)

    def __call__(self, *args: Any, dialog_lines: Optional[str] = None,
                 draw_dialogs: bool = False, **kwargs: Any) -> Any:
        return _invoke(self._object, self._info.name, args, kwargs, dialog_lines, draw_dialogs)

    def __repr__(self) -> str:
        return f"<quillon member {self._object.class_name}.{self._info.signature}>"


class Row(Mapping[str, Any]):
    """One row of a recordset, read when the rows were: a mapping of field name to value (names
    without regard to case; where two fields share a name, the first), with attribute access too
    (``row.cInvCode``, ``row.批号``)."""

    __slots__ = ("_fields", "_index", "_values")

    def __init__(self, fields: Tuple[str, ...], index: Dict[str, int], values: List[Any]) -> None:
        self._fields = fields
        self._index = index
        self._values = values

    def __getitem__(self, name: str) -> Any:
        try:
            return self._values[self._index[name.lower()]]
        except (KeyError, AttributeError):
            raise KeyError(name) from None

    def __getattr__(self, name: str) -> Any:
        if name.startswith("_"):
            raise AttributeError(name)
        try:
            return self[name]
        except KeyError:
            raise AttributeError(f"the row has no field {name!r}; its fields: "
                                 f"{', '.join(self._fields)}") from None

    def __iter__(self) -> Iterator[str]:
        seen = set()
        for name in self._fields:
            if name.lower() not in seen:
                seen.add(name.lower())
                yield name

    def __len__(self) -> int:
        return len(self._index)

    def as_list(self) -> List[Any]:
        """The values in field order (every field, also one whose name another shares)."""
        return list(self._values)

    def __repr__(self) -> str:
        return "Row(" + ", ".join(f"{k}={self[k]!r}" for k in self) + ")"


class Recordset(Object):
    """A recordset the library handed out: a sequence of :class:`Row` (its present view, filter
    and sort applied), with ``len()``, indexing from 0, ``fields``, ``to_list()``,
    ``to_dicts()`` and ``to_dataframe()``; the ADO members (``Filter``, ``MoveNext``,
    ``RecordCount``, ...) as attributes. Reading rows never moves its current row."""

    __slots__ = ()

    @property
    def fields(self) -> List[str]:
        """The field names, in order."""
        lib, handle = self._owner.lib, self._live()
        count = lib.int_out(lib.recordset_field_count, handle)
        return [lib.text_out(lib.recordset_field_name, handle, i) for i in range(count)]

    def __len__(self) -> int:
        lib = self._owner.lib
        return lib.int_out(lib.recordset_row_count, self._live())

    def _rows(self, first: int, count: int) -> List[List[Any]]:
        lib = self._owner.lib
        handle = lib.handle_out(lib.recordset_rows, self._live(), first + 1, count)
        rows = _take(self._owner, handle)
        return rows if isinstance(rows, list) else []

    def _shape(self) -> Tuple[Tuple[str, ...], Dict[str, int]]:
        fields = tuple(self.fields)
        index: Dict[str, int] = {}
        for i, name in enumerate(fields):
            index.setdefault(name.lower(), i)
        return fields, index

    def __iter__(self) -> Iterator[Row]:
        fields, index = self._shape()
        total, done = len(self), 0
        while done < total:
            chunk = self._rows(done, min(_ROWS_AT_ONCE, total - done))
            for values in chunk:
                yield Row(fields, index, values)
            done += len(chunk)

    @overload
    def __getitem__(self, index: int) -> Row: ...

    @overload
    def __getitem__(self, index: slice) -> List[Row]: ...

    def __getitem__(self, index: Union[int, slice]) -> Union[Row, List[Row]]:
        total = len(self)
        fields, names = self._shape()
        if isinstance(index, slice):
            start, stop, step = index.indices(total)
            if step != 1:
                return [self[i] for i in range(start, stop, step)]
            return [Row(fields, names, v) for v in self._rows(start, max(stop - start, 0))]
        place = index + total if index < 0 else index
        if not 0 <= place < total:
            raise OutOfRangeError(f"row {index} of a recordset of {total} rows (rows count from 0)")
        return Row(fields, names, self._rows(place, 1)[0])

    def to_list(self) -> List[List[Any]]:
        """Every row as a list of its values, in field order."""
        return [row.as_list() for row in self]

    def to_dicts(self) -> List[Dict[str, Any]]:
        """Every row as a dict of field name to value."""
        return [dict(row) for row in self]

    def to_dataframe(self) -> Any:
        """The rows as a pandas DataFrame, its columns the fields (pandas must be installed; the
        package never needs it otherwise)."""
        try:
            import pandas  # type: ignore[import]
        except ImportError:
            raise ImportError("to_dataframe needs pandas (apt-get install python3-pandas); "
                              "to_dicts() and to_list() need nothing") from None
        return pandas.DataFrame(self.to_list(), columns=self.fields)

    def __repr__(self) -> str:
        try:
            return f"<quillon.Recordset of {len(self)} rows: {', '.join(self.fields)}>"
        except Error:
            return "<quillon.Recordset>"


class Collection(Object, Mapping[Union[str, int], Any]):
    """A collection the library handed out, as a mapping of its keys (without regard to case) to
    its items; an item without a key has its place (from 1, as the library counts) for its key.
    ``len()`` counts every item; ``Add``, ``Remove``, ``Count`` and ``Item`` are the library's."""

    __slots__ = ()

    def __len__(self) -> int:
        lib = self._owner.lib
        return lib.int_out(lib.collection_count, self._live())

    def _key(self, place: int) -> Union[str, int]:
        lib = self._owner.lib
        key = lib.text_out(lib.collection_key, self._live(), place)
        return key if key else place

    def __iter__(self) -> Iterator[Union[str, int]]:
        for place in range(1, len(self) + 1):
            yield self._key(place)

    def __getitem__(self, key: Union[str, int]) -> Any:
        lib, handle = self._owner.lib, self._live()
        try:
            if isinstance(key, str):
                item = lib.handle_out(lib.collection_item_by_key, handle, key.encode("utf-8"))
            elif isinstance(key, int) and not isinstance(key, bool):
                item = lib.handle_out(lib.collection_item, handle, key)
            else:
                raise KeyNotFoundError(f"a collection's keys are texts and places, not {key!r}",
                                       0, None)
        except (RaisedError, OutOfRangeError) as e:
            if isinstance(e, RaisedError) and e.number != 5:
                raise
            raise KeyNotFoundError(e.text, e.number, e.status) from None
        return _take(self._owner, item)

    def __eq__(self, other: object) -> bool:
        return self is other

    def __hash__(self) -> int:
        return id(self)

    def __repr__(self) -> str:
        try:
            return f"<quillon.Collection of {len(self)}: {', '.join(map(str, self))}>"
        except Error:
            return "<quillon.Collection>"


_KINDS: Dict[int, Type[Object]] = {_OBJECT: Object, _COLLECTION: Collection,
                                   _RECORDSET: Recordset}


def _kind(lib: Library, handle: int) -> int:
    return lib.int_out(lib.kind_of, handle, ctype=ctypes.c_int)


def _take(owner: _Handles, handle: int) -> Any:
    """The value behind a handle as Python's; the handle is used up (an object keeps it)."""
    lib = owner.lib
    keep = False
    try:
        kind = _kind(lib, handle)
        if kind in _KINDS:
            name = lib.text_out(lib.class_name, handle)
            owner.adopt(handle)
            keep = True
            return _KINDS[kind](owner, handle, name)
        return _scalar(owner, handle, kind)
    finally:
        if not keep:
            lib.release(handle)


def _read(owner: _Handles, handle: int) -> Any:
    """The value behind a handle as Python's; the handle stays the caller's."""
    lib = owner.lib
    kind = _kind(lib, handle)
    if kind in _KINDS:
        return _take(owner, lib.handle_out(lib.copy, handle))
    return _scalar(owner, handle, kind)


def _scalar(owner: _Handles, handle: int, kind: int) -> Any:
    lib = owner.lib
    if kind in (_EMPTY, _NULL, _NOTHING, _MISSING):
        return None
    if kind == _BOOLEAN:
        return bool(lib.int_out(lib.get_bool, handle, ctype=ctypes.c_int))
    if kind in (_INTEGER, _LONG):
        return lib.int_out(lib.get_long, handle)
    if kind == _DOUBLE:
        out = ctypes.c_double()
        lib.check(lib.get_double, handle, ctypes.byref(out))
        return out.value
    if kind == _DATE:
        out = ctypes.c_double()
        lib.check(lib.get_date, handle, ctypes.byref(out))
        return from_serial(out.value)
    if kind == _TEXT:
        return lib.text_out(lib.get_text, handle)
    if kind == _ARRAY:
        count = lib.int_out(lib.array_count, handle)
        return [_take(owner, lib.handle_out(lib.array_item, handle, i)) for i in range(count)]
    raise ConversionError(f"a value of an unknown kind ({kind})")


_SPECIAL_MAKERS = {id(Empty): "empty", id(Null): "null", id(Nothing): "nothing",
                   id(Missing): "missing"}


def _make(owner: _Handles, value: Any, made: List[int], none: Special = Missing) -> int:
    """A new handle for a Python value, appended to ``made`` for the caller to release."""
    lib = owner.lib
    if value is None:
        value = none
    if hasattr(value, "__quillon_value__"):
        value = value.__quillon_value__()
    if isinstance(value, Special):
        handle = lib.handle_out(getattr(lib, _SPECIAL_MAKERS[id(value)]))
    elif isinstance(value, Object):
        handle = lib.handle_out(lib.copy, value._live())
    elif isinstance(value, bool):
        handle = lib.handle_out(lib.bool, 1 if value else 0)
    elif isinstance(value, int):
        if _LONG_MIN <= value <= _LONG_MAX:
            handle = lib.handle_out(lib.long, value)
        elif -_EXACT_DOUBLE <= value <= _EXACT_DOUBLE:
            handle = lib.handle_out(lib.double, float(value))
        else:
            raise ConversionError(f"{value} is beyond what the library's numbers hold exactly "
                                  f"(a Double: up to 2**53); pass a float to round it")
    elif isinstance(value, (float, decimal.Decimal)):
        handle = lib.handle_out(lib.double, float(value))
    elif isinstance(value, str):
        if "\0" in value:
            raise ConversionError(f"{value!r} holds a NUL character, which no library text can")
        handle = lib.handle_out(lib.text, value.encode("utf-8"))
    elif isinstance(value, datetime.date):
        handle = lib.handle_out(lib.date, to_serial(value))
    elif isinstance(value, (list, tuple)):
        handle = _make_array(owner, value)
    elif isinstance(value, Mapping):
        handle = _make_collection(owner, value)
    else:
        raise ConversionError(f"the library holds no {type(value).__name__} ({value!r})")
    made.append(handle)
    return handle


def _make_array(owner: _Handles, items: Sequence[Any]) -> int:
    lib = owner.lib
    made: List[int] = []
    try:
        handles = [_make(owner, item, made, none=Empty) for item in items]
        array = (ctypes.c_uint64 * max(len(handles), 1))(*handles)
        return lib.handle_out(lib.array, len(handles), array)
    finally:
        for handle in made:
            lib.release(handle)


def _make_collection(owner: _Handles, items: Mapping[Any, Any]) -> int:
    lib = owner.lib
    handle = lib.handle_out(lib.create, b"Collection")
    made: List[int] = []
    try:
        for key, item in items.items():
            if not isinstance(key, str):
                raise ConversionError(f"a collection's keys are texts, not {key!r}")
            args = [_make(owner, item, made, none=Empty), _make(owner, key, made)]
            lib.check(lib.call, handle, b"Add", 2, (ctypes.c_uint64 * 2)(*args), None, None)
    except BaseException:
        lib.release(handle)
        raise
    finally:
        for h in made:
            lib.release(h)
    return handle


def _member_of(obj: Object, name: str) -> Optional[_Member]:
    if "\0" in name:
        raise ConversionError(f"a member name holding a NUL character: {name!r}")
    key = (obj._class, name.lower())
    try:
        return _members[key]
    except KeyError:
        pass
    lib, handle = obj._owner.lib, obj._live()
    encoded = name.encode("utf-8")
    kinds, count = ctypes.c_int(), ctypes.c_int32()
    try:
        lib.check(lib.member_info, handle, encoded, ctypes.byref(kinds), ctypes.byref(count))
    except MemberNotFoundError:
        _members[key] = None
        return None
    params = []
    for i in range(count.value):
        flags = ctypes.c_int()
        pname = _param_name(lib, handle, encoded, i, flags)
        ptype = lib.text_out(lib.member_param_type, handle, encoded, i)
        params.append(_Param(pname, bool(flags.value & _PARAM_OPTIONAL),
                             bool(flags.value & _PARAM_BY_REF), ptype))
    signature = lib.text_out(lib.member_text, handle, encoded)
    declared = signature.split("(")[0].split()[-1]
    info = _Member(declared, kinds.value, tuple(params), signature,
                   _result_type(obj._class, declared, params))
    _members[key] = info
    return info


def _param_name(lib: Library, handle: int, member: bytes, index: int, flags: ctypes.c_int) -> str:
    out = ctypes.c_char_p()
    lib.check(lib.member_param, handle, member, index, ctypes.byref(out), ctypes.byref(flags))
    return (out.value or b"").decode("utf-8", "replace")


_UNSET = object()


def _bind(obj: Object, info: Optional[_Member], member: str, args: Sequence[Any],
          kwargs: Dict[str, Any]) -> List[Any]:
    """The arguments in parameter order: keywords put in their places, a required by-reference
    parameter left out given its type's initial value, the other gaps Missing."""
    values = list(args)
    if info is None:
        if kwargs:
            raise TypeError(f"{obj.class_name}.{member} declares no parameters to name; pass its "
                            "arguments in order")
        return [Missing if v is None else v for v in values]
    params = info.params
    places = {p.name.lower(): i for i, p in enumerate(params)}
    for key, value in kwargs.items():
        i = places.get(key.lower())
        if i is None:
            raise TypeError(f"{obj.class_name}.{info.name} has no parameter {key!r}; its "
                            f"parameters: {', '.join(p.name for p in params) or 'none'}")
        if i < len(args):
            raise TypeError(f"{obj.class_name}.{info.name} got {params[i].name} twice (in its "
                            "place and by name)")
        values.extend([_UNSET] * (i + 1 - len(values)))
        values[i] = value
    needed = [i for i, p in enumerate(params) if p.by_ref and not p.optional]
    if needed:
        values.extend([_UNSET] * (max(needed) + 1 - len(values)))
    for i, value in enumerate(values):
        if value is _UNSET or value is None:
            param = params[i] if i < len(params) else None
            values[i] = _initial(param.type) if param and param.by_ref and not param.optional \
                else Missing
    return values


def _invoke(obj: Object, member: str, args: Sequence[Any], kwargs: Dict[str, Any],
            dialog_lines: Optional[str], draw_dialogs: bool) -> Any:
    if draw_dialogs and dialog_lines is None:
        raise TypeError("draw_dialogs draws the forms dialog lines work: give dialog_lines too")
    if dialog_lines is not None and "\0" in dialog_lines:
        raise ConversionError("dialog lines holding a NUL character")
    owner = obj._owner
    lib = owner.lib
    handle = obj._live()
    info = _member_of(obj, member)
    values = _bind(obj, info, member, args, kwargs)
    params = info.params if info else ()
    made: List[int] = []
    try:
        handles = [_make(owner, v, made) for v in values]
        by_ref = [1 if i < len(params) and params[i].by_ref and values[i] is not Missing else 0
                  for i in range(len(values))]
        size = max(len(handles), 1)
        array = (ctypes.c_uint64 * size)(*handles)
        flags = (ctypes.c_int * size)(*by_ref)
        out = ctypes.c_uint64()
        name = (info.name if info else member).encode("utf-8")
        if lib._released:
            lib.release_pending()
        if dialog_lines is None:
            status = lib.call(handle, name, len(handles), array, flags, ctypes.byref(out))
        else:
            status = lib.call_dialogs(handle, name, len(handles), array, flags,
                                      dialog_lines.encode("utf-8"),
                                      _DIALOGS_DRAWN if draw_dialogs else 0, ctypes.byref(out))
        failure = lib.error(status) if status != 0 else None
        if dialog_lines is not None:
            owner.transcript = lib.text_out(lib.call_dialogs_transcript)
        if failure is not None and not (isinstance(failure, DialogLinesError) and out.value):
            if isinstance(failure, DialogLinesError):
                failure.transcript = owner.transcript
            raise failure
        value = _take(owner, out.value)
        if info is not None and info.result is not None:
            outs = [_read(owner, handles[i]) if i < len(by_ref) and by_ref[i] else None
                    for i, p in enumerate(params) if p.by_ref]
            value = info.result(value, *outs)
        if failure is not None:
            assert isinstance(failure, DialogLinesError)
            failure.result = value
            failure.transcript = owner.transcript
            raise failure
        return value
    finally:
        for h in made:
            lib.release(h)


def _assign(obj: Object, name: str, value: Any) -> None:
    if "\0" in name:
        raise ConversionError(f"a property name holding a NUL character: {name!r}")
    lib = obj._owner.lib
    made: List[int] = []
    try:
        handle = _make(obj._owner, value, made, none=Nothing)
        lib.check(lib.set_property, obj._live(), name.encode("utf-8"), handle)
    finally:
        for h in made:
            lib.release(h)


def wrap_created(owner: _Handles, prog_id: str) -> Object:
    """A new object of a public class, by ProgID."""
    if "\0" in prog_id:
        raise ConversionError("a ProgID holding a NUL character")
    lib = owner.lib
    created = _take(owner, lib.handle_out(lib.create, prog_id.encode("utf-8")))
    assert isinstance(created, Object)
    return created

