# SPDX-License-Identifier: MIT
"""How the library's failures reach Python: a drawing's result code as BarcodeError, a failed
call as the exception Python itself raises for its kind."""
from __future__ import annotations

from ._library import ffi, lib, status_text


class BarcodeError(Exception):
    """A drawing the control refused with a result code (1100 to 1104).

    ``code`` is the result code, ``message`` the control's description of it, in the user's
    language (Spanish when the locale names Spanish, English otherwise)."""

    def __init__(self, code: int, message: str) -> None:
        super().__init__(code, message)
        self.code = code
        self.message = message

    def __str__(self) -> str:
        return f"{self.message} ({self.code})"


class WrongThreadError(RuntimeError):
    """A Barcode used from a thread other than the one that created it."""


# A failed call's Python exception, by its reason or else its status.
_BY_REASON = {
    lib.QV_REASON_OVERFLOW: OverflowError,
    lib.QV_REASON_INVALID_VALUE: ValueError,
    lib.QV_REASON_OUT_OF_MEMORY: MemoryError,
    lib.QV_REASON_PLATFORM_FAILURE: OSError,
    lib.QV_REASON_WRONG_THREAD: WrongThreadError,
}
_BY_STATUS = {
    lib.QV_DISP_E_OVERFLOW: OverflowError,
    lib.QV_E_OUTOFMEMORY: MemoryError,
    lib.QV_E_INVALIDARG: ValueError,
    lib.QV_RPC_E_WRONG_THREAD: WrongThreadError,
    lib.QV_DISP_E_MEMBERNOTFOUND: AttributeError,
}


def failed_call(what: str, status: int, error=None) -> Exception:
    """The exception for a call that returned a failure status, with the library's reason."""
    reason = error.reason if error is not None else lib.QV_REASON_NONE
    kind = _BY_REASON.get(reason) or _BY_STATUS.get(status, RuntimeError)
    detail = ffi.string(error.description).decode("utf-8", "replace") if error is not None else ""
    if kind is WrongThreadError:
        detail = "a Barcode belongs to the thread that created it"
    return kind(f"{what}: {detail or 'failed'} ({status_text(status)})")
