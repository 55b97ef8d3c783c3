# SPDX-License-Identifier: MIT
"""Picture: what Barcode.draw() drew, as grey pixels."""
from __future__ import annotations

import os
import threading
import weakref
from typing import TYPE_CHECKING, Any, Dict, Optional, Union

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


class Picture:
    """A drawn barcode: ``width`` x ``height`` pixels of 8-bit grey, rows top to bottom."""

    __slots__ = ("width", "height", "_grey", "_barcode", "_settings", "_thread")

    def __init__(self, width: int, height: int, grey: bytes) -> None:
        self.width, self.height, self._grey = width, height, grey
        self._barcode: Any = lambda: None
        self._settings: Dict[str, Any] = {}
        self._thread = 0

    @classmethod
    def _of_surface(cls, handle: int, barcode: Any, settings: Dict[str, Any]) -> "Picture":
        size = ffi.new("int32_t[2]")
        status = lib.QvSurfaceGetSize(handle, size, size + 1)
        if status != lib.QV_S_OK:
            raise failed_call("reading the picture's size", status)
        width, height = size[0], size[1]
        grey = bytearray(width * height)
        if grey:
            status = lib.QvSurfaceCopyPixels(handle, ffi.from_buffer(grey), width, 8, len(grey))
            if status != lib.QV_S_OK:
                raise failed_call("reading the picture", status)
        picture = cls(width, height, grey)
        picture._barcode, picture._settings = weakref.ref(barcode), settings
        picture._thread = barcode._thread
        return picture

    def __repr__(self) -> str:
        return f"<qvbarcode.Picture {self.width} x {self.height}>"

    def tobytes(self) -> bytes:
        """The pixels, one grey byte each (0 black, 255 white), rows of ``width`` bytes."""
        return bytes(self._grey)

    def to_pil(self) -> "Image":
        """The picture as a Pillow image of mode "L" (Pillow must be installed)."""
        from PIL import Image

        return Image.frombytes("L", (self.width, self.height), bytes(self._grey))

    def save(self, path: Union[str, "os.PathLike[str]"], format: Optional[str] = None) -> None:
        """Writes the barcode drawn here as PNG, SVG, PDF or EPS, by format or else by the
        file's suffix, through the library's own writers (see Barcode.save)."""
        from ._barcode import Barcode

        barcode = self._barcode()
        if (barcode is None or barcode._settings != self._settings or
                threading.get_ident() != self._thread):
            barcode = Barcode(**self._settings)  # the settings it was drawn with
        barcode.save(path, format)
