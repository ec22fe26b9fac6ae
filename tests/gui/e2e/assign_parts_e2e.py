#!/usr/bin/python3
"""Assigning parts to a drop's symbol through the drop view's pop-up, driven
through the accessibility tree as a user's screen reader and pointer drive
it, on a copy of the workshop sample.

Usage: assign_parts_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  assign-generic-part
             DROP1 selected in the plan, its FRL clicked in the drop view;
             the pop-up's Assign Generic Parts opens the user part window,
             where the catalogue's maker and a part of it are entered as a
             new user part and assigned. Saved, the FRL carries the part; the
             generated parts list orders it. At exit the new user part is not
             kept (No), and the program ends by itself.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed.
"""

import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Desktop, Failure, wait_for, xdotool  # noqa: E402
from editing_e2e import select_by_click  # noqa: E402
from partslist_e2e import generate  # noqa: E402
from program_steps import PlanPixels, run_tests, sections  # noqa: E402

DROP_AT = (3500, 500)  # DROP1: an FRL above its hose
MAKER = "ZAVOZA"  # the demo catalogue's maker
PART = "90000-50"  # in the catalogue, in no list the sample makes by itself


def select_symbol(app, keyword):
    """Clicks down the middle of the drop view until it says the symbol is
    selected; returns where it was."""
    view = app.find("filler", "Drop View")
    x0, y0 = app.widget_origin(view)
    x, bottom = app.centre(view)[0], y0 + 2 * (app.centre(view)[1] - y0)
    for y in range(y0 + 2, bottom, 4):
        app.click_screen(x, y)
        if view.description == keyword:
            return x, y
    raise Failure("no click in the drop view selected its %s" % keyword)


def child_named(data, name):
    """An item of a list or a cell of a table (the finder does not look
    inside them), waiting until it is there."""

    def probe():
        for index in range(data.childCount):
            child = data.getChildAtIndex(index)
            if child is not None and child.name == name:
                return child
        return None

    return wait_for("%r in %s %r" % (name, data.getRoleName(), data.name), probe)


def assign_in_user_part_window(app, window):
    app.click(app.find("page tab", "User Parts DB", within=window))
    app.type_into(app.find("text", "Enter New Manufacturer", within=window), MAKER)
    app.type_into(app.find("text", "New Part Number", within=window), PART)
    app.press(app.find("push button", "Add New Part & Manufacturer", within=window))
    app.click(app.find("page tab", "Assign Parts", within=window))
    app.click(child_named(app.find("list", "Part Numbers", within=window), PART))
    app.press(app.find("push button", "Add Part", within=window))
    child_named(app.find("table", "Assigned Parts", within=window), PART)
    app.press(app.find("push button", "Ok", within=window))
    app.gone(window)


def assign_generic_part(run):
    with Desktop() as desktop:
        app, project = run.start_on_copy(desktop)
        plan = PlanPixels(app)
        select_by_click(app, plan, DROP_AT, "DROP1")
        x, y = select_symbol(app, "FRL")

        app.pointer_to(x, y)
        xdotool("click", "3")  # the drop view's pop-up
        # Its menu is not in the accessibility tree: the keys a user's reader
        # uses walk it (Add, Delete, Move Up, Move Down; the hose item is off).
        time.sleep(0.5)
        app.key(*(["Down"] * 5 + ["Return"]))
        assign_in_user_part_window(app, app.find_dialog("User Part Selector : FRL"))

        app.choose_menu("File", "Save Project")
        assigned = "%s:%s" % (MAKER, PART)
        try:
            wait_for("the saved DROP1's FRL to carry %s" % assigned,
                     lambda: assigned in sections(project, "Drop")[0].get("PART1", "").split("+"))
        except Failure as failure:
            raise Failure("%s; it holds %s" % (failure, sections(project, "Drop")[0]))

        app.click(app.find("status bar", ""))
        app.key("ctrl+g")
        window = app.find_dialog("Parts List")
        generate(app, window)
        report = app.find("text", re.compile(r""), within=window)
        wait_for("the parts list to order " + PART,
                 lambda: PART in report.queryText().getText(0, -1))
        app.press(app.find("push button", "Close", within=window))
        app.gone(window)

        app.choose_menu("File", "Exit")
        question = app.find_dialog("PIPELOOP", re.compile("You have added your own part numbers"))
        app.press(app.find("push button", re.compile(r"^&?No$"), within=question))
        status = app.wait_exit()
        if status != 0:
            raise Failure("the program ended with status %d" % status)


TESTS = {"assign-generic-part": assign_generic_part}

if __name__ == "__main__":
    run_tests(__doc__, TESTS)
