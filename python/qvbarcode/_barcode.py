# SPDX-License-Identifier: MIT
"""Barcode: one control of the component library, with its properties as attributes."""
from __future__ import annotations

import os
import threading
from typing import Any, Callable, Optional, Union

from . import _surfaces
from ._controls import retire
from ._controls import scratch as _scratch
from ._errors import BarcodeError, failed_call
from ._library import create_instance, factory, ffi, guid, lib
from ._picture import FORMATS, Picture
from ._properties import DISPATCH_IDS, DOCS, BarcodeType, python_name, type_number

_PUT, _GET, _METHOD = lib.QV_DISPATCH_PROPERTYPUT, lib.QV_DISPATCH_PROPERTYGET, lib.QV_DISPATCH_METHOD
_VT_I4, _VT_BSTR, _VT_BOOL = lib.QV_VT_I4, lib.QV_VT_BSTR, lib.QV_VT_BOOL
_OK, _DRAW, _OWN_SURFACE = lib.QV_S_OK, lib.QV_DISPID_DRAW, -1
_CONTROL_ID = guid["QV_IID_QVBARCODE"]
_NO_TEXT = ffi.NULL

Value = Union[str, int, bool]

_UNKNOWN = object()
# What puts a property back as a new control has it.
_FRESH = {name: "" if name == "text" else 0 for name in DISPATCH_IDS}


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
                                    show_value=True, white_background=True, bar_width=300,
                                    bar_height=80)
        barcode.draw().save("ean13.png")

    A Barcode belongs to the thread that created it: using it from another raises
    WrongThreadError. Barcodes of separate threads draw in parallel. ``on_change``, if
    given, is called with the Python name of each property a setter changes.
    """

    def __init__(self, type: Union[BarcodeType, str, int, None] = None, text: Optional[str] = None,
                 *, on_change: Optional[Callable[[str], Any]] = None, **properties: Value) -> None:
        scratch = _scratch
        if scratch.idle and on_change is None:  # a reused control tells nobody
            control, held = scratch.idle.pop()
        else:
            status = create_instance(factory, ffi.NULL, _CONTROL_ID, scratch.made)
            if status != _OK:
                raise failed_call("creating a Barcode", status)
            control, held = ffi.cast("QvDispatch*", scratch.made[0]), {}
        # What a reused control holds that a new one would not: a property is put back as
        # new unless this Barcode puts the same value of the same type.
        self.__dict__.update(
            _control=control, _invoke=control.vtbl.Invoke, _settings={},
            _held=held, _thread=threading.get_ident(), _site=None, _on_change=None,
            _pending=None,  # the last picture, while it is still Pic1's
            _clean=True,  # no result code left in ErrorFound: the control may be reused
            _callback_failure=None)
        if on_change is not None:
            self.on_change = on_change
        if type is not None:
            self._put("bar_code_type", type)
        if text is not None:
            self._put("text", text)
        for name, value in properties.items():
            try:
                name = python_name(name)
            except KeyError:
                raise TypeError(f"Barcode() got an unexpected keyword argument {name!r}") from None
            self._put(name, value)
        if held:  # what the control's last Barcode set and this one did not
            for name in list(held):
                del held[name]
                self._put(name, _FRESH[name])
                del self._settings[name]

    def __del__(self) -> None:
        control = self.__dict__.get("_control")
        if control is None:
            return
        self.__dict__["_control"] = None
        held = self._held_after() if self._clean and self._site is None else None
        pending = self._pending() if self._pending is not None else None
        if pending is not None and pending._handle is not None:
            pending._adopt(control, self._thread, held)  # its pixels stay where they are
        else:
            retire(control, self._thread, held)

    # -- properties ------------------------------------------------------------------------

    @property
    def on_change(self) -> Optional[Callable[[str], Any]]:
        """Called with a property's Python name each time a setter changes it, or None."""
        return self._on_change

    @on_change.setter
    def on_change(self, callback: Optional[Callable[[str], Any]]) -> None:
        site = context = ffi.NULL
        if callback is not None:
            if self._site is None:
                self._handle = ffi.new_handle(self)
                self._site = ffi.new("QvControlSite*", {"propertyChanged": _property_changed})
            site, context = self._site, self._handle
        status = lib.QvControlSetSite(self._control, site, context)
        if status != _OK:
            raise failed_call("on_change", status)
        self._on_change = callback

    def __getattr__(self, name: str) -> Any:
        try:
            return getattr(self, python_name(name))
        except KeyError:
            raise AttributeError(f"'Barcode' object has no attribute {name!r}") from None

    def __setattr__(self, name: str, value: Any) -> None:
        if name[0] != "_" and name != "on_change":
            try:
                name = python_name(name)
            except KeyError:
                raise AttributeError(f"'Barcode' object has no property {name!r}") from None
        object.__setattr__(self, name, value)

    def __repr__(self) -> str:
        shown = ", ".join(f"{name}={value!r}" for name, value in self._settings.items())
        return f"qvbarcode.Barcode({shown})"

    def _held_after(self) -> dict:
        """What the control holds once this Barcode goes: what it set, but for what drawing
        changes without telling, which counts as unknown."""
        held = {**self._held, **self._settings}  # _held: left by a constructor that failed
        for name in ("position_x", "position_y"):  # 0 after draw()
            if name in held:
                held[name] = _UNKNOWN
        if held.get("bar_width_source"):  # a drawing stored the module count
            held["bar_width"] = _UNKNOWN
        return held

    def _failed(self, what: str, status: int) -> Exception:
        failure, self._callback_failure = self._callback_failure, None
        return failure or failed_call(what, status, _scratch.error)

    def _put(self, name: str, value: Value) -> None:
        if self._pending is not None:
            self._keep_pending()
        scratch = _scratch  # this thread's: one using a Barcode of another writes only its own
        argument = scratch.argument
        if name == "bar_code_type":
            value = type_number(value)
        held = self._held
        if held and name in held:  # a reused control: the same value of the same type stays
            was = held.pop(name)
            if type(was) is type(value) and was == value:
                self._settings[name] = value
                return
        kept = None
        if value is True or value is False:
            argument.vt, argument.i2 = _VT_BOOL, -1 if value else 0
        elif isinstance(value, int):
            argument.vt, argument.i4 = _VT_I4, value
        elif isinstance(value, str):
            units = value.encode("utf-16-le", "surrogatepass")
            kept = ffi.from_buffer("uint16_t[]", units)
            argument.vt, argument.text, argument.textLength = _VT_BSTR, kept, len(units) // 2
        else:
            raise TypeError(f"{name} takes a str, an int or a bool, not {type(value).__name__}")
        status = self._invoke(self._control, DISPATCH_IDS[name], _PUT, argument, 1, scratch.result,
                              scratch.error)
        if kept is not None:
            argument.text = _NO_TEXT
        if status != _OK or self._callback_failure is not None:
            if self._callback_failure is not None:
                self._settings[name] = value  # the control stored it before telling
            raise self._failed(name, status)
        self._settings[name] = value

    def _get(self, name: str) -> Value:
        scratch = _scratch
        result = scratch.result
        status = self._invoke(self._control, DISPATCH_IDS[name], _GET, ffi.NULL, 0, result,
                              scratch.error)
        if status != _OK:
            raise self._failed(name, status)
        if result.vt == _VT_BSTR:
            text = ffi.buffer(result.text, 2 * result.textLength)[:]
            lib.QvVariantClear(result)
            return text.decode("utf-16-le", "surrogatepass")
        if result.vt == _VT_BOOL:
            return result.i2 != 0
        return result.i4 if result.vt == _VT_I4 else result.i2

    # -- drawing ---------------------------------------------------------------------------

    def _keep_pending(self) -> None:
        """The last picture takes its pixels before Pic1 changes or goes: on the Barcode's
        thread only, as another thread's call changes nothing."""
        if threading.get_ident() != self._thread:
            return
        pending = self._pending() if self._pending is not None else None
        self._pending = None
        if pending is not None:
            pending._keep()

    def _draw(self, handle: int) -> int:
        """Draws on the surface handle names (-1: the own surface); its handle comes back."""
        if self._pending is not None:
            self._keep_pending()
        scratch = _scratch
        argument, result = scratch.argument, scratch.result
        argument.vt, argument.i4 = _VT_I4, handle
        status = self._invoke(self._control, _DRAW, _METHOD, argument, 1, result, scratch.error)
        if status != _OK:
            raise self._failed("draw", status)
        if result.i2 != 0:
            self._clean = False
            raise BarcodeError(result.i2, self.error_description)
        self._clean = True
        return argument.i4

    def draw(self) -> Picture:
        """Draws the barcode on a picture of its own size, its top left corner at 0, 0.

        Raises BarcodeError for a result code, OverflowError or MemoryError for a picture
        the library cannot make."""
        picture = Picture._drawn(self._draw(_OWN_SURFACE), self)
        self._pending = picture._ref
        return picture

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
        if self._pending is not None:
            self._keep_pending()
        code = ffi.new("int16_t*")
        status = lib.QvControlSaveFile(self._control, os.fsencode(path), file_format, code,
                                       _scratch.error)
        if status != _OK:
            raise self._failed(f"saving {os.fsdecode(path)}", status)
        if code[0] != 0:
            self._clean = False
            raise BarcodeError(code[0], self.error_description)
        self._clean = True


def _property(name: str) -> property:
    def get(self: Barcode) -> Value:
        return self._get(name)

    def put(self: Barcode, value: Value) -> None:
        self._put(name, value)

    return property(get, put, doc=DOCS.get(name, f"The control's {name}."))


for _name in DISPATCH_IDS:
    setattr(Barcode, _name, _property(_name))
