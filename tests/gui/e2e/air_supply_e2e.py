#!/usr/bin/python3
"""The air analysis in the desktop program, driven through its accessibility
tree as a user's screen reader drives it, on a copy of the factory sample
whose drops were given demands by pipeloop-cli edit.

Usage: air_supply_e2e.py TEST PIPELOOP PIPELOOP_CLI SAMPLE

TEST is one of:
  analyse-factory
             Options > Analyse Air Supply: the window shows the legend,
             found by its name "Pressure (bar)", and the verdict names the
             worst drop that pipeloop-cli analyse names for the same project;
             a supply pressure typed into its field is saved with the project.

Exit status 0 passed, 1 failed (the step and what it waited for on stderr),
77 skipped because a package the run needs is not installed.
"""

import json
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Desktop, Failure, wait_for  # noqa: E402
from program_steps import exit_program, run_tests  # noqa: E402

LEGEND = "Pressure (bar)"
DEMANDS = "".join("select DROP%d\ndemand 6 usage=0.5\n" % n for n in range(1, 13))


def find_named(app, name):
    """The first control of any role whose name is name, waiting for it."""

    def probe():
        app.check_running()
        pending = [app.root]
        while pending:
            node = pending.pop()
            if node is None:
                continue
            if node.name == name:
                return node
            pending.extend(node.getChildAtIndex(i) for i in range(node.childCount))
        return None

    return wait_for("a control named %r" % name, probe)


def prepared_project(run, folder):
    """The sample with demands on its first twelve drops."""
    script = os.path.join(folder, "demands.txt")
    with open(script, "w") as ops:
        ops.write(DEMANDS)
    project = os.path.join(folder, "factory.plf")
    status, _, err = run.cli("edit", run.sample, "--script", script, "--out", project)
    if status != 0:
        raise Failure("pipeloop-cli edit: status %d: %s" % (status, err))
    return project


def analyse_factory(run):
    with Desktop() as desktop:
        project = prepared_project(run, desktop.folder)
        status, out, err = run.cli("analyse", project, "--format", "json")
        if status not in (0, 1):
            raise Failure("pipeloop-cli analyse: status %d: %s" % (status, err))
        worst = json.loads(out)["worst"]
        settings = os.path.join(desktop.folder, "settings.ini")
        app = desktop.start([run.program, project, "--settings", settings])

        app.choose_menu("Options", "Analyse Air Supply")
        legend = find_named(app, LEGEND)
        if not app.is_showing(legend):
            raise Failure("the legend %r is not showing" % LEGEND)
        app.find("label", re.compile(r"The worst drop is %s at " % re.escape(worst)),
                 showing_only=True)

        supply = app.find("text", "Supply pressure (bar)", showing_only=True)
        app.click(supply)
        app.type_into(supply, "6.5")
        app.key("Tab")
        app.press(app.find("push button", "Close", showing_only=True))
        app.gone(legend)

        app.choose_menu("File", "Save Project")
        wait_for("the supply pressure saved",
                 lambda: "SupplyPressure=6.5" in open(project, encoding="cp1252").read())
        exit_program(app)


TESTS = {"analyse-factory": analyse_factory}

if __name__ == "__main__":
    run_tests(__doc__, TESTS)
