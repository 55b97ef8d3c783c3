# SPDX-License-Identifier: MIT
"""The Python package over the component library built in this tree (QVBARCODE_COMPONENT),
run by Debian's python3: pictures read back by ZXing, result codes and failed calls as
exceptions, drawing into each kind of buffer, files, names and the thread rule."""
import os
import pathlib
import tempfile
import threading
import unittest
from concurrent.futures import ThreadPoolExecutor

import numpy
import zxingcpp
from PIL import Image

import qvbarcode

SOURCE = pathlib.Path(os.environ["QV_SOURCE_DIR"])
EAN13 = dict(type="ean13", text="400638133393", check_digit=True, bar_width=300, bar_height=80,
             white_background=True)

# Standard 2 of 5 as published, which ZXing does not read: five bars a digit, two of them wide.
STANDARD_BARS = "00110 10001 01001 11000 00101 10100 01100 00011 10010 01010".split()


def standard_modules(digits):
    bars = "".join("1110" if bar == "1" else "10" for d in digits for bar in STANDARD_BARS[int(d)])
    return "11011010" + bars + "1101011"


class RoundTrip(unittest.TestCase):
    def test_every_symbology_is_read_back(self):
        cases = [  # type, text, check digit, what a reader finds
            ("interleaved2of5", "123456", False, "123456"),
            ("interleaved2of5", "1234567", True, "12345670"),
            ("code39", "QV-2024 $/+%", False, "QV-2024 $/+%"),
            ("ean13", "400638133393", True, "4006381333931"),
            ("ean13", "5901234123457", False, "5901234123457"),
        ]
        for kind, text, check, expected in cases:
            with self.subTest(kind=kind, text=text):
                picture = qvbarcode.Barcode(type=kind, text=text, check_digit=check,
                                            bar_width_source=True, bar_height=60,
                                            white_background=True, show_value=True).draw()
                found = zxingcpp.read_barcode(picture.to_pil())
                self.assertIsNotNone(found)
                self.assertEqual(found.text, expected)
        picture = qvbarcode.Barcode(type="standard2of5", text="907315", bar_width_source=True,
                                    bar_height=40).draw()
        row = picture.tobytes()[picture.width * 20:][:picture.width]  # the bars' middle row
        self.assertEqual("".join("1" if pixel < 128 else "0" for pixel in row).strip("0"),
                         standard_modules("907315"))


class Failures(unittest.TestCase):
    def tearDown(self):
        os.environ.pop("LC_ALL", None)

    def test_result_codes_in_the_users_language(self):
        cases = [  # properties, LC_ALL, code, message
            (dict(type=9, text="1"), "C", 1100, "Invalid Barcode Type"),
            (dict(type="ean13", text="12a"), "C", 1101, "Invalid Character Found In Barcode Text"),
            (dict(type="ean13", text="400638133393", check_digit=True), "C", 1102,
             "Not Enough (Width) Space"),
            (dict(type="ean13", text="1234"), "es_MX.UTF-8", 1103,
             "Longitud Esperada del texto a codificar No valida"),
            (dict(type="code39", text="  "), "es_ES.UTF-8", 1104,
             "Texto a Codificar NO puede estar vacio"),
        ]
        for properties, language, code, message in cases:
            with self.subTest(code=code):
                os.environ["LC_ALL"] = language
                barcode = qvbarcode.Barcode(bar_width=200, **properties)
                if code == 1102:
                    barcode.bar_width = 20
                with self.assertRaises(qvbarcode.BarcodeError) as raised:
                    barcode.draw()
                self.assertEqual((raised.exception.code, raised.exception.message), (code, message))
                self.assertTrue(barcode.error_found)

    def test_failed_calls_raise_as_python_does(self):
        barcode = qvbarcode.Barcode(**EAN13)
        cases = [  # what is done, the exception
            (lambda: barcode.draw_onto(bytearray(400), 2**31 - 5, 0, width=10, height=10),
             OverflowError),
            (lambda: qvbarcode.Barcode(**dict(EAN13, bar_width=30000, bar_height=30000)).draw(),
             MemoryError),
            (lambda: setattr(barcode, "error_found", True), AttributeError),
            (lambda: setattr(barcode, "colour", "red"), AttributeError),
            (lambda: setattr(barcode, "text", 1.5), TypeError),
            (lambda: setattr(barcode, "type", "qr"), ValueError),
            (lambda: barcode.draw_onto(b"\0" * 400, width=10, height=10), BufferError),
            (lambda: barcode.draw_onto(bytearray(399), width=10, height=10), ValueError),
            (lambda: barcode.draw_onto(Image.new("L", (9, 9))), ValueError),
            (lambda: barcode.draw_onto(numpy.zeros((9, 9), numpy.uint8)), ValueError),
            (lambda: barcode.save("barcode.gif"), ValueError),
            (lambda: barcode.save("/nonexistent/barcode.png"), OSError),
        ]
        for index, (action, exception) in enumerate(cases):
            with self.subTest(case=index):
                self.assertRaises(exception, action)
        self.assertEqual(barcode.draw().width, 295)  # still drawing after them all


