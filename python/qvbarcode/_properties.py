# SPDX-License-Identifier: MIT
"""The control's properties and barcode types as the header numbers them, with their Python
names: BAR_CODE_TYPE in the header is ``bar_code_type`` in Python and BarCodeType to the
control, and either name is accepted."""
from __future__ import annotations

import enum
from typing import Dict

from ._library import enum_names, header, lib

# The header lists the control's properties first, then Draw, then the page's methods.
_DISPIDS = enum_names(header, "QV_DISPID_TEXT", "QV_DISPID_DRAW")[:-1]

#: Python name -> dispatch identifier.
DISPATCH_IDS: Dict[str, int] = {
    name[len("QV_DISPID_"):].lower(): getattr(lib, name) for name in _DISPIDS}
#: The control's name -> Python name.
CONTROL_NAMES: Dict[str, str] = {
    "".join(word.capitalize() for word in name.split("_")): name for name in DISPATCH_IDS}
#: Shorter names the constructor and attributes also take.
ALIASES = {"type": "bar_code_type", "check_digit": "calculate_check_digit",
           "white_background": "background_white"}

BarcodeType = enum.IntEnum("BarcodeType", {
    name[len("QvType"):].upper(): getattr(lib, name)
    for name in enum_names(header, "QvTypeInterleaved2of5", "QvTypeEan13")})
BarcodeType.__doc__ = ("The symbologies the control draws, as its BarCodeType numbers them; "
                       "a lower-case name (\"ean13\") is taken as well.")
BarcodeType.__module__ = "qvbarcode"

DOCS = {
    "text": "The text to encode (str). EAN-13 takes 12 digits (13 with the check digit).",
    "bar_code_type": "The symbology: a BarcodeType, its number or its name (\"ean13\").",
    "position_x": "Where draw_onto puts the barcode's left edge, in pixels.",
    "position_y": "Where draw_onto puts the barcode's top edge, in pixels.",
    "bar_height": "The bars' height in pixels (0 with bar_width_source: 50).",
    "bar_width": "The barcode's width in pixels, split into whole-pixel modules.",
    "bar_width_source": "True: one pixel a module, and bar_width becomes the module count.",
    "background_white": "True: a white frame of 5 pixels around the bars.",
    "show_value": "True: the text as a caption under the bars.",
    "error_found": "Read only: True when the last drawing failed.",
    "error_description": "Read only: the last failed drawing's message, in the user's language.",
    "calculate_check_digit": "True: the control appends the modulo-10 check digit.",
}


def python_name(name: str) -> str:
    """The Python name of a property given by either name or an alias; KeyError if none."""
    if name in DISPATCH_IDS:
        return name
    return ALIASES.get(name) or CONTROL_NAMES[name]


def type_number(value) -> int:
    """A barcode type as the control's number: a name such as "ean13" or any integer (the
    control stores any value; drawing refuses one that names no symbology)."""
    if isinstance(value, str):
        try:
            return BarcodeType[value.upper()]
        except KeyError:
            raise ValueError(f"no barcode type {value!r}; one of "
                             f"{', '.join(t.name.lower() for t in BarcodeType)}") from None
    return value
