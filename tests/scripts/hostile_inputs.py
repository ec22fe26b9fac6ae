#!/usr/bin/python3
"""Runs every file-reading subcommand of pipeloop-cli over the hostile inputs
listed in tests/data/hostile/MANIFEST and checks the command line's contract
on each run:

- no signal and no hang (each run has a time limit and, unless disabled, a
  memory limit);
- an exit status the manifest expects, never 64 for a file problem;
- a message on standard error ("error:", "warning:" or "info:") whenever the
  status is not 0;
- the output (--out, into a folder that already holds an old output) is
  replaced whole or not at all: after a failure the old file is unchanged and
  nothing else appeared beside it.

Usage: hostile_inputs.py PIPELOOP_CLI DEMO_CONTAINER [--memory-limit-mb N] [--jobs N]
       hostile_inputs.py --generate FOLDER
The second form only writes the generated inputs (the large ones, and those
that need exact bytes) into FOLDER, for a look or as fuzz seeds.

MANIFEST lines: INPUT KIND STATUS [COMMAND=STATUS ...]
  INPUT   a file of tests/data/hostile, or @NAME for an input this script makes
  KIND    project, elbows, container or folder: which subcommands read it
  STATUS  the exit status expected of every subcommand, COMMAND=STATUS for one
"""

import argparse
import concurrent.futures
import os
import random
import resource
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
HOSTILE = os.path.join(ROOT, "tests", "data", "hostile")
WORKSHOP = os.path.join(ROOT, "data", "samples", "workshop.plf")
CATALOGUE_TEXT = os.path.join(ROOT, "data", "catalogue", "PARTS.PLDBI")
TIME_LIMIT = 20  # seconds a single run may take

# What reads each kind of input: the arguments after the subcommand, with
# FILE the input, OUT the output path and DEMO the demo container.
COMMANDS = {
    "project": {
        "info": ["FILE", "--out", "OUT/info.txt"],
        "check": ["FILE", "--out", "OUT/check.txt"],
        "resave": ["FILE", "OUT/resaved.plf"],
        "render": ["FILE", "--view", "plan", "--out", "OUT/plan.png"],
        "picture": ["FILE", "--view", "north", "--out", "OUT/north.emf"],
        "dxf": ["FILE", "--out", "OUT/drawing.dxf"],
        "partslist": ["FILE", "--catalogue", "DEMO", "--out", "OUT/parts.txt"],
        "analyse": ["FILE", "--catalogue", "DEMO", "--out", "OUT/analysis.txt"],
        "print": ["FILE", "--view", "all", "--drops", "--notes", "--out", "OUT/sheets.pdf"],
    },
    "elbows": {
        "elbows": ["FILE", "--out", "OUT/elbows.txt"],
    },
    "container": {
        "catalogue": ["FILE", "--parts", "--packages", "--out", "OUT/listing.txt"],
        "unpack-catalogue": ["FILE", "--out", "OUT/unpacked"],
        "partslist": [WORKSHOP, "--catalogue", "FILE", "--out", "OUT/parts.txt"],
        "print": [WORKSHOP, "--view", "plan", "--catalogue", "FILE", "--out", "OUT/sheet.pdf"],
    },
    "folder": {
        "pack-catalogue": ["FILE", "--out", "OUT/packed.pldbcab"],
    },
}

OLD = b"an older output that a failed run must leave alone\r\n"

# ---------------------------------------------------------------- inputs


def crlf(text):
    return text.replace("\n", "\r\n").encode("cp1252")


def header():
    return "[PIPELOOP-FILE-INFO]\nFile_Version=1\nPipeLoop_Version=1.0.0.0\n\n"


