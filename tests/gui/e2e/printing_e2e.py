#!/usr/bin/python3
"""Printing from the desktop program, driven through its accessibility tree as
a user's screen reader and pointer drive it, on a copy of the factory sample.

Usage: printing_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  print-all-views
             File > Print Setup: each view chosen and fitted with Best Fit
             Scaling, the window closed; File > Print All Views, "Print to
             PDF" with a file name typed into the print dialog: the PDF has a
             page for every view, in order, each with the project's title
             block, and reads as pipeloop-cli print --view all --scale best
             prints the same project.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed.
"""

import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Desktop, Failure, wait_for  # noqa: E402
from program_steps import exit_program, run_tests  # noqa: E402

VIEWS = ("Plan", "North", "East", "South", "West")
YES = re.compile(r"^&?Yes$")


def pdf_pages(path):
    """The text of each page of a PDF, as pdftotext reads it."""
    result = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, text=True,
                            timeout=60)
    if result.returncode != 0:
        raise Failure("pdftotext %s: %s" % (path, result.stderr))
    return result.stdout.split("\f")[:-1]


def pdf_title(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True, timeout=60).stdout
    match = re.search(r"^Title: +(.*)$", info, re.MULTILINE)
    return match.group(1).strip() if match else ""


def answer_if_asked(app, answer, timeout=5):
    """Presses the answer of a question box if one shows within timeout."""
    try:
        button = app.find("push button", answer, showing_only=True, timeout=timeout)
    except Failure:
        return
    app.press(button)


def fit_every_view(app):
    app.choose_menu("File", "Print Setup")
    window = app.find_dialog(re.compile(r"^Print Setup"))
    # The plan does not fit at the sample's scale: the window offers to adjust it.
    answer_if_asked(app, YES)
    for view in VIEWS:
        app.click(app.find("radio button", view, within=window))
        app.click(app.find("push button", "Best Fit Scaling", within=window))
    app.press(app.find("push button", "Close", within=window))
    app.gone(window)


def print_all_views(run):
    with Desktop() as desktop:
        app, project = run.start_on_copy(desktop)
        target = os.path.join(desktop.folder, "factory views.pdf")
        fit_every_view(app)

        app.choose_menu("File", "Print All Views")
        dialog = app.find_dialog("Print All Views")
        # With no printer installed the dialog offers "Print to PDF" first,
        # and its file name can be typed.
        pdf_file = app.find("text", "PDF file:", within=dialog)
        if not app.is_enabled(pdf_file):
            raise Failure("the print dialog does not offer a PDF file name")
        app.type_into(pdf_file, target)
        app.click(app.find("push button", "Print", within=dialog))
        app.gone(dialog)
        wait_for("the views printed to " + target, lambda: os.path.exists(target), timeout=60)

        # The print settings are the user's own, not the project's: nothing to save.
        exit_program(app)

        pages = pdf_pages(target)
        if len(pages) < len(VIEWS):
            raise Failure("%d pages printed, one for each of %d views expected"
                          % (len(pages), len(VIEWS)))
        description = run.info(project)["Description"]
        for number, page in enumerate(pages[:len(VIEWS)], 1):
            if description not in page:
                raise Failure("page %d has no title block naming %r:\n%s"
                              % (number, description, page))
        if pdf_title(target) != description:
            raise Failure("the PDF is titled %r, not %r" % (pdf_title(target), description))

        expected = os.path.join(desktop.folder, "cli.pdf")
        status, _, err = run.cli("print", project, "--view", "all", "--scale", "best", "--out",
                                 expected)
        if status != 0:
            raise Failure("pipeloop-cli print: status %d: %s" % (status, err))
        if pages != pdf_pages(expected):
            raise Failure("the printed pages read differently from pipeloop-cli's %s" % expected)


TESTS = {"print-all-views": print_all_views}

if __name__ == "__main__":
    run_tests(__doc__, TESTS)
