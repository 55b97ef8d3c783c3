# SPDX-License-Identifier: MIT
"""The host-memory surfaces draw_onto draws on: a PIL image, a numpy array or a buffer."""
from __future__ import annotations

import contextlib
from typing import Any, Iterator, Optional, Tuple

from ._errors import failed_call
from ._library import ffi, lib

# Pixels: the lowest address, width, height, stride, bits per pixel, and what keeps it alive.
Rows = Tuple[Any, int, int, int, int, Any]


def _pil_rows(image: Any) -> Rows:
    if image.mode not in ("RGB", "RGBX"):
        raise ValueError(f"draw_onto takes a PIL image of mode RGB or RGBX, not {image.mode}")
    image.load()
    # Pillow keeps both modes as four bytes a pixel, its rows one block when they fit one.
    rows = ffi.cast("uint8_t**", dict(image.im.unsafe_ptrs)["image"])
    width, height = image.size
    stride = 4 * width
    first = int(ffi.cast("uintptr_t", rows[0]))
    if any(int(ffi.cast("uintptr_t", rows[y])) != first + y * stride for y in range(height)):
        raise ValueError("draw_onto takes a PIL image whose rows lie in one block")
    return rows[0], width, height, stride, 32, image


def _array_rows(array: Any) -> Rows:
    interface = array.__array_interface__
    shape, strides = interface["shape"], interface.get("strides")
    if interface["typestr"] != "|u1" or len(shape) != 3 or shape[2] not in (3, 4):
        raise ValueError("draw_onto takes an array of uint8 shaped (height, width, 3 or 4)")
    if interface["data"][1]:
        raise ValueError("draw_onto takes a writable array")
    row, pixel, byte = strides or (shape[1] * shape[2], shape[2], 1)
    if byte != 1 or pixel != shape[2]:
        raise ValueError("draw_onto takes an array whose pixels lie side by side")
    return (ffi.cast("uint8_t*", interface["data"][0]), shape[1], shape[0], row, 8 * shape[2],
            array)


def _buffer_rows(buffer: Any, width: Optional[int], height: Optional[int],
                 stride: Optional[int], bits_per_pixel: int) -> Rows:
    if width is None or height is None:
        raise TypeError("draw_onto needs width and height for a plain buffer")
    pixels = ffi.from_buffer("uint8_t[]", buffer, require_writable=True)
    stride = stride if stride is not None else width * bits_per_pixel // 8
    if height > 0 and abs(stride) * (height - 1) + width * bits_per_pixel // 8 > len(pixels):
        raise ValueError(f"a buffer of {len(pixels)} bytes holds no {width} x {height} pixels")
    return pixels, width, height, stride, bits_per_pixel, buffer


@contextlib.contextmanager
def host_surface(buffer: Any, width: Optional[int], height: Optional[int], stride: Optional[int],
                 bits_per_pixel: int) -> Iterator[int]:
    """A surface over the buffer's own memory, released when the block ends."""
    if type(buffer).__module__.startswith("PIL."):
        rows = _pil_rows(buffer)
    elif hasattr(buffer, "__array_interface__"):
        rows = _array_rows(buffer)
    else:
        rows = _buffer_rows(buffer, width, height, stride, bits_per_pixel)
    pixels, width, height, stride, bits, _kept = rows
    if stride < 0:  # the header wants the lowest address
        pixels = ffi.cast("uint8_t*", pixels) + stride * (height - 1)
    handle = ffi.new("int32_t*")
    status = lib.QvSurfaceCreate(pixels, width, height, stride, bits, handle)
    if status != lib.QV_S_OK:
        raise failed_call("draw_onto", status)
    try:
        yield handle[0]
    finally:
        lib.QvSurfaceRelease(handle[0])
