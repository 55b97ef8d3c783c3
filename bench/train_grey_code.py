#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Remakes the symbol counts of src/imagefile/GreyBarcodeCode.cpp: draws captioned barcodes of
several types and sizes with qvbarcode, reads which deflate symbols their PNG image data
uses (the fastest level's matching does not depend on the code it writes with) and prints
the table, a sixteenth of each count plus one.

    bench/train_grey_code.py build/bin/qvbarcode
"""
import random
import string
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

LENGTH_EXTRA = [0] * 8 + [1] * 4 + [2] * 4 + [3] * 4 + [4] * 4 + [5] * 4 + [0]
DISTANCE_EXTRA = [0, 0, 0, 0] + [i // 2 for i in range(2, 28)]
SIZES = ["--width 300 --height 80", "--width 200 --height 100", "--width 600 --height 150",
         "--dpi 300 --module 0.33mm --height 20mm"]


class Bits:
    def __init__(self, data):
        self.data, self.at = data, 0

    def read(self, n):
        value = 0
        for i in range(n):
            value |= (self.data[self.at >> 3] >> (self.at & 7) & 1) << i
            self.at += 1
        return value


def decoder(lengths):
    codes, code, counts = {}, 0, [lengths.count(n) for n in range(16)]
    first = [0] * 16
    for n in range(1, 16):
        code = (code + (counts[n - 1] if n > 1 else 0)) << 1
        first[n] = code
    for symbol, n in enumerate(lengths):
        if n:
            codes[(n, first[n])] = symbol
            first[n] += 1
    return codes


def symbol(bits, codes):
    code = n = 0
    while (n, code) not in codes:
        code, n = code << 1 | bits.read(1), n + 1
    return codes[(n, code)]


def count_symbols(stream, literals, distances):
    bits = Bits(stream[2:])
    while True:
        final, kind = bits.read(1), bits.read(2)
        if kind != 2:
            sys.exit("expected blocks with a code of their own")
        hlit, hdist, hclen = bits.read(5) + 257, bits.read(5) + 1, bits.read(4) + 4
        order = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15]
        lengths_code = [0] * 19
        for i in range(hclen):
            lengths_code[order[i]] = bits.read(3)
        lengths_codes, lengths = decoder(lengths_code), []
        while len(lengths) < hlit + hdist:
            s = symbol(bits, lengths_codes)
            if s < 16:
                lengths.append(s)
            elif s == 16:
                lengths += [lengths[-1]] * (3 + bits.read(2))
            else:
                lengths += [0] * ((3 + bits.read(3)) if s == 17 else (11 + bits.read(7)))
        literal_codes, distance_codes = decoder(lengths[:hlit]), decoder(lengths[hlit:])
        while True:
            s = symbol(bits, literal_codes)
            literals[s] += 1
            if s == 256:
                break
            if s > 256:
                bits.read(LENGTH_EXTRA[s - 257])
                d = symbol(bits, distance_codes)
                distances[d] += 1
                bits.read(DISTANCE_EXTRA[d])
        if final:
            return


def main(program):
    random.seed(101)
    texts = {
        "ean13": ["%012d" % random.randrange(10**12) for _ in range(25)],
        "code39": ["".join(random.choice(string.ascii_uppercase + string.digits)
                           for _ in range(random.randint(4, 20))) for _ in range(25)],
        "i2of5": ["%010d" % random.randrange(10**10) for _ in range(25)],
    }
    texts["s2of5"] = texts["i2of5"]
    literals, distances = [0] * 286, [0] * 30
    with tempfile.TemporaryDirectory() as folder:
        for size in SIZES:
            for kind, lines in texts.items():
                listing = Path(folder, "list.txt")
                listing.write_text("\n".join(lines) + "\n")
                out = Path(folder, kind + size.replace(" ", ""))
                out.mkdir()
                # Some sizes are too narrow for some types; their records just fail.
                subprocess.run([program, "--batch", str(listing), "-t", kind, "-c", "-w", "-s",
                                *size.split(), "-o", f"{out}/#####.png"], stderr=subprocess.DEVNULL)
                for png in sorted(out.glob("*.png")):
                    data, at, stream = png.read_bytes(), 8, b""
                    while at < len(data):
                        length, kind_ = struct.unpack(">I4s", data[at:at + 8])
                        if kind_ == b"IDAT":
                            stream += data[at + 8:at + 8 + length]
                        at += 12 + length
                    zlib.decompress(stream)  # a sound stream before it is counted
                    count_symbols(stream, literals, distances)
    counts = [n // 16 + 1 for n in literals + distances]
    for i in range(0, len(counts), 16):
        print("    " + ", ".join(str(n) for n in counts[i:i + 16]) + ",")


if __name__ == "__main__":
    main(sys.argv[1])
