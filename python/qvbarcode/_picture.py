# SPDX-License-Identifier: MIT
"""Picture: what Barcode.draw() drew, as grey pixels."""
from __future__ import annotations

import os
import threading
import weakref
from typing import TYPE_CHECKING, Any, Optional, Union

from ._controls import retire
from ._errors import failed_call
from ._library import enum_names, ffi, header, lib

if TYPE_CHECKING:
    from PIL.Image import Image


class _Formats:
    """The file formats QvControlSaveFile writes, by their lower-case names."""

    def __init__(self) -> None:
        self.numbers = {name[len("QV_FILE_"):].lower(): getattr(lib, name)
                        for name in enum_names(header, "QV_FILE_PNG", "QV_FILE_EPS")}

    def of(self, path: Union[str, "os.PathLike[str]"], format: Optional[str]) -> int:
        name = (format or os.path.splitext(os.fsdecode(path))[1][1:]).lower()
        if name not in self.numbers:
            raise ValueError(f"no file format {name!r}; one of {', '.join(self.numbers)}")
        return self.numbers[name]


FORMATS = _Formats()


def _copied(handle: int) -> tuple:
    """The size and grey pixels of the picture a surface handle names."""
    size = ffi.new("int32_t[2]")
    status = lib.QvSurfaceGetSize(handle, size, size + 1)
    if status != lib.QV_S_OK:
        raise failed_call("reading the picture's size", status)
    grey = bytearray(size[0] * size[1])
    if grey:
        status = lib.QvSurfaceCopyPixels(handle, ffi.from_buffer(grey), size[0], 8, len(grey))
        if status != lib.QV_S_OK:
            raise failed_call("reading the picture", status)
    return (size[0], size[1]), grey


class Picture:
    """A drawn barcode: ``width`` x ``height`` pixels of 8-bit grey, rows top to bottom.

    Its pixels stay in the Barcode's own picture until they are read, or until that Barcode
    draws again or changes: then the Picture copies them, on the Barcode's thread. When the
    Barcode goes first, the Picture keeps its control until then. Read on another thread, it
    is drawn again there from the properties it was drawn with."""

    __slots__ = ("_size", "_grey", "_handle", "_owner", "_settings", "_failure", "_ref",
                 "_control", "__weakref__")

    @classmethod
    def _drawn(cls, handle: int, barcode: Any) -> "Picture":
        picture = cls.__new__(cls)
        picture._handle, picture._owner = handle, weakref.ref(barcode)
        picture._size = picture._grey = picture._failure = picture._control = None
        picture._settings = barcode._settings
        picture._ref = weakref.ref(picture)
        return picture

    def _adopt(self, control: Any, thread: int, held: Optional[dict]) -> None:
        """Takes the control of a Barcode gone, whose own picture still holds these pixels:
        copying them would cost more than most drawings. Retired as the Barcode would have
        retired it, once they are copied or the Picture goes."""
        self._control = (control, thread, held)

    def __del__(self) -> None:
        if self._control is not None:
            retire(*self._control)

    def _keep(self) -> None:
        """Copies the pixels out of the Barcode's picture, which is about to change, or out
        of the control it adopted. Another thread draws them again from the settings they
        were drawn with: a control is used on its own thread only."""
        handle, self._handle = self._handle, None
        owner = self._owner()
        if owner is not None:
            owner._pending = None
        self._settings = dict(self._settings)
        adopted, self._control = self._control, None
        thread = adopted[1] if adopted is not None else owner._thread if owner else None
        try:
            if threading.get_ident() != thread:
                from ._barcode import Barcode

                again = Barcode(**self._settings).draw()
                self._grey, self._size = again._pixels(), again._size
            else:
                self._size, self._grey = _copied(handle)
        except Exception as failure:  # said when the picture is read
            self._failure = failure
        finally:
            if adopted is not None:
                retire(*adopted)

    def _pixels(self) -> bytearray:
        if self._handle is not None:
            self._keep()
        if self._failure is not None:
            raise self._failure
        return self._grey

    @property
    def width(self) -> int:
        """The picture's width in pixels."""
        self._pixels()
        return self._size[0]

    @property
    def height(self) -> int:
        """The picture's height in pixels."""
        self._pixels()
        return self._size[1]

    def __repr__(self) -> str:
        return f"<qvbarcode.Picture {self.width} x {self.height}>"

    def tobytes(self) -> bytes:
        """The pixels, one grey byte each (0 black, 255 white), rows of ``width`` bytes."""
        return bytes(self._pixels())

    def to_pil(self) -> "Image":
        """The picture as a Pillow image of mode "L" (Pillow must be installed)."""
        from PIL import Image

        return Image.frombytes("L", (self.width, self.height), bytes(self._pixels()))

    def save(self, path: Union[str, "os.PathLike[str]"], format: Optional[str] = None) -> None:
        """Writes the barcode drawn here as PNG, SVG, PDF or EPS, by format or else by the
        file's suffix, through the library's own writers (see Barcode.save)."""
        from ._barcode import Barcode

        owner = self._owner()
        if owner is None or self._handle is None or threading.get_ident() != owner._thread:
            owner = Barcode(**self._settings)  # the settings it was drawn with
        owner.save(path, format)
