#!/usr/bin/python3
"""The help from the desktop program, driven through its accessibility tree
as a user's screen reader and keyboard drive it, on a copy of the workshop
sample.

Usage: help_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  f1-contents
             F1 in the main window opens the help window at its contents
             page; the program still ends cleanly by File > Exit with the
             help window open.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Desktop, Failure, wait_for  # noqa: E402
from program_steps import run_tests  # noqa: E402

CONTENTS_TEXT = "PIPELOOP designs compressed-air ring mains"


def page_text(page):
    text = page.queryText()
    return text.getText(0, text.characterCount)


def f1_contents(run):
    with Desktop() as desktop:
        app, _ = run.start_on_copy(desktop)
        app.click(app.find("filler", "Drawing"))
        app.key("F1")
        window = app.find("frame", "PIPELOOP Help", showing_only=True)
        # A read-only page is read out as a label.
        page = app.find("label", "Help page", within=window)
        try:
            wait_for("the help window to show its contents page",
                     lambda: CONTENTS_TEXT in page_text(page))
        except Failure as failure:
            raise Failure("%s; it shows %r" % (failure, page_text(page)[:200]))
        # The help window lies over the main window's menu bar: File > Exit
        # through the menu's accessible actions, not the pointer.
        exit_item = app.find("menu item", "Exit", within=app.find("menu item", "File"))
        app.press(exit_item)
        status = app.wait_exit()
        if status != 0:
            raise Failure("the program ended with status %d with its help window open" % status)


TESTS = {"f1-contents": f1_contents}

if __name__ == "__main__":
    run_tests(__doc__, TESTS)
