# SPDX-License-Identifier: MIT
"""Barcode: one control of the component library, with its properties as attributes."""
from __future__ import annotations

import os
import threading
from typing import Any, Callable, Optional, Union

from . import _surfaces
from ._errors import BarcodeError, failed_call
from ._library import create_instance, factory, ffi, guid, lib
from ._picture import FORMATS, Picture
from ._properties import DISPATCH_IDS, DOCS, BarcodeType, python_name, type_number

_PUT, _GET, _METHOD = lib.QV_DISPATCH_PROPERTYPUT, lib.QV_DISPATCH_PROPERTYGET, lib.QV_DISPATCH_METHOD
_VT_I4, _VT_BSTR, _VT_BOOL = lib.QV_VT_I4, lib.QV_VT_BSTR, lib.QV_VT_BOOL
_DRAW = lib.QV_DISPID_DRAW
_OWN_SURFACE = -1

Value = Union[str, int, bool]


@ffi.callback("int32_t(void*, const char*)")
def _property_changed(context, name):
    barcode = ffi.from_handle(context)
    try:
        barcode.on_change(python_name(ffi.string(name).decode()))
        return 0
    except BaseException as failure:  # raised again by the setter, not lost in C
        barcode._callback_failure = failure
        return -1


class Barcode:
    """A barcode control: set its properties, then draw() it or draw_onto() a picture.

    Properties take their Python names (``bar_code_type``), the control's (``BarCodeType``)
    or the short ``type``, ``check_digit`` and ``white_background``::

        barcode = qvbarcode.Barcode(type="ean13", text="400638133393", check_digit=True,
                                    show_value=True, white_background=True)
        barcode.draw().save("ean13.png")

    A Barcode belongs to the thread that created it: using it from another raises
    WrongThreadError. Barcodes of separate threads draw in parallel. ``on_change``, if
    given, is called with the Python name of each property a setter changes.
    """

    def __init__(self, type: Union[BarcodeType, str, int, None] = None, text: Optional[str] = None,
                 *, on_change: Optional[Callable[[str], Any]] = None, **properties: Value) -> None:
        made = ffi.new("void**")
        status = create_instance(factory, ffi.NULL, guid["QV_IID_QVBARCODE"], made)
        if status != lib.QV_S_OK:
            raise failed_call("creating a Barcode", status)
        self._control = ffi.cast("QvDispatch*", made[0])
        self._invoke = self._control.vtbl.Invoke
        self._release = self._control.vtbl.Release
        self._argument = ffi.new("QvVariant*")
        self._result = ffi.new("QvVariant*")
        self._error = ffi.new("QvCallError*")
        self._settings = {}
        self._thread = threading.get_ident()
        self._site = None
        self._callback_failure = None
        self._on_change = None
        if on_change is not None:
            self.on_change = on_change
        if type is not None:
            self.bar_code_type = type
        if text is not None:
            self.text = text
        for name, value in properties.items():
            self._put(python_name(name), value)

    def __del__(self) -> None:
        control, self._control = getattr(self, "_control", None), None
        if control is not None:
            self._release(control)

    # -- properties ------------------------------------------------------------------------

    @property
    def on_change(self) -> Optional[Callable[[str], Any]]:
        """Called with a property's Python name each time a setter changes it, or None."""
        return self._on_change

    @on_change.setter
    def on_change(self, callback: Optional[Callable[[str], Any]]) -> None:
        self._on_change = callback
        site = context = ffi.NULL
        if callback is not None and self._site is None:
            self._handle = ffi.new_handle(self)
            self._site = ffi.new("QvControlSite*", {"propertyChanged": _property_changed})
        if callback is not None:
            site, context = self._site, self._handle
        status = lib.QvControlSetSite(self._control, site, context)
        if status != lib.QV_S_OK:
            raise failed_call("on_change", status)

    def __getattr__(self, name: str) -> Any:
        try:
            return getattr(self, python_name(name))
        except KeyError:
            raise AttributeError(f"'Barcode' object has no attribute {name!r}") from None

    def __setattr__(self, name: str, value: Any) -> None:
        if name[0] != "_" and name not in _OWN_ATTRIBUTES:
            try:
                name = python_name(name)
            except KeyError:
                raise AttributeError(f"'Barcode' object has no property {name!r}") from None
        object.__setattr__(self, name, value)

    def __repr__(self) -> str:
        shown = ", ".join(f"{name}={value!r}" for name, value in self._settings.items())
        return f"qvbarcode.Barcode({shown})"

    def _call(self, what: str, member: int, kind: int, count: int) -> None:
        self._callback_failure = None
        status = self._invoke(self._control, member, kind, self._argument, count, self._result,
                              self._error)
        if self._callback_failure is not None:
            failure, self._callback_failure = self._callback_failure, None
            raise failure
        if status != lib.QV_S_OK:
            raise failed_call(what, status, self._error)

    def _put(self, name: str, value: Value) -> None:
        argument = self._argument
        if name == "bar_code_type":
            value = type_number(value)
        if isinstance(value, bool):
            argument.vt, argument.i2 = _VT_BOOL, -1 if value else 0
        elif isinstance(value, int):
            argument.vt, argument.i4 = _VT_I4, value
        elif isinstance(value, str):
            units = value.encode("utf-16-le", "surrogatepass")
            kept = ffi.from_buffer("uint16_t[]", units)
            argument.vt, argument.text, argument.textLength = _VT_BSTR, kept, len(units) // 2
        else:
            raise TypeError(f"{name} takes a str, an int or a bool, not {type(value).__name__}")
        try:
            self._call(name, DISPATCH_IDS[name], _PUT, 1)
            self._settings[name] = value
        finally:
            argument.text = ffi.NULL

    def _get(self, name: str) -> Value:
        self._call(name, DISPATCH_IDS[name], _GET, 0)
        result = self._result
        if result.vt == _VT_BSTR:
            text = ffi.buffer(result.text, 2 * result.textLength)[:].decode("utf-16-le", "surrogatepass")
            lib.QvVariantClear(result)
            return text
        return result.i2 != 0 if result.vt == _VT_BOOL else result.i4 if result.vt == _VT_I4 \
            else result.i2

    # -- drawing ---------------------------------------------------------------------------

    def _draw(self, handle: int) -> int:
        """Draws on the surface handle names (-1: the own surface); its handle comes back."""
        argument = self._argument
        argument.vt, argument.i4 = _VT_I4, handle
        self._call("draw", _DRAW, _METHOD, 1)
        if self._result.i2 != 0:
            raise BarcodeError(self._result.i2, self.error_description)
        return argument.i4

    def draw(self) -> Picture:
        """Draws the barcode on a picture of its own size, its top left corner at 0, 0.

        Raises BarcodeError for a result code, OverflowError or MemoryError for a picture
        the library cannot make."""
        handle = self._draw(_OWN_SURFACE)
        return Picture._of_surface(handle, self, dict(self._settings))

    def draw_onto(self, buffer: Any, x: int = 0, y: int = 0, *, width: Optional[int] = None,
                  height: Optional[int] = None, stride: Optional[int] = None,
                  bits_per_pixel: int = 32) -> None:
        """Draws the barcode into a picture of yours, its top left corner at x, y.

        buffer is a PIL image in mode "RGB" or "RGBX", a numpy array of uint8 shaped
        (height, width, 3 or 4), or any writable buffer (a bytearray) of ``height`` rows of
        ``width`` pixels of ``bits_per_pixel`` 24 or 32, ``stride`` bytes apart (rows of
        whole pixels unless given). The barcode is black and white, so the order of the
        colour bytes does not matter; a fourth byte is left as it is. x and y become the
        Barcode's position_x and position_y."""
        self.position_x, self.position_y = x, y
        with _surfaces.host_surface(buffer, width, height, stride, bits_per_pixel) as handle:
            self._draw(handle)

    def save(self, path: Union[str, "os.PathLike[str]"], format: Optional[str] = None) -> None:
        """Draws the barcode as draw() does and writes it to path through the library's own
        writers: PNG, SVG, PDF or EPS, by format or else by the file's suffix. The file is
        replaced only once the new one is complete. OSError when it cannot be written."""
        file_format = FORMATS.of(path, format)
        code = ffi.new("int16_t*")
        status = lib.QvControlSaveFile(self._control, os.fsencode(path), file_format, code,
                                       self._error)
        if status != lib.QV_S_OK:
            raise failed_call(f"saving {os.fsdecode(path)}", status, self._error)
        if code[0] != 0:
            raise BarcodeError(code[0], self.error_description)


def _property(name: str) -> property:
    def get(self: Barcode) -> Value:
        return self._get(name)

    def put(self: Barcode, value: Value) -> None:
        self._put(name, value)

    return property(get, put, doc=DOCS.get(name, f"The control's {name}."))


_OWN_ATTRIBUTES = {"on_change"}
for _name in DISPATCH_IDS:
    setattr(Barcode, _name, _property(_name))
