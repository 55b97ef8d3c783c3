#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A host of the QvBarCode component in Python, through the qvbarcode package: what
examples/host.c does with the C interface. It sets an EAN-13, printing each property change
it hears, draws it into a page of this program's own memory, writes that page as a greyscale
PGM picture, then checks that the control's own picture is the same barcode.

    /usr/bin/python3 examples/python/host.py barcode.pgm
"""
import sys

import qvbarcode

WIDTH, HEIGHT, BYTES_PER_PIXEL = 320, 120, 4


def main() -> int:
    if len(sys.argv) != 2:
        print("usage: host.py OUT.pgm", file=sys.stderr)
        return 2
    barcode = qvbarcode.Barcode(on_change=lambda name: print("PropertyChanged", name, flush=True))
    barcode.text = "400638133393"
    barcode.bar_code_type = qvbarcode.BarcodeType.EAN13
    barcode.calculate_check_digit = True
    barcode.bar_width = 300
    barcode.bar_height = 100
    barcode.background_white = True
    barcode.show_value = True

    # White paper, 32 bits a pixel; draw_onto sets position_x and position_y.
    page = bytearray(b"\xff" * (WIDTH * HEIGHT * BYTES_PER_PIXEL))
    barcode.draw_onto(page, 10, 10, width=WIDTH, height=HEIGHT)
    grey = page[::BYTES_PER_PIXEL]  # black and white: every colour byte is the grey
    with open(sys.argv[1], "wb") as out:
        out.write(b"P5\n%d %d\n255\n" % (WIDTH, HEIGHT) + grey)

    # The control's own picture: the same barcode at 0, 0.
    picture = barcode.draw()
    kept = picture.tobytes()
    same = all(grey[(y + 10) * WIDTH + 10:(y + 10) * WIDTH + 10 + picture.width] ==
               kept[y * picture.width:(y + 1) * picture.width] for y in range(picture.height))
    print(f"Pic1 is {picture.width} x {picture.height} pixels,",
          "the same barcode" if same else "a different picture")
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
