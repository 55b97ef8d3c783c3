# SPDX-License-Identifier: MIT
"""The Python package side by side, in one run: a drawing against python3-zxing-cpp's
write_barcode at the same size, a Python loop writing captioned EAN-13 PNG files against the
program's own --jobs 1 batch of the same texts, and separate Barcodes drawing, drawing into
pictures of their own and saving PNG files, on 1 and on 2 threads. Run by compare.sh with
Debian's python3; prints the table and puts it into RESULTS.md between its markers.
    /usr/bin/python3 bench/python_bench.py PROGRAM LIST OUT_DIR RESULTS.md ROUNDS"""
import datetime
import os
import statistics
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

import qvbarcode
import zxingcpp

START, END = "<!-- python -->", "<!-- /python -->"
EAN13 = dict(type="ean13", check_digit=True, show_value=True, white_background=True,
             bar_width=300, bar_height=80)
program, list_file, out_root, results, rounds = sys.argv[1:6]
rounds = int(rounds)
texts = open(list_file).read().split()


def per_call(action, count=20000):
    """Microseconds per call: the median of the rounds."""
    times = []
    for _ in range(rounds):
        start = time.perf_counter()
        for _ in range(count):
            action()
        times.append((time.perf_counter() - start) / count * 1e6)
    return statistics.median(times)


def seconds(action):
    times = []
    for round_number in range(rounds):
        start = time.perf_counter()
        action(round_number)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def python_loop(round_number):
    folder = os.path.join(out_root, f"python-{round_number}")
    os.makedirs(folder)
    barcode = qvbarcode.Barcode(**EAN13)
    for number, text in enumerate(texts, 1):
        barcode.text = text
        barcode.save(os.path.join(folder, f"{number:05d}.png"))


def program_batch(round_number):
    folder = os.path.join(out_root, f"program-{round_number}")
    os.makedirs(folder)
    subprocess.run([program, "--batch", list_file, "-t", "ean13", "-c", "-w", "-s", "--width",
                    "300", "--height", "80", "--jobs", "1", "-o", f"{folder}/#####.png"],
                   check=True, stderr=subprocess.DEVNULL)


def threads(count, draws, action, size=(300, 80)):
    def work(worker):
        barcode = qvbarcode.Barcode(**dict(EAN13, bar_width=size[0], bar_height=size[1]),
                                    text="400638133393")
        folder = os.path.join(out_root, f"threads-{count}-{worker}")
        os.makedirs(folder, exist_ok=True)
        picture = bytearray(4 * size[0] * size[1])
        for number in range(draws // count):
            if action == "save":
                barcode.save(os.path.join(folder, f"{number:05d}.png"))
            elif action == "draw_onto":
                barcode.draw_onto(picture, width=size[0], height=size[1])
            else:
                barcode.draw()

    def run(_):
        with ThreadPoolExecutor(count) as pool:
            list(pool.map(work, range(count)))

    return seconds(run)


barcode = qvbarcode.Barcode(**EAN13, text="400638133393")
rows = []
zxing = per_call(lambda: zxingcpp.write_barcode(zxingcpp.EAN13, "4006381333931", 300, 80))
full = per_call(lambda: qvbarcode.Barcode(**EAN13, text="400638133393").draw())
again = per_call(barcode.draw)
rows.append(("`Barcode(...).draw()`, EAN-13 300 x 80, against `write_barcode`",
             f"{full:.1f} us", f"{zxing:.1f} us", zxing / full, 10))
rows.append(("`barcode.draw()` of one Barcode, against `write_barcode`", f"{again:.1f} us",
             f"{zxing:.1f} us", zxing / again, 10))
loop, batch = seconds(python_loop), seconds(program_batch)
rows.append((f"{len(texts):,} captioned EAN-13 PNG files: Python loop, against `--jobs 1`",
             f"{loop:.2f} s", f"{batch:.2f} s", batch / loop, 0.5))
# A draw() of 300 x 80 costs the library less than Python's own work for the call, which one
# thread runs at a time. Drawing into a picture of 1200 x 480 (a label printed at 600 dpi) and
# writing a PNG file are mostly the library's.
for draws, action, size, what in [(100000, "draw", (300, 80), "draw() of 300 x 80"),
                                  (2000, "draw_onto", (1200, 480), "draw_onto() of 1200 x 480"),
                                  (10000, "save", (300, 80), "save() of a PNG file")]:
    one, two = threads(1, draws, action, size), threads(2, draws, action, size)
    rows.append((f"{draws:,} times {what} on 2 threads, against 1", f"{two:.2f} s", f"{one:.2f} s",
                 one / two, 1.8))

machine = f"{os.cpu_count()} cores, Python {sys.version.split()[0]} ({sys.executable})"
lines = [START, "",
         f"Measured {datetime.datetime.now().astimezone():%Y-%m-%d %H:%M %Z}, {machine}, "
         f"median of {rounds} rounds; ratio = the other's time / the package's, target the "
         "least ratio asked for:", "",
         "| Case | qvbarcode | Other | Ratio | Target |", "|---|---:|---:|---:|---:|"]
for case, ours, other, ratio, target in rows:
    lines.append(f"| {case} | {ours} | {other} | {ratio:.2f} | {'met' if ratio >= target else 'MISSED'} "
                 f"({target}) |")
lines += ["", END]
table = "\n".join(lines)
print(table)
text = open(results).read() if os.path.exists(results) else ""
if START in text:
    text = text[:text.index(START)] + table + text[text.index(END) + len(END):]
else:
    text += "\n## Python\n\n" + table + "\n"
open(results, "w").write(text)
