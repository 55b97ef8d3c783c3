# SPDX-License-Identifier: MIT
"""Barcodes drawn by the QvBarCode component library: Interleaved 2 of 5, Standard 2 of 5,
Code 39 and EAN-13, as grey pictures, into pictures of yours, or into PNG, SVG, PDF and EPS
files.

    >>> import qvbarcode
    >>> barcode = qvbarcode.Barcode(type="ean13", text="400638133393", check_digit=True)
    >>> picture = barcode.draw()
    >>> (picture.width, picture.height)
    (95, 50)

The library is loaded by its soname, libqvbarcode-component.so.1, or from the file the
environment variable QVBARCODE_COMPONENT names.
"""
from ._barcode import Barcode
from ._errors import BarcodeError, WrongThreadError
from ._picture import Picture
from ._properties import BarcodeType

__all__ = ["Barcode", "BarcodeError", "BarcodeType", "Picture", "WrongThreadError"]
for _public in (Barcode, BarcodeError, Picture, WrongThreadError):
    _public.__module__ = __name__
__version__ = "1.0.0"
