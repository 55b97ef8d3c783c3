# SPDX-License-Identifier: MIT
"""The component library as cffi sees it: the C header's declaration block, read from the copy
of the header this package ships, and the library loaded by its soname (or the file that
QVBARCODE_COMPONENT names). Everything else in the package takes its names, numbers,
structures and identifiers from here, never from a second copy."""
from __future__ import annotations

import os
import re
from importlib import resources
from typing import Dict, List

import cffi

SONAME = "libqvbarcode-component.so.1"
ENVIRONMENT = "QVBARCODE_COMPONENT"
HEADER = "QvBarCodeComponent.h"

header = resources.files(__package__).joinpath(HEADER).read_text(encoding="utf-8")


def declaration_block(text: str) -> str:
    """The header's text between its markers: plain declarations and integer constants."""
    return text.split("/* QV_DECLARATIONS_BEGIN */")[1].split("/* QV_DECLARATIONS_END */")[0]


def enum_names(text: str, first: str, last: str) -> List[str]:
    """The constants of the block from first to last, in the header's order."""
    block = declaration_block(text)
    span = block[block.index(first):block.index(last) + len(last)]
    return re.findall(r"\b([A-Za-z_]\w*) = ", span + " = ")


ffi = cffi.FFI()
ffi.cdef(declaration_block(header))
_path = os.environ.get(ENVIRONMENT) or SONAME
try:
    lib = ffi.dlopen(_path)
except OSError as failure:
    raise ImportError(f"qvbarcode: the component library {_path} could not be loaded ({failure}); "
                      f"install libqvbarcode-component1, or name the file in ${ENVIRONMENT}") from None


def _guids(text: str) -> Dict[str, object]:
    found = {}
    for name, d1, d2, d3, d4 in re.findall(
            r"static const QvGuid (\w+) = \{\s*(\w+), (\w+), (\w+), \{([^}]*)\}\};", text):
        data4 = [int(byte, 16) for byte in d4.split(",")]
        found[name] = ffi.new("QvGuid*", [int(d1, 16), int(d2, 16), int(d3, 16), data4])
    return found


guid = _guids(header)

# The failure statuses by number, for messages: every QV_..._E_... constant.
STATUS_NAMES = {getattr(lib, name): name for name in dir(lib) if re.match(r"QV_\w*E_", name)}


def status_text(status: int) -> str:
    name = STATUS_NAMES.get(status, "")
    return f"0x{status & 0xFFFFFFFF:08X}" + (f" {name[3:]}" if name else "")


def _new_factory():
    made = ffi.new("void**")
    status = lib.DllGetClassObject(guid["QV_CLSID_QVBARCODE"], guid["QV_IID_CLASSFACTORY"], made)
    if status != lib.QV_S_OK:
        raise ImportError(f"qvbarcode: no class factory for QvBarCode ({status_text(status)})")
    return ffi.cast("QvClassFactory*", made[0])


# One factory for the process: factories may be used from any thread.
factory = _new_factory()
create_instance = factory.vtbl.CreateInstance
