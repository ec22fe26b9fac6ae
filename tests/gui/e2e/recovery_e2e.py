#!/usr/bin/python3
"""A design's unsaved changes survive the program being killed, driven
through the accessibility tree as a user's screen reader and pointer drive
it, on a copy of the workshop sample.

Usage: recovery_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  kill-and-recover
             settings that autosave every second; a drop selected by a click
             in the plan and deleted through Edit > Delete Selected; once the
             recovery copy holds the change the program is killed (SIGKILL).
             Started again on the same project, it asks whether to recover
             the copy; Yes shows the project modified under its own name,
             and File > Save Project writes the change to the user's file.
             A clean exit then leaves no copy behind.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed.
"""

import glob
import os
import re
import signal
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Desktop, Failure, wait_for  # noqa: E402
from program_steps import PlanPixels, exit_program, run_tests, sections, status_texts  # noqa: E402

# DROP2 of the workshop stands alone on the north run of the ring main.
DROP_AT = (7500, 500)
DROP = "DROP2"


def copies(folder):
    return glob.glob(os.path.join(folder, "pipeloop-recovery", "*.copy"))


def copy_without_drop(folder):
    """The recovery copy once it holds the deletion, else None."""
    for copy in copies(folder):
        names = [drop.get("Name") for drop in sections(copy, "Drop")]
        if names and DROP not in names:
            return copy
    return None


def kill_and_recover(run):
    with Desktop() as desktop:
        settings = os.path.join(desktop.folder, "settings.ini")
        with open(settings, "w") as ini:
            ini.write("[PL4ZAVOZA]\nAutoSaveInterval=1\n")
        app, project = run.start_on_copy(desktop)
        drops = len(sections(project, "Drop"))

        plan = PlanPixels(app)
        plan.click(*DROP_AT)
        wait_for("the status bar to name %s, selected by a click" % DROP,
                 lambda: DROP in status_texts(app))
        app.choose_menu("Edit", "Delete Selected")
        question = app.find_dialog("PIPELOOP", "Delete %s ?" % DROP)
        app.press(app.find("push button", "Yes", within=question))
        app.gone(question)
        wait_for("the recovery copy without %s" % DROP, lambda: copy_without_drop(desktop.folder))
        if len(sections(project, "Drop")) != drops:
            raise Failure("the autosave wrote over the user's file")

        os.kill(app.process.pid, signal.SIGKILL)
        app.process.wait(10)

        app = desktop.start([run.program, project, "--settings", settings])
        question = app.find_dialog(
            "PIPELOOP", re.compile(r"^The project .*workshop\.plf was not saved when PIPELOOP "
                                   r"stopped on .+\.\s+Recover it \?$"))
        app.press(app.find("push button", "Yes", within=question))
        app.gone(question)
        # The title names the project and marks it modified.
        app.find("frame", re.compile(r"^PIPELOOP - workshop\.plf\*$"))
        app.choose_menu("File", "Save Project")
        wait_for("the saved project to hold %d drops" % (drops - 1),
                 lambda: run.info(project)["Drops"] == str(drops - 1))
        if DROP in [drop.get("Name") for drop in sections(project, "Drop")]:
            raise Failure("the saved project still holds %s" % DROP)
        exit_program(app)
        if copies(desktop.folder):
            raise Failure("a clean exit left recovery copies: %s" % copies(desktop.folder))


TESTS = {"kill-and-recover": kill_and_recover}

if __name__ == "__main__":
    run_tests(__doc__, TESTS)
