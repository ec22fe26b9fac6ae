#!/usr/bin/python3
"""Drives `pipeloop-cli picture` end to end (the rules and the command line's
contract) and checks what it writes.

Usage: picture_cli_check.py PIPELOOP_CLI PROJECT [COMPRESSOR_HOUSE]

PROJECT must be a pipe loop project; COMPRESSOR_HOUSE, if given, a
compressor house (which has only the plan).

- Every view in every format: exit status 0, nothing on standard error, the
  format's signature, and the picture the size of the drawing area the main
  window gives that view at the project's zoom on a 96 dpi screen (the rules:
  Round(extent x 96 / 25.4 / Z) + 36, halves to even).
- --width, --height and --zoom set the area and the scale; --format and
  standard output; the EMF bounds and frame and the placeable WMF box follow
  the size.
- Bad arguments give 64; a write failure gives 2 with "Problem writing to :"
  and leaves no file (and an existing one as it was).
"""

import os
import struct
import subprocess
import sys
import tempfile

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(cli, *args):
    return subprocess.run([cli, *args], capture_output=True,
                          env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))


def read_ini(path):
    sections, current = {}, None
    with open(path, "rb") as f:
        for raw in f.read().decode("cp1252").splitlines():
            line = raw.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1].strip().lower(), {})
            elif current is not None and "=" in line:
                key, value = line.split("=", 1)
                current.setdefault(key.strip().lower(), value.strip())
    return sections


def area(ini, view, zoom):
    building = ini["building"]
    w, l, h = (int(building[k]) for k in ("roomew", "roomns", "roomhg"))
    across, down = {"plan": (w, l), "north": (w, h), "south": (w, h),
                    "east": (l, h), "west": (l, h)}[view]
    z = max(zoom, 5)
    return (round(across * 96 / 25.4 / z) + 36, round(down * 96 / 25.4 / z) + 36)


def picture_size(data, fmt):
    """The picture's size in pixels as its own header states it."""
    if fmt == "png":
        return struct.unpack(">II", data[16:24])
    if fmt == "bmp":
        return struct.unpack("<ii", data[18:26])
    if fmt == "emf":
        left, top, right, bottom = struct.unpack("<iiii", data[8:24])
        return (right - left + 1, bottom - top + 1)
    if fmt == "wmf":
        left, top, right, bottom = struct.unpack("<hhhh", data[6:14])
        return (right - left, bottom - top)
    return None


SIGNATURES = {
    "png": lambda d: d.startswith(b"\x89PNG\r\n\x1a\n"),
    "bmp": lambda d: d.startswith(b"BM") and struct.unpack("<I", d[2:6])[0] == len(d),
    "emf": lambda d: struct.unpack("<I", d[:4])[0] == 1 and d[40:44] == b" EMF"
                     and struct.unpack("<I", d[48:52])[0] == len(d),
    "wmf": lambda d: d[:4] == b"\xd7\xcd\xc6\x9a",
    "svg": lambda d: b"<svg" in d[:2000],
    "pdf": lambda d: d.startswith(b"%PDF-"),
}


def check_views(cli, project, folder, views):
    ini = read_ini(project)
    name = os.path.basename(project)
    for view in views:
        zoom = int(ini["project"].get("zoomfactor" + view, 20))
        want = area(ini, view, zoom)
        for fmt, signature in SIGNATURES.items():
            out = os.path.join(folder, "%s-%s.%s" % (name, view, fmt))
            result = run(cli, "picture", project, "--view", view, "--out", out)
            label = "%s %s %s" % (name, view, fmt)
            check(result.returncode == 0, "%s: exit status %d %r" % (label, result.returncode,
                                                                      result.stderr))
            check(result.stderr == b"", "%s: standard error %r" % (label, result.stderr))
            if result.returncode != 0:
                continue
            with open(out, "rb") as f:
                data = f.read()
            check(signature(data), "%s: no %s signature" % (label, fmt))
            size = picture_size(data, fmt)
            if size is not None:
                check(tuple(size) == want, "%s: size %r, expected %r" % (label, size, want))
        print("%s %s: %dx%d at 1:%d" % (name, view, want[0], want[1], zoom))


def check_options(cli, project, folder):
    out = os.path.join(folder, "sized.png")
    result = run(cli, "picture", project, "--view", "north", "--width", "400", "--height",
                 "300", "--zoom", "50", "--out", out)
    check(result.returncode == 0, "sized: exit status %d" % result.returncode)
    with open(out, "rb") as f:
        check(picture_size(f.read(), "png") == (400, 300), "sized: not 400 x 300")
    for fmt in ("emf", "wmf", "bmp"):
        result = run(cli, "picture", project, "--width", "321", "--height", "123",
                     "--format", fmt)
        check(result.returncode == 0, "stdout %s: exit status %d" % (fmt, result.returncode))
        check(SIGNATURES[fmt](result.stdout), "stdout %s: no signature" % fmt)
        check(tuple(picture_size(result.stdout, fmt)) == (321, 123),
              "stdout %s: size %r" % (fmt, picture_size(result.stdout, fmt)))
    # --format wins over the suffix of --out.
    out = os.path.join(folder, "named.png")
    run(cli, "picture", project, "--format", "wmf", "--out", out)
    with open(out, "rb") as f:
        check(SIGNATURES["wmf"](f.read()), "--format wmf with a .png name")


def check_failures(cli, project, folder, compressor_house):
    for args in (["--view", "up"], ["--width", "0"], ["--zoom", "x"], ["--format", "gif"],
                 ["--out", os.path.join(folder, "plan.gif")], ["--height", "40000"]):
        result = run(cli, "picture", project, *args)
        check(result.returncode == 64, "%r: exit status %d" % (args, result.returncode))
        check(result.stderr.startswith(b"error: "), "%r: standard error %r"
              % (args, result.stderr))
    if compressor_house:
        result = run(cli, "picture", compressor_house, "--view", "east", "--format", "png")
        check(result.returncode == 64, "compressor house section: exit status %d"
              % result.returncode)
    missing = os.path.join(folder, "no such folder", "plan.emf")
    result = run(cli, "picture", project, "--out", missing)
    check(result.returncode == 2, "missing folder: exit status %d" % result.returncode)
    check(result.stderr.startswith(b"error: Problem writing to :\r\n" + missing.encode() + b"\r\n"),
          "missing folder: standard error %r" % result.stderr)
    check(not os.path.exists(missing), "missing folder: a file appeared")
    taken = os.path.join(folder, "taken.png")
    os.mkdir(taken)
    result = run(cli, "picture", project, "--out", taken)
    check(result.returncode == 2, "folder target: exit status %d" % result.returncode)
    check(os.path.isdir(taken), "folder target: the folder went")


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 64
    cli, project = sys.argv[1], sys.argv[2]
    compressor_house = sys.argv[3] if len(sys.argv) > 3 else None
    with tempfile.TemporaryDirectory() as folder:
        check_views(cli, project, folder, ("plan", "north", "east", "south", "west"))
        if compressor_house:
            check_views(cli, compressor_house, folder, ("plan",))
        check_options(cli, project, folder)
        check_failures(cli, project, folder, compressor_house)
    for failure in failures:
        print("FAILED: " + failure)
    print("all checks passed" if not failures else "%d checks failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