class Drawing(unittest.TestCase):
    def test_draw_onto_each_kind_of_buffer(self):
        expected = qvbarcode.Barcode(**EAN13).draw()
        width, height = expected.width + 20, expected.height + 10

        cases = [  # the buffer, draw_onto's size arguments, bytes a pixel, bytes a row
            (bytearray(width * height * 3), dict(width=width, height=height, bits_per_pixel=24), 3,
             width * 3),
            (bytearray((width * 4 + 4) * height), dict(width=width, height=height,
                                                       stride=width * 4 + 4), 4, width * 4 + 4),
            (numpy.zeros((height, width, 3), numpy.uint8), {}, 3, width * 3),
            (numpy.zeros((height, width, 4), numpy.uint8), {}, 4, width * 4),
            (Image.new("RGB", (width, height)), {}, 3, width * 3),
            (Image.new("RGBX", (width, height)), {}, 4, width * 4),
        ]
        for buffer, size, step, stride in cases:
            with self.subTest(kind=type(buffer).__name__, size=size):
                qvbarcode.Barcode(**EAN13).draw_onto(buffer, 10, 7, **size)
                data = buffer.tobytes() if hasattr(buffer, "tobytes") else bytes(buffer)
                drawn = b"".join(data[y * stride + 10 * step:][:expected.width * step:step]
                                 for y in range(7, 7 + expected.height))
                self.assertEqual(drawn, expected.tobytes())

    def test_a_picture_keeps_its_pixels_whatever_its_barcode_does_next(self):
        expected = qvbarcode.Barcode(**EAN13).draw().tobytes()
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        cases = [  # what the Barcode does after drawing the picture
            ("draws again", lambda b: b.draw()),
            ("changes", lambda b: setattr(b, "text", "590123412345")),
            ("draws onto a buffer", lambda b: b.draw_onto(bytearray(400), width=10, height=10)),
            ("saves", lambda b: b.save(os.path.join(folder.name, "a.png"))),
            ("goes", lambda b: None),
        ]
        for what, action in cases:
            with self.subTest(what=what):
                barcode = qvbarcode.Barcode(**EAN13)
                picture = barcode.draw()
                action(barcode)
                del barcode
                self.assertEqual(picture.tobytes(), expected)

    def test_files_through_the_librarys_writers(self):
        barcode = qvbarcode.Barcode(**EAN13, show_value=True)
        picture = barcode.draw()
        barcode.text = "590123412345"  # the picture keeps what it was drawn with
        with tempfile.TemporaryDirectory() as folder:
            for name, start in [("a.png", b"\x89PNG"), ("a.svg", b"<?xml"), ("a.pdf", b"%PDF"),
                                ("a.eps", b"%!PS-Adobe-3.0 EPSF"), ("png-named.pdf", b"\x89PNG")]:
                with self.subTest(name=name):
                    path = pathlib.Path(folder, name)
                    picture.save(path, "png" if name.startswith("png") else None)
                    self.assertTrue(path.read_bytes().startswith(start))
            self.assertEqual(Image.open(pathlib.Path(folder, "a.png")).convert("L").tobytes(),
                             picture.tobytes())
            barcode.text = "12"
            self.assertRaises(qvbarcode.BarcodeError, barcode.save, pathlib.Path(folder, "b.png"))
            self.assertFalse(pathlib.Path(folder, "b.png").exists())
            # Nothing but a regular file is replaced: a device or a pipe stays what it is.
            pipe = pathlib.Path(folder, "pipe.png")
            os.mkfifo(pipe)
            barcode.text = "400638133393"
            with self.assertRaisesRegex(OSError, "not a regular file"):
                barcode.save(pipe)
            self.assertTrue(pipe.is_fifo())


