#!/usr/bin/python3
"""The drawing on the screen in the desktop program, driven through its
accessibility tree as a user's screen reader and pointer drive it, on a copy
of a sample, and looked at in a picture of the screen.

Usage: views_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  section-on-screen
             View > North Section: the visible part of the drawing is a part
             of what `pipeloop-cli render` draws of the north section at the
             zoom the status bar shows, most of its rows pixel for pixel (the
             screen may smooth text otherwise); scrolled with
             the mouse wheel, the part brought into view is another part of
             that same picture.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed.
"""

import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Failure, Desktop, wait_for  # noqa: E402
from program_steps import exit_program, run_tests, status_texts  # noqa: E402

ZOOM = re.compile(r"^(\d+):1$")


def visible_drawing(app):
    """The part of the drawing the scroll box shows, in screen pixels."""
    import pyatspi

    drawing = app.find("filler", "Drawing")
    boxes = [accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
             for accessible in (drawing, drawing.parent)]
    left = max(box.x for box in boxes)
    top = max(box.y for box in boxes)
    right = min(box.x + box.width for box in boxes)
    bottom = min(box.y + box.height for box in boxes)
    if right - left < 100 or bottom - top < 50:
        raise Failure("the drawing shows only %dx%d pixels" % (right - left, bottom - top))
    return left, top, right, bottom


def read_picture(arguments):
    """The picture ImageMagick makes from its arguments, as rows of bytes (3 a pixel)."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "picture.ppm")
        subprocess.run(arguments + ["-depth", "8", path], check=True)
        with open(path, "rb") as picture:
            data = picture.read()
    # "P6", width, height, 255, one blank, then three bytes a pixel.
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    if not header:
        raise Failure("the picture is not an 8-bit PPM: %s" % arguments)
    width, height = int(header.group(1)), int(header.group(2))
    pixels = data[header.end():]
    return [pixels[3 * width * y:3 * width * (y + 1)] for y in range(height)]


def screen_part(area):
    left, top, right, bottom = area
    return read_picture(["import", "-window", "root", "-crop",
                         "%dx%d+%d+%d" % (right - left, bottom - top, left, top)])


def place_in(part, whole):
    """Where part lies in whole, as (x, y): the place where most of its rows
    are the same pixel for pixel (text may be smoothed differently on the
    screen); None if nowhere."""
    width = len(part[0])
    for y in range(len(whole) - len(part) + 1):
        for x in range(0, len(whole[0]) - width + 1, 3):
            same = sum(whole[y + row][x:x + width] == line for row, line in enumerate(part))
            if same >= 0.8 * len(part):
                return x // 3, y
    return None


def zoom_shown(app):
    for text in status_texts(app):
        match = ZOOM.match(text)
        if match:
            return match.group(1)
    return None


def section_on_screen(run):
    with Desktop() as desktop:
        app, project = run.start_on_copy(desktop)
        app.choose_menu("View", "North Section")
        wait_for("the caption to name the north section",
                 lambda: app.find("label", "North Section . . .", timeout=1))
        zoom = wait_for("the zoom in the status bar", lambda: zoom_shown(app))
        with tempfile.TemporaryDirectory() as folder:
            rendered = os.path.join(folder, "north.png")
            status, _, err = run.cli("render", project, "--view", "north", "--zoom", zoom,
                                     "--out", rendered)
            if status != 0:
                raise Failure("pipeloop-cli render: status %d: %s" % (status, err))
            whole = read_picture(["convert", rendered])

        area = visible_drawing(app)
        before = wait_for("the drawing on the screen to be a part of the rendered section",
                          lambda: place_in(screen_part(area), whole))
        app.pointer_to((area[0] + area[2]) // 2, (area[1] + area[3]) // 2)
        for _ in range(8):
            subprocess.run(["xdotool", "click", "7"], check=True)  # the wheel, to the right
        wait_for("the scrolled drawing to be another part of the rendered section",
                 lambda: (lambda at: at not in (None, before))(
                     place_in(screen_part(area), whole)))
        exit_program(app)


TESTS = {"section-on-screen": section_on_screen}

if __name__ == "__main__":
    run_tests(__doc__, TESTS)