def project(building, zoom, loop_height, elbows, spurs=()):
    """A pipe loop project: a loop through elbows [(ns, ew)] at loop_height,
    closed on the first, spurs [(ns, ew, ns2, ew2)] level with it, every view
    at 1:zoom."""
    ew, ns, hg = building
    elbows = list(elbows) + [elbows[0]]
    text = header() + "[Project]\n" + "".join(
        "ZoomFactor%s=%d\n" % (view, zoom) for view in ("PLAN", "NORTH", "EAST", "SOUTH", "WEST"))
    text += (
        "Description=hostile\nUnits=1\nCompressorHouse=0\n\n"
        "[Options]\nSaved=0\n\n"
        "[Building]\nRoomEW=%d\nRoomHG=%d\nRoomNS=%d\n\n"
        "[PipeLoop]\nHeight=%d\nPipeSize=32\nDefaultOutletSize=25\nPipeColour=BLUE\n"
        "Elbows=%d\nDrains=0\nDrops=0\nValves=0\nInlets=0\nSpurs=%d\nBuildFeatures=0\n\n"
    ) % (ew, hg, ns, loop_height, len(elbows), len(spurs))
    for i, (e_ns, e_ew) in enumerate(elbows, 1):
        text += "[Elbow%d]\nNS=%d\nEW=%d\nHG=%d\nName=ELBOW%d\nVerticalDrop=0\n\n" % (
            i, e_ns, e_ew, loop_height, i)
    parts = [text]
    for i, (s_ns, s_ew, s_ns2, s_ew2) in enumerate(spurs, 1):
        parts.append("[Spur%d]\nNS=%d\nEW=%d\nHG=%d\nName=SPUR%d\nNS2=%d\nEW2=%d\nHG2=%d\n"
                     "PipeSize=25\nVerticalDrop=0\n\n"
                     % (i, s_ns, s_ew, loop_height, i, s_ns2, s_ew2, loop_height))
    return crlf("".join(parts))


def deep_spur_chain(depth=20000):
    # A staircase of 2 mm spurs, each starting where the one before ends,
    # hanging from the south run of a square loop.
    spurs = []
    ns, ew = 1000, 1000
    for i in range(depth):
        ns2, ew2 = (ns, ew + 2) if i % 2 else (ns + 2, ew)
        spurs.append((ns, ew, ns2, ew2))
        ns, ew = ns2, ew2
    side = 1000 + depth
    return project((side + 2000, side + 2000, 4000), 100, 3000,
                   [(1000, 500), (1000, side + 1500), (side + 1500, side + 1500),
                    (side + 1500, 500)], spurs)


def long_runs():
    # A loop 1 900 km by 1 900 km: lengths near the top of 32-bit millimetres.
    far = 1900000000
    return project((2000000000, 2000000000, 4000), 1000000, 3000,
                   [(1000, 1000), (1000, far), (far, far), (far, 1000)])