class Names(unittest.TestCase):
    def test_every_name_of_a_property_and_its_notifications(self):
        heard = []
        barcode = qvbarcode.Barcode(on_change=heard.append)
        for name, value, read in [("bar_code_type", "code39", 2), ("BarCodeType", 3, 3),
                                  ("type", qvbarcode.BarcodeType.EAN13, 3), ("text", "Ñ1", "Ñ1"),
                                  ("CalculateCheckDigit", True, True), ("check_digit", False, False),
                                  ("white_background", True, True), ("BarHeight", 7, 7)]:
            with self.subTest(name=name):
                setattr(barcode, name, value)
                self.assertEqual(getattr(barcode, name), read)
        self.assertEqual(heard, ["bar_code_type"] * 3 + ["text"] + ["calculate_check_digit"] * 2 +
                         ["background_white", "bar_height"])
        barcode.on_change = [].remove  # fails: so does the setter, after storing its value
        self.assertRaises(ValueError, setattr, barcode, "text", "2")
        self.assertEqual(barcode.text, "2")

    def test_the_package_reads_the_trees_header(self):
        shipped = pathlib.Path(qvbarcode.__file__).with_name("QvBarCodeComponent.h")
        self.assertEqual(shipped.read_text(),
                         (SOURCE / "src/component/QvBarCodeComponent.h").read_text())


class Threads(unittest.TestCase):
    def test_a_barcode_belongs_to_its_thread(self):
        barcode = qvbarcode.Barcode(**EAN13)
        expected = qvbarcode.Barcode(**EAN13).draw().tobytes()
        picture = barcode.draw()
        failures, read = [], []

        def use():  # its picture is drawn again here, its control is not touched
            read.append(picture.tobytes())
            for action in (barcode.draw, lambda: setattr(barcode, "text", "1")):
                try:
                    action()
                except qvbarcode.WrongThreadError as failure:
                    failures.append(str(failure))

        other = threading.Thread(target=use)
        other.start()
        other.join()
        self.assertEqual(len(failures), 2)
        self.assertIn("belongs to the thread that created it", failures[0])
        self.assertEqual(barcode.text, "400638133393")
        self.assertEqual(read, [expected])

    def test_a_barcode_is_as_new_whatever_the_ones_before_it_did(self):
        # Each case's picture, error and properties, after the cases before it on this thread
        # and, as a new thread's first, with new controls. draw_onto leaves its position set.
        cases = [dict(EAN13, bar_width_source=True, bar_height=30), dict(EAN13, show_value=True),
                 dict(type="ean13", text="12"),
                 dict(type="code39", text="A", bar_width_source=1, draw_onto=True),
                 dict(text="1234", type=0, bar_width=95, position_x=3, position_y=4),
                 dict(EAN13, check_digit=1), {}]

        def outcome(properties):
            properties = dict(properties)
            onto = properties.pop("draw_onto", False)
            barcode = qvbarcode.Barcode(**properties)
            names = [name for name, kind in vars(qvbarcode.Barcode).items()
                     if isinstance(kind, property)]
            made = {name: getattr(barcode, name) for name in names}
            if onto:
                barcode.draw_onto(bytearray(4 * 400 * 100), 3, 4, width=400, height=100)
            try:
                drawn = barcode.draw().tobytes()
            except qvbarcode.BarcodeError as error:
                drawn = error.code
            return made, drawn, {name: getattr(barcode, name) for name in names}

        for properties in cases:
            with self.subTest(properties=properties):
                with ThreadPoolExecutor(1) as pool:
                    new = pool.submit(outcome, properties).result()
                self.assertEqual(outcome(properties), new)

    def test_barcodes_of_separate_threads(self):
        texts = [f"{n:012d}" for n in range(100000000000, 100000000016)]
        with ThreadPoolExecutor(4) as pool:  # each worker's Barcodes, its pictures read here
            pictures = list(pool.map(lambda text: qvbarcode.Barcode(**dict(EAN13, text=text)).draw(),
                                     texts))
        self.assertEqual([zxingcpp.read_barcode(p.to_pil()).text[:12] for p in pictures], texts)


if __name__ == "__main__":
    unittest.main()
