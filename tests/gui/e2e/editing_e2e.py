#!/usr/bin/python3
"""Editing what a design holds in the desktop program, driven through its
accessibility tree as a user's screen reader and pointer drive it, on a copy
of the workshop sample.

Usage: editing_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  delete-undo-label
             a drop selected by a click in the plan and deleted with the
             Delete key (the question answered Yes), saved: the file has one
             drop less; then Edit > Undo, the drop selected again and
             relabelled through Edit > Selected Object Label, saved: the file
             has every drop of the sample, the relabelled one with its new
             label and otherwise as it was.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Desktop, Failure, wait_for  # noqa: E402
from program_steps import PlanPixels, exit_program, run_tests, sections, status_texts  # noqa: E402

# DROP2 of the workshop stands alone on the north run of the ring main.
DROP_AT = (7500, 500)
DROP = "DROP2"
NEW_LABEL = "BENCH FEED"


def select_by_click(app, plan, at, label):
    """A click on the plan at `at` (EW, NS); the status bar then names the
    object selected."""
    plan.click(*at)
    try:
        wait_for("the status bar to name %s, selected by a click at %s" % (label, at),
                 lambda: label in status_texts(app))
    except Failure as failure:
        raise Failure("%s; it shows %s" % (failure, status_texts(app)))


def save_and_count_drops(app, run, project, expected):
    """File > Save Project, waiting until the saved file holds `expected` drops."""
    app.choose_menu("File", "Save Project")
    wait_for("the saved project to hold %d drops" % expected,
             lambda: run.info(project)["Drops"] == str(expected))


def check_relabelled(before, after):
    """The drops after are those before, DROP renamed NEW_LABEL, in the same order."""
    if not any(drop["Name"] == DROP for drop in before):
        raise Failure("the sample has no drop %s" % DROP)
    expected = [dict(drop, Name=NEW_LABEL) if drop["Name"] == DROP else drop for drop in before]
    if after != expected:
        changed = [(was, now) for was, now in zip(expected, after) if was != now]
        raise Failure("the saved drops differ from the sample's with %s relabelled %r: %s"
                      % (DROP, NEW_LABEL, changed or after))


def delete_undo_label(run):
    with Desktop() as desktop:
        app, project = run.start_on_copy(desktop)
        before, drops = run.info(project), sections(project, "Drop")
        plan = PlanPixels(app)

        select_by_click(app, plan, DROP_AT, DROP)
        app.key("Delete")
        question = app.find_dialog("PIPELOOP", "Delete %s ?" % DROP)
        app.press(app.find("push button", "Yes", within=question))
        app.gone(question)
        wait_for("the status bar to forget the deleted %s" % DROP,
                 lambda: DROP not in status_texts(app))
        save_and_count_drops(app, run, project, len(drops) - 1)

        app.choose_menu("Edit", "Undo")
        select_by_click(app, plan, DROP_AT, DROP)
        app.choose_menu("Edit", "Selected Object Label")
        dialog = app.find_dialog("Object Label")
        app.type_into(app.find("text", "Enter label :", within=dialog), NEW_LABEL)
        app.press(app.find("push button", "OK", within=dialog))
        app.gone(dialog)
        wait_for("the status bar to show the new label %r" % NEW_LABEL,
                 lambda: NEW_LABEL in status_texts(app))
        save_and_count_drops(app, run, project, len(drops))
        exit_program(app)

        after = run.info(project)
        if after != before:
            raise Failure("after the delete was undone the design differs from the sample's:\n"
                          "%s\n%s" % (before, after))
        check_relabelled(drops, sections(project, "Drop"))


TESTS = {"delete-undo-label": delete_undo_label}

if __name__ == "__main__":
    run_tests(__doc__, TESTS)