def big_description():
    sample = open(WORKSHOP, "rb").read()
    return sample.replace(b"Description=Workshop ring main",
                          b"Description=" + b"Long description " * (10 * 1024 * 1024 // 17))


def huge_line():
    sample = open(WORKSHOP, "rb").read()
    return sample.replace(b"[Notes]\r\n", b"[Notes]\r\n" + b"x" * (10 * 1024 * 1024) + b"\r\n")


def elbows_huge_line():
    return b"0 0\r\n" + b"1" * (10 * 1024 * 1024) + b" 2\r\n5000 5000\r\n"


def elbows_many_lines():
    return b"".join(b"%d %d\r\n" % (i % 9000, i % 7000) for i in range(400000))


def container(entries, count=None, sizes=None):
    """A container with a right CRC; count and sizes may lie about the tables."""
    body = b"ZELKCAB1" + b"\0" * 8 + struct.pack("<I", len(entries) if count is None else count)
    for name, _ in entries:
        body += struct.pack("<H", len(name)) + name
    for i, (_, data) in enumerate(entries):
        body += struct.pack("<I", len(data) if sizes is None else sizes[i]) + data
    return body + struct.pack("<I", zlib.crc32(body) & 0xFFFFFFFF)


def catalogue_entries():
    return [(b"PARTS.PLDBI", open(CATALOGUE_TEXT, "rb").read())]


def bad_name_container(name):
    return container(catalogue_entries() + [(name, b"picture")])


def junk_logo_container():
    return container(catalogue_entries() + [(b"LOGO.JPG", b"\xff\xd8\xff\xe0" + bytes(
        random.Random(7).getrandbits(8) for _ in range(4096)))])


def truncated_container():
    whole = container(catalogue_entries())
    return whole[: len(whole) // 2]


def bad_crc_container():
    whole = bytearray(container(catalogue_entries()))
    whole[-1] ^= 0x5A
    return bytes(whole)


def file(make):
    def write(path):
        with open(path, "wb") as f:
            f.write(make())
    return write


def folder(files):
    def write(path):
        os.makedirs(path, exist_ok=True)
        for name, data in files:
            with open(os.path.join(path, name), "wb") as f:
                f.write(data)
    return write


# Each writes its input to the path it is given.
GENERATED = {
    "deep-spur-chain.plf": file(deep_spur_chain),
    "long-runs.plf": file(long_runs),
    "big-description.plf": file(big_description),
    "huge-line.plf": file(huge_line),
    "elbows-huge-line.txt": file(elbows_huge_line),
    "elbows-many-lines.txt": file(elbows_many_lines),
    "bad-crc.pldbcab": file(bad_crc_container),
    "truncated.pldbcab": file(truncated_container),
    "tables-past-end.pldbcab": file(lambda: container(catalogue_entries(), sizes=[1 << 30])),
    "absurd-entry-count.pldbcab": file(lambda: container(catalogue_entries(), count=0xFFFFFFFF)),
    "name-dot-dot.pldbcab": file(lambda: bad_name_container(b"../escaped.JPG")),
    "name-slash.pldbcab": file(lambda: bad_name_container(b"/tmp/escaped.JPG")),
    "name-line-break.pldbcab": file(lambda: bad_name_container(b"two\nlines.JPG")),
    "name-control.pldbcab": file(lambda: bad_name_container(b"bell\x07.JPG")),
    "name-too-long.pldbcab": file(lambda: bad_name_container(b"N" * 300 + b".JPG")),
    "name-empty.pldbcab": file(lambda: bad_name_container(b"")),
    "junk-logo.pldbcab": file(junk_logo_container),
    "no-catalogue-folder": folder([("LOGO.JPG", b"\xff\xd8junk")]),
    "junk-catalogue-folder": folder([("PARTS.PLDBI", bytes(range(256)) * 64),
                                     ("A.JPG", b"")]),
    "line-break-name-folder": folder([("PARTS.PLDBI", b"[CATALOGUE]\r\n"),
                                      ("two\nlines.JPG", b"\xff\xd8")]),
    "not-cp1252-name-folder": folder([("PARTS.PLDBI", b"[CATALOGUE]\r\n"),
                                      ("\u03a9mega.JPG", b"\xff\xd8")]),
}


# ---------------------------------------------------------------- runs


def read_manifest():
    cases = []
    with open(os.path.join(HOSTILE, "MANIFEST"), encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            name, kind, status = words[0], words[1], int(words[2])
            expected = {command: status for command in COMMANDS[kind]}
            for word in words[3:]:
                key, value = word.split("=", 1)
                if key in expected:
                    expected[key] = int(value)
                else:
                    raise SystemExit("MANIFEST:%d: %s does not read %s" % (number, key, kind))
            cases.append((name, kind, expected))
    return cases


def limits(memory_mb):
    def apply():
        if memory_mb:
            size = memory_mb * 1024 * 1024
            resource.setrlimit(resource.RLIMIT_AS, (size, size))
    return apply


def seed(out, kind, command):
    """Writes the old output a failed run must leave; answers its path in out."""
    target = next(a[4:] for a in COMMANDS[kind][command] if a.startswith("OUT/"))
    if command == "unpack-catalogue":
        os.mkdir(os.path.join(out, target))
        target = os.path.join(target, "PARTS.PLDBI")
    with open(os.path.join(out, target), "wb") as f:
        f.write(OLD)
    return target


def argument(word, source, out, demo):
    if word == "FILE":
        return source
    if word == "DEMO":
        return demo
    return os.path.join(out, word[4:]) if word.startswith("OUT/") else word


def snapshot(folder):
    found = {}
    for base, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(base, name)
            found[os.path.relpath(path, folder)] = os.path.getsize(path)
    return found


def run_case(cli, demo, memory_mb, inputs, name, kind, command, expected):
    """Problems of one run, as sentences; none when it kept the contract."""
    source = os.path.join(inputs, name[1:]) if name.startswith("@") else os.path.join(HOSTILE, name)
    with tempfile.TemporaryDirectory() as out:
        target = seed(out, kind, command)
        before = snapshot(out)
        args = [cli, command] + [argument(w, source, out, demo) for w in COMMANDS[kind][command]]
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
                   ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":exitcode=99",
                   UBSAN_OPTIONS=os.environ.get("UBSAN_OPTIONS", "") + ":exitcode=99")
        try:
            result = subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.PIPE, env=env, timeout=TIME_LIMIT,
                                    preexec_fn=limits(memory_mb))
        except subprocess.TimeoutExpired:
            return ["did not finish in %d s" % TIME_LIMIT]
        problems = []
        status = result.returncode
        if status < 0:
            problems.append("killed by signal %d" % -status)
        elif status not in (0, 1, 2):
            problems.append("exit status %d is outside the contract" % status)
        if status != expected:
            problems.append("exit status %d, expected %d" % (status, expected))
        lines = result.stderr.decode("utf-8", "replace").splitlines()
        if status != 0 and not any(l.startswith(("error: ", "warning: ", "info: ")) for l in lines):
            problems.append("status %d without a message" % status)
        after = snapshot(out)
        if status == 2 or status < 0:
            with open(os.path.join(out, target), "rb") as f:
                if f.read() != OLD:
                    problems.append("the old %s was changed" % target)
            if after != before:
                problems.append("the output folder changed: %s" % sorted(after))
        elif status == 0 and after.get(target) == len(OLD) and command != "unpack-catalogue":
            problems.append("succeeded but left the old %s" % target)
        if problems:
            first = lines[0] if lines else ""
            problems.append("first message: %r" % first[:200])
        return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("cli", nargs="?")
    parser.add_argument("demo", nargs="?")
    parser.add_argument("--generate", metavar="FOLDER")
    parser.add_argument("--memory-limit-mb", type=int, default=3072)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    options = parser.parse_args()
    if options.generate:
        os.makedirs(options.generate, exist_ok=True)
        for name in GENERATED:
            GENERATED[name](os.path.join(options.generate, name))
        return 0
    if not options.cli or not options.demo:
        parser.print_usage()
        return 64

    cases = read_manifest()
    inputs = tempfile.mkdtemp(prefix="pipeloop-hostile.")
    try:
        for name, _, _ in cases:
            if name.startswith("@"):
                GENERATED[name[1:]](os.path.join(inputs, name[1:]))
        runs = [(name, kind, command, expected[command])
                for name, kind, expected in cases for command in COMMANDS[kind]]
        with concurrent.futures.ThreadPoolExecutor(options.jobs) as pool:
            results = list(pool.map(
                lambda r: run_case(options.cli, options.demo, options.memory_limit_mb, inputs,
                                   *r), runs))
    finally:
        shutil.rmtree(inputs, ignore_errors=True)

    failed = 0
    for (name, _, command, _), problems in zip(runs, results):
        if problems:
            failed += 1
            print("FAILED: %s %s: %s" % (command, name, "; ".join(problems)))
    print("%d runs over %d inputs: %d failed" % (len(runs), len(cases), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
