# SPDX-License-Identifier: MIT
"""The controls of one thread: the call blocks its Barcodes share, and the controls of
Barcodes gone, which the thread's next Barcodes take instead of creating new ones."""
from __future__ import annotations

import threading
from typing import Any, Optional

from ._library import ffi

IDLE_CONTROLS = 4


class _IdleControls(list):
    """(control, what it holds) pairs: a control as a new one would be but for its
    properties. Creating a control costs more than setting most of its properties. Released
    with the thread."""

    def __del__(self) -> None:
        for control, _ in self:
            control.vtbl.Release(control)


class _Scratch(threading.local):
    """The call blocks of one thread, which all its Barcodes share: a Barcode is used on its
    own thread only, and no call of the library runs another of that thread's while it
    reads its arguments or writes its results."""

    def __init__(self) -> None:
        self.made = ffi.new("void**")
        self.argument = ffi.new("QvVariant*")
        self.result = ffi.new("QvVariant*")
        self.error = ffi.new("QvCallError*")
        self.idle = _IdleControls()


scratch = _Scratch()


def retire(control: Any, thread: int, held: Optional[dict]) -> None:
    """Puts a control no Barcode or Picture uses any more among its thread's idle ones, or
    releases it: held is what its properties are, None when it may not be reused."""
    idle = scratch.idle
    if held is not None and len(idle) < IDLE_CONTROLS and threading.get_ident() == thread:
        idle.append((control, held))
    else:
        control.vtbl.Release(control)
