#!/usr/bin/python3
"""The desktop program driven through its accessibility tree, as a user's
screen reader and pointer drive it, on a copy of the workshop sample.

Usage: adding_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  save-as    File > Save Project As, the file dialog answered with a new
             name: the file written holds the same design as the sample.
  add-drop-and-spur
             a drop and a spur added by clicks on the loop in the plan,
             then File > Save Project: the saved design has one drop and one
             spur more, and its parts list is made.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Desktop, Failure, wait_for  # noqa: E402
from program_steps import PlanPixels, exit_program, placed, run_tests  # noqa: E402


def check_new_position(kind, before, after, aimed_at, tolerance):
    """One object more than before, within tolerance (mm) of where the click
    aimed, coordinate by coordinate."""
    added = [position for position in after if position not in before]
    if len(after) != len(before) + 1 or len(added) != 1:
        raise Failure("%s: %s before, %s after adding one" % (kind, before, after))
    if any(abs(got - aimed) > tolerance for got, aimed in zip(added[0], aimed_at)):
        raise Failure("the new %s is at %s, the click aimed at %s" % (kind, added[0], aimed_at))


def save_as(run):
    with Desktop() as desktop:
        app, project = run.start_on_copy(desktop)
        target = os.path.join(desktop.folder, "saved-as.plf")
        app.choose_menu("File", "Save Project As")
        dialog = app.find_dialog("Save Project")
        app.type_into(app.find("text", "File name:", within=dialog), target)
        app.press(app.find("push button", "Save", within=dialog))
        app.gone(dialog)
        wait_for("the project saved as " + target, lambda: os.path.exists(target))
        exit_program(app)
        before, after = run.info(project), run.info(target)
        if before != after:
            raise Failure("saved as %s, the design differs from the sample's:\n%s\n%s"
                          % (target, before, after))


SPUR_KEYS = ("NS", "EW", "NS2", "EW2")


def add_drop_and_spur(run):
    # (EW, NS) of free points of the workshop's ring main (500 mm inside the
    # walls of a 15 x 9 m building): the north run east of DROP4, the east
    # run south of DROP5, and a free point inside the ring. Each is on the
    # 1 m grid the clicks snap to by default.
    drop_at = (13000, 500)
    spur_start, spur_end = (14500, 7000), (12000, 7000)
    with Desktop() as desktop:
        app, project = run.start_on_copy(desktop)
        before = run.info(project)
        drops, spurs = placed(project, "Drop"), placed(project, "Spur", SPUR_KEYS)
        plan = PlanPixels(app)

        app.click(app.find("push button", "Drop"))
        app.find_dialog("ADD DROPS")
        plan.click(*drop_at)
        drop_dialog = app.find_dialog("New Drop Attributes")
        app.press(app.find("push button", "Ok", within=drop_dialog))
        app.gone(drop_dialog)
        prompt = app.find_dialog(re.compile("^ADD DROPS?$"))
        app.press(app.find("push button", "Done", within=prompt))
        app.gone(prompt)

        app.click(app.find("push button", "Spur"))
        app.find_dialog("SPUR", "Select the spur start position on either the pipe loop or a spur.")
        plan.click(*spur_start)
        app.find_dialog("SPUR", "Select the spur end position.")
        plan.click(*spur_end)
        size_entry = app.find_dialog("NEW SPUR")
        app.press(app.find("push button", "Ok", within=size_entry))
        app.gone(size_entry)

        app.choose_menu("File", "Save Project")
        wait_for("the project saved",
                 lambda: run.info(project)["Drops"] != before["Drops"])
        exit_program(app)

        after = run.info(project)
        for key in ("Drops", "Spurs"):
            if int(after[key]) != int(before[key]) + 1:
                raise Failure("%s: %s before, %s after adding one" % (key, before[key], after[key]))
        # A pixel of the plan is about 20 mm: the objects stand where the
        # clicks aimed, give or take two pixels (the drop snapped onto the pipe).
        tolerance = 2 / min(plan.x_per_mm, plan.y_per_mm)
        check_new_position("drop", drops, placed(project, "Drop"), drop_at[::-1], tolerance)
        check_new_position("spur", spurs, placed(project, "Spur", SPUR_KEYS),
                           spur_start[::-1] + spur_end[::-1], tolerance)
        status, _, err = run.cli("partslist", project)
        if status != 0:
            raise Failure("pipeloop-cli partslist on the saved project: status %d: %s"
                          % (status, err))


TESTS = {"save-as": save_as, "add-drop-and-spur": add_drop_and_spur}

if __name__ == "__main__":
    run_tests(__doc__, TESTS)
