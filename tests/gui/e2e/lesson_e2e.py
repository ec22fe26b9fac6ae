#!/usr/bin/python3
"""A tutorial lesson played by the desktop program with its real video
player, driven through its accessibility tree, on a copy of the workshop
sample.

Usage: lesson_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  play-lesson-1
             Tutorials > lesson 1 (its caption file's title) opens the lesson
             window, which asks for the play button; Play starts the video:
             the first caption shows, and the frame counter Alt+F11 shows
             moves on while the video plays. The menu waits while the window
             is open.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed or lesson 1 is
not beside the program (the build makes it).
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import SKIP, Desktop, Failure, wait_for  # noqa: E402
from program_steps import exit_program, run_tests  # noqa: E402

START_TEXT = "Select the play button to begin the tutorial"
CAPTION_LINE = re.compile(r"^\s*(\d+)(?:\s+(.*?))?\s*$")


def lesson_files(program, lesson):
    folder = os.path.dirname(program)
    return [os.path.join(folder, "lesson%d.%s" % (lesson, kind)) for kind in ("wmv", "txt")]


def read_captions(path):
    """The title and the first caption with text, as the window reads them."""
    with open(path, encoding="cp1252") as captions:
        lines = captions.read().splitlines()
    for line in lines[1:]:
        match = CAPTION_LINE.match(line)
        if match and match.group(2):
            return lines[0].strip(), match.group(2)
    raise Failure("%s has no caption" % path)


def frame_of(counter):
    return int(counter.name.strip())


def play_lesson_1(run):
    _, captions = lesson_files(run.program, 1)
    title, first_caption = read_captions(captions)
    with Desktop() as desktop:
        app, _ = run.start_on_copy(desktop)
        # A menu item's "&&" is a plain "&" on the screen.
        app.choose_menu("Tutorials", title.replace("&&", "&"))
        window = app.find_dialog(title)
        app.find("label", START_TEXT, within=window)
        if app.is_enabled(app.find("menu item", "Tutorials", within=app.find("menu bar", ""))):
            raise Failure("the Tutorials menu is usable while a lesson is open")

        app.click(app.find("push button", "Play", within=window))
        app.find("label", first_caption, within=window, showing_only=True)
        app.key("alt+F11")
        counter = app.find("label", re.compile(r"^\d+$"), within=window, showing_only=True)
        start = frame_of(counter)
        wait_for("the frame counter to move on from %d" % start,
                 lambda: frame_of(counter) >= start + 10, timeout=15)

        app.key("Escape")
        app.gone(window)
        exit_program(app)


TESTS = {"play-lesson-1": play_lesson_1}

if __name__ == "__main__":
    if len(sys.argv) > 2 and not all(map(os.path.exists, lesson_files(sys.argv[2], 1))):
        print("skipped: lesson 1 is not beside the program (the build makes it)")
        sys.exit(SKIP)
    run_tests(__doc__, TESTS)
