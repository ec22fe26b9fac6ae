#!/usr/bin/python3
"""The parts list window driven through its accessibility tree, as a user's
screen reader and pointer drive it, on a copy of the workshop sample.

Usage: partslist_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  generate-and-save
             Ctrl+G opens the parts list window; Generate (each message of
             the generation answered Ok), then Save List into a new file:
             the file holds what pipeloop-cli partslist --format rtf writes
             for the same project.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Desktop, Failure, wait_for  # noqa: E402
from program_steps import exit_program, run_tests  # noqa: E402

OK = re.compile(r"^&?Ok$")


def generate(app, window):
    """Generate, answering the generation's messages, until Save List is offered."""
    app.click(app.find("push button", "Generate", within=window))
    save = app.find("push button", "Save List", within=window)

    def finished():
        if app.is_enabled(save):
            return True
        app.press(app.find("push button", OK, showing_only=True, timeout=0.5))
        return False

    wait_for("the parts list to be generated", finished, timeout=60)


def generate_and_save(run):
    with Desktop() as desktop:
        app, project = run.start_on_copy(desktop)
        target = os.path.join(desktop.folder, "parts.rtf")
        # A click on the status bar gives the main window the keyboard.
        app.click(app.find("status bar", ""))
        app.key("ctrl+g")
        window = app.find_dialog("Parts List")
        generate(app, window)

        app.click(app.find("push button", "Save List", within=window))
        dialog = app.find_dialog("Save Parts List")
        app.type_into(app.find("text", "File name:", within=dialog), target)
        app.press(app.find("push button", "Save", within=dialog))
        app.gone(dialog)
        wait_for("the parts list saved as " + target, lambda: os.path.exists(target))
        app.press(app.find("push button", "Close", within=window))
        app.gone(window)
        exit_program(app)

        expected = os.path.join(desktop.folder, "cli.rtf")
        status, _, err = run.cli("partslist", project, "--format", "rtf", "--out", expected)
        if status != 0:
            raise Failure("pipeloop-cli partslist: status %d: %s" % (status, err))
        with open(target, "rb") as saved, open(expected, "rb") as written:
            if saved.read() != written.read():
                raise Failure("the saved list %s differs from pipeloop-cli's %s"
                              % (target, expected))


TESTS = {"generate-and-save": generate_and_save}

if __name__ == "__main__":
    run_tests(__doc__, TESTS)
