#!/usr/bin/python3
"""Reads pipeloop-cli's DXF drawings with a real DXF reader, ezdxf (Debian
python3-ezdxf), and checks them against the project files they came from.

Usage: dxf_ezdxf_check.py PIPELOOP_CLI PROJECT...

For every project: `pipeloop-cli dxf PROJECT --out F` succeeds silently and
writes the same bytes as `pipeloop-cli dxf PROJECT` to standard output;
ezdxf loads F (the VPORT table outside a TABLES section is only
a structure warning to it); the header has $INSUNITS 4, $EXTMIN (0, 0, 0)
and $EXTMAX (RoomEW, RoomNS, -RoomHG); the entities are LINEs only, and per
layer their count and every coordinate are the ones the rules map from the
project file (read here with a small INI reader of its own): ELBOW_LAYER one
line per pair of consecutive corners, SPUR_LAYER one per spur, DROP_LAYER one
per drop from Z 0 down to -PipeLen, with X = EW and Y = RoomNS - NS.

Then the command line's failure rules: a target in a missing folder or a
folder in the target's place gives exit status 2, "Problem writing to :" on
standard error and no file; an existing file is left as it was.
"""

import logging
import os
import subprocess
import sys
import tempfile

import ezdxf

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def read_ini(path):
    """Sections and keys of a project file, case-insensitive, first key wins."""
    sections = {}
    current = None
    with open(path, "rb") as f:
        text = f.read().decode("cp1252")
    for raw in text.splitlines():
        line = raw.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].strip().lower(), {})
            continue
        if current is not None and "=" in line:
            key, value = line.split("=", 1)
            current.setdefault(key.strip().lower(), value.strip())
    return sections


def integer(section, key, default=0):
    try:
        return int(section.get(key.lower(), default))
    except ValueError:
        return default


def expected_lines(ini):
    """(layer, start, end) of every LINE, in the order the rules write them."""
    loop = ini.get("pipeloop", {})
    length = integer(ini.get("building", {}), "RoomNS")

    def objects(prefix, count_key):
        return [ini.get("%s%d" % (prefix, i), {})
                for i in range(1, integer(loop, count_key) + 1)]

    def point(ns, ew, z=0):
        return (float(ew), float(length - ns), float(z))

    lines = []
    corners = objects("elbow", "Elbows")
    for a, b in zip(corners, corners[1:]):
        lines.append(("ELBOW_LAYER", point(integer(a, "NS"), integer(a, "EW")),
                      point(integer(b, "NS"), integer(b, "EW"))))
    for spur in objects("spur", "Spurs"):
        lines.append(("SPUR_LAYER", point(integer(spur, "NS"), integer(spur, "EW")),
                      point(integer(spur, "NS2"), integer(spur, "EW2"))))
    for drop in objects("drop", "Drops"):
        ns, ew = integer(drop, "NS"), integer(drop, "EW")
        lines.append(("DROP_LAYER", point(ns, ew), point(ns, ew, -integer(drop, "PipeLen"))))
    return lines


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True,
                          env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))


def check_project(cli, project, folder):
    name = os.path.basename(project)
    out = os.path.join(folder, name + ".dxf")
    result = run(cli, "dxf", project, "--out", out)
    check(result.returncode == 0, "%s: exit status %d" % (name, result.returncode))
    check(result.stderr == b"", "%s: standard error %r" % (name, result.stderr))
    with open(out, "rb") as f:
        written = f.read()
    piped = run(cli, "dxf", project)
    check(piped.stdout == written, "%s: standard output differs from the file" % name)
    check(written.endswith(b"0\r\nEOF\r\n"), "%s: does not end with 0 EOF" % name)

    doc = ezdxf.readfile(out)
    ini = read_ini(project)
    building = ini.get("building", {})
    w, l, h = (integer(building, k) for k in ("RoomEW", "RoomNS", "RoomHG"))
    check(doc.header.get("$INSUNITS") == 4, "%s: $INSUNITS" % name)
    check(tuple(doc.header.get("$EXTMIN")) == (0, 0, 0), "%s: $EXTMIN" % name)
    check(tuple(doc.header.get("$EXTMAX")) == (w, l, -h),
          "%s: $EXTMAX %r, expected %r" % (name, tuple(doc.header.get("$EXTMAX")), (w, l, -h)))

    entities = list(doc.modelspace())
    check(all(e.dxftype() == "LINE" for e in entities), "%s: not only LINEs" % name)
    got = [(e.dxf.layer, tuple(e.dxf.start), tuple(e.dxf.end)) for e in entities]
    want = expected_lines(ini)
    for layer in ("ELBOW_LAYER", "SPUR_LAYER", "DROP_LAYER"):
        have = sum(1 for g in got if g[0] == layer)
        expect = sum(1 for x in want if x[0] == layer)
        check(have == expect, "%s: %d lines on %s, expected %d" % (name, have, layer, expect))
    check(got == want, "%s: lines differ from the project:\n  got  %r\n  want %r"
          % (name, got[:6], want[:6]))
    print("%s: %d lines (%s)" % (name, len(got), ", ".join(
        "%s %d" % (layer, sum(1 for g in got if g[0] == layer))
        for layer in ("ELBOW_LAYER", "SPUR_LAYER", "DROP_LAYER"))))


def check_failures(cli, project, folder):
    # A target in a folder that does not exist.
    missing = os.path.join(folder, "no such folder", "loop.dxf")
    result = run(cli, "dxf", project, "--out", missing)
    check(result.returncode == 2, "missing folder: exit status %d" % result.returncode)
    check(result.stderr.startswith(b"error: Problem writing to :\r\n" + missing.encode() + b"\r\n"),
          "missing folder: standard error %r" % result.stderr)
    check(not os.path.exists(missing), "missing folder: a file appeared")
    # A folder where the file should go: nothing is replaced.
    taken = os.path.join(folder, "taken.dxf")
    os.mkdir(taken)
    result = run(cli, "dxf", project, "--out", taken)
    check(result.returncode == 2, "folder target: exit status %d" % result.returncode)
    check(os.path.isdir(taken), "folder target: the folder went")
    # A bad command line.
    result = run(cli, "dxf")
    check(result.returncode == 64, "no FILE: exit status %d" % result.returncode)


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 64
    logging.getLogger("ezdxf").setLevel(logging.ERROR)  # the VPORT-without-TABLES layout warns
    cli, projects = sys.argv[1], sys.argv[2:]
    with tempfile.TemporaryDirectory() as folder:
        for project in projects:
            check_project(cli, project, folder)
        check_failures(cli, projects[0], folder)
    for failure in failures:
        print("FAILED: " + failure)
    print("ezdxf %s: %s" % (ezdxf.__version__, "all checks passed" if not failures
                            else "%d checks failed" % len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
