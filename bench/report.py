#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Turns the benchmark output of compare.sh into the comparison tables: prints them and puts
them into RESULTS.md between their markers, leaving the rest of the file as it is. The PDF
and EPS batches have a table of their own, which a run of only those (the draw and growth
files given as -) replaces alone."""
import datetime
import json
import os
import sys

START, END = "<!-- measured -->", "<!-- /measured -->"
VECTOR_START, VECTOR_END = "<!-- vector -->", "<!-- /vector -->"
SYNC_START, SYNC_END = "<!-- sync -->", "<!-- /sync -->"
DOCUMENT_START, DOCUMENT_END = "<!-- documents -->", "<!-- /documents -->"


def load(path):
    with open(path) as f:
        return {b["name"]: b for b in json.load(f)["benchmarks"] if b.get("run_type") != "aggregate"}


def ns(b):
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    return b["real_time"] * scale


def read_batches(batch_txt):
    """Each case's median wall time of its rounds, with the range beside it."""
    runs = {}
    with open(batch_txt) as f:
        for row in f:
            name, who, count, seconds, kb = row.split()
            runs.setdefault((name, who), []).append((int(count), float(seconds), int(kb)))
    batch, spread = {}, {}
    for key, rows in runs.items():
        times = sorted(r[1] for r in rows)
        batch[key] = (rows[0][0], times[len(times) // 2], max(r[2] for r in rows))
        spread[key] = (times[0], times[-1], len(times))
    return batch, spread


def vector_table(batch_txt, machine, ours_version, peer_version, alone):
    batch, spread = read_batches(batch_txt)
    if ("pdf", "ours") not in batch:
        return None
    rounds = max(s[2] for s in spread.values())
    lines = [f"Measured {datetime.datetime.now().astimezone():%Y-%m-%d %H:%M %Z} on {machine}.",
             f"Versions: {ours_version}; {peer_version}. Release build, "
             f"{'QV_BENCH_ONLY=vector bench/compare.sh' if alone else 'one run of bench/compare.sh'}.",
             "",
             f"PDF and EPS batches into /dev/shm (median wall time of {rounds} rounds in alternating "
             "order; per file = wall time / files, the program's start included; zint writes no "
             "PDF, so its EPS is the peer of our PDF and EPS, and its PNG of our PNG; ratio = ours "
             "/ zint in files per second). Ours embed the caption's font, zint's EPS names "
             "Helvetica:", "",
             "| Case | QvBarCode | per file | zint | per file | Ratio |",
             "|---|---:|---:|---:|---:|---:|"]
    for name, label in [("vector-png", "EAN-13 PNG, for scale"), ("pdf", "EAN-13 PDF"),
                        ("eps", "EAN-13 EPS")]:
        if (name, "ours") not in batch:
            continue
        (n, s1, k1), (_, s2, k2) = batch[(name, "ours")], batch[(name, "peer")]
        (lo1, hi1, _), (lo2, hi2, _) = spread[(name, "ours")], spread[(name, "peer")]
        lines.append(f"| {label}, {n:,} files | {s1:.3f} s ({lo1:.3f}-{hi1:.3f}), {k1 / 1024:.1f} MB "
                     f"| {s1 / n * 1e3:.3f} ms | {s2:.3f} s ({lo2:.3f}-{hi2:.3f}), {k2 / 1024:.1f} MB "
                     f"| {s2 / n * 1e3:.3f} ms | {s2 / max(s1, 1e-3):.2f} |")
    return "\n".join(lines)


def document_table(batch_txt, machine, ours_version, peer_version):
    """A batch into one document against zint's files, and the targets it is held to."""
    batch, spread = read_batches(batch_txt)
    if ("doc-pdf", "ours") not in batch:
        return None
    rounds = max(s[2] for s in spread.values())
    lines = [f"Measured {datetime.datetime.now().astimezone():%Y-%m-%d %H:%M %Z} on {machine}.",
             f"Versions: {ours_version}; {peer_version}. Release build, bench/compare.sh; load "
             f"average {os.getloadavg()[0]:.1f} at its end.", "",
             f"Labels into one document on /dev/shm (median wall time of {rounds} rounds, the "
             "program's start included; labels per second; zint writes no PDF and no document, "
             "so its 10,000 EPS files are the peer):", "",
             "| Case | Wall time | Peak memory | Labels per second |", "|---|---:|---:|---:|"]
    rows = [("doc-pdf", "ours", "QvBarCode, one PDF, a page per label"),
            ("doc-pdf-tenth", "ours", "QvBarCode, one PDF, a page per label"),
            ("doc-sheet", "ours", "QvBarCode, one PDF, A4 sheets of 3 x 8"),
            ("doc-eps", "ours", "QvBarCode, an EPS file per label"),
            ("doc-pdf", "peer", "zint, an EPS file per label"),
            ("doc-eps", "peer", "zint, an EPS file per label")]
    seen = set()
    for name, who, label in rows:
        if (name, who) not in batch or (who == "peer" and "peer" in seen):
            continue
        seen.add(who if who == "peer" else name)
        n, seconds, kb = batch[(name, who)]
        lo, hi, _ = spread[(name, who)]
        lines.append(f"| {label}, {n:,} | {seconds:.3f} s ({lo:.3f}-{hi:.3f}) | {kb / 1024:.1f} MB "
                     f"| {n / seconds:,.0f} |")
    peer = batch[("doc-pdf", "peer")]
    ours = batch[("doc-pdf", "ours")]
    ratio = (ours[0] / ours[1]) / (peer[0] / peer[1])
    lines += ["", "Targets:", "",
              f"- {'met' if ratio >= 5 else 'MISSED'}: one PDF at least 5 times zint's EPS files "
              f"per second ({ratio:.1f}x)"]
    if ("doc-eps", "ours") in batch and ("doc-eps", "peer") in batch:
        eps = (batch[("doc-eps", "peer")][1]) / batch[("doc-eps", "ours")][1]
        lines.append(f"- {'met' if eps >= 1 else 'MISSED'}: an EPS file per label at least "
                     f"level with zint's ({eps:.2f}x)")
    if ("doc-sheet", "ours") in batch:
        sheet = batch[("doc-sheet", "ours")][1]
        lines.append(f"- {'met' if sheet < 1 else 'MISSED'}: 10,000 labels on sheets under 1 s "
                     f"({sheet:.3f} s)")
    if ("doc-pdf-tenth", "ours") in batch:
        small, large = batch[("doc-pdf-tenth", "ours")][2], ours[2]
        lines.append(f"- {'met' if large <= small * 1.25 else 'MISSED'}: memory flat with the "
                     f"pages ({small / 1024:.1f} MB at {batch[('doc-pdf-tenth', 'ours')][0]:,}, "
                     f"{large / 1024:.1f} MB at {ours[0]:,})")
    return "\n".join(lines)


def sync_table(batch_txt):
    """What putting a batch's files on disk costs per file, each way, on a disk and on tmpfs."""
    batch, spread = read_batches(batch_txt)
    if ("sync-disk", "plain-none") not in batch:
        return None
    rounds = max(s[2] for s in spread.values())
    lines = ["Putting a batch's files on disk (bench_file_ceiling, 1.2 KB files, median of "
             f"{rounds} rounds; per file = wall time / files; the extra is what the sync adds "
             "to syncing nothing). The program syncs its file systems once before its summary:",
             "", "| Where | Files | Sync | Wall time | per file | extra per file |",
             "|---|---:|---|---:|---:|---:|"]
    for name, label in [("sync-disk", "build folder (disk)"), ("sync-shm", "/dev/shm (tmpfs)")]:
        base = batch[(name, "plain-none")]
        for mode, what in [("none", "none"), ("syncfs", "one syncfs at the end"),
                           ("fsync", "fsync per file, then the folder")]:
            n, seconds, _ = batch[(name, f"plain-{mode}")]
            extra = (seconds - base[1]) / n * 1e6
            lines.append(f"| {label} | {n:,} | {what} | {seconds:.3f} s | {seconds / n * 1e6:.1f} us "
                         f"| {extra:+.1f} us |")
    return "\n".join(lines)


def put(results, start, end, table):
    try:
        with open(results) as f:
            text = f.read()
    except FileNotFoundError:
        text = "# Benchmark results\n"
    if start in text and end in text:
        head, rest = text.split(start, 1)
        text = f"{head}{start}\n{table}\n{end}{rest.split(end, 1)[1]}"
    else:
        text += f"\n{start}\n{table}\n{end}\n"
    with open(results, "w") as f:
        f.write(text)


def main(draw_json, growth_json, batch_txt, machine, ours_version, peer_version, results):
    vector = vector_table(batch_txt, machine, ours_version, peer_version, draw_json == "-")
    if vector:
        print(vector)
        put(results, VECTOR_START, VECTOR_END, vector)
    documents = document_table(batch_txt, machine, ours_version, peer_version)
    if documents:
        print(documents)
        put(results, DOCUMENT_START, DOCUMENT_END, documents)
    sync = sync_table(batch_txt)
    if sync:
        print(sync)
        put(results, SYNC_START, SYNC_END, sync)
    if draw_json == "-":
        return
    lines = []
    out = lines.append
    out(f"Measured {datetime.datetime.now().astimezone():%Y-%m-%d %H:%M %Z} on {machine}.")
    out(f"Versions: {ours_version}; {peer_version}. Release build, one run of bench/compare.sh.")
    out("")
    out("In-process drawing (draws per second; higher is better; ratio = ours / zint):")
    out("")
    out("| Case | QvBarCode | zint | Ratio | Picture (ours / zint) |")
    out("|---|---:|---:|---:|---|")
    draw = load(draw_json)
    targets = []
    for case, label in [("Ean13Captioned", "EAN-13, captioned"), ("Ean13Plain", "EAN-13, no caption"),
                        ("Code39Captioned", "Code 39, 20 characters, captioned")]:
        ours, peer = draw[f"OursDraw/{case}"], draw[f"PeerDraw/{case}"]
        a, b = 1e9 / ns(ours), 1e9 / ns(peer)
        size = (f"{int(ours['width'])}x{int(ours['height'])} / "
                f"{int(peer['width'])}x{int(peer['height'])}")
        out(f"| {label} | {a:,.0f}/s ({ns(ours) / 1e3:.2f} us) | {b:,.0f}/s ({ns(peer) / 1e3:.2f} us) "
            f"| {a / b:.2f} | {size} |")
        least = 3 if case == "Code39Captioned" else 5
        targets.append((f"in process, {label} at least {least}x zint's draws per second",
                        a / b >= least, f"{a / b:.2f}x"))
    out("")

    batch, spread = read_batches(batch_txt)
    rounds = max((s[2] for s in spread.values()), default=1)
    out(f"Batch files of captioned EAN-13 (median wall time of {rounds} rounds, the order turning "
        "round by round; files per second; peak resident memory; ratio = ours / zint in files "
        "per second). Ours on one thread is `--jobs 1`, ours on every core the default:")
    out("")
    out("| Case | Program | Wall time | Files/s | Memory | Ratio |")
    out("|---|---|---:|---:|---:|---:|")
    who_label = {"ours1": "QvBarCode, one thread", "ours": "QvBarCode, every core",
                 "peer": "zint", "plain": "plain file loop (1.2 KB)"}

    def rate(name, who):
        n, seconds, _ = batch[(name, who)]
        return n / max(seconds, 1e-3)

    for name, label in [("png", "PNG into /dev/shm"), ("png-tenth", "PNG into /dev/shm, a tenth"),
                        ("png-disk", "PNG into the build folder (disk)"), ("svg", "SVG into /dev/shm")]:
        if (name, "peer") not in batch:
            continue
        for who in ("ours1", "ours", "peer", "plain"):
            if (name, who) not in batch:
                continue
            n, seconds, kb = batch[(name, who)]
            lo, hi, _ = spread[(name, who)]
            ratio = f"{rate(name, who) / rate(name, 'peer'):.2f}" if who.startswith("ours") else ""
            out(f"| {label}, {n:,} files | {who_label[who]} | {seconds:.3f} s ({lo:.3f}-{hi:.3f}) "
                f"| {rate(name, who):,.0f} | {kb / 1024:.1f} MB | {ratio} |")
    if ("png", "ours") in batch:
        if ("png", "ours1") in batch:
            r = rate("png", "ours1") / rate("png", "peer")
            targets.append(("captioned EAN-13 PNG batch on one thread (--jobs 1) at least 3x zint's "
                            "files per second", r >= 3, f"{r:.2f}x"))
        r = rate("png", "ours") / rate("png", "peer")
        targets.append(("captioned EAN-13 PNG batch on every core at least 5x zint's files per "
                        "second", r >= 5, f"{r:.2f}x"))
    if ("png", "plain") in batch:
        ceiling = rate("png", "plain")
        out("")
        out(f"The ceiling: a plain loop creating and writing 1.2 KB files on /dev/shm did "
            f"{ceiling:,.0f} files per second in this run. QvBarCode's PNG batch reached "
            + ", ".join(f"{rate('png', who) / ceiling:.0%} of it {what}"
                        for who, what in (("ours1", "on one thread"), ("ours", "on every core"))
                        if ("png", who) in batch)
            + f"; zint {rate('png', 'peer') / ceiling:.0%}.")
    if ("png", "ours") in batch and ("png-tenth", "ours") in batch:
        big, small = batch[("png", "ours")][2], batch[("png-tenth", "ours")][2]
        flat = big <= small * 1.1 + 512
        targets.append(("batch memory flat (10x the files, peak RSS within 10%)", flat,
                        f"{small / 1024:.1f} MB -> {big / 1024:.1f} MB"))
    out("")

    growth = load(growth_json)
    out("Growth of one Draw (ours; ns per pixel should stay level as the picture grows):")
    out("")
    out("| Series | Argument | Picture | Time | ns per pixel |")
    out("|---|---:|---|---:|---:|")
    per_pixel = {}
    for name, b in growth.items():
        series, arg = name.split("/")
        label = "Code 39 characters, 1 px/module" if series == "OursCode39Modules" else "EAN-13 module width (px)"
        px = b["pixels"]
        per_pixel.setdefault(series, []).append((px, ns(b) / px))
        out(f"| {label} | {arg} | {int(b['width'])}x{int(b['height'])} | {ns(b) / 1e3:,.1f} us "
            f"| {ns(b) / px:.3f} |")
    linear = True
    for series, points in per_pixel.items():
        points.sort()
        # Fixed costs dominate the smallest pictures; past them the cost per pixel must not rise.
        big = [p for p in points if p[0] >= 50_000]
        if len(big) >= 2 and big[-1][1] > 1.5 * min(q[1] for q in big):
            linear = False
    targets.append(("growth linear in pixels (ns/pixel does not rise with size)", linear, ""))
    out("")
    out("Targets:")
    out("")
    for text, met, figure in targets:
        out(f"- {'met' if met else 'MISSED'}: {text}" + (f" ({figure})" if figure else ""))

    table = "\n".join(lines)
    print(table)
    put(results, START, END, table)


if __name__ == "__main__":
    main(*sys.argv[1:])
