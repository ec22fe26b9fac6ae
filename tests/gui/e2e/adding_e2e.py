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
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Desktop, Failure, run_on_private_bus, wait_for  # noqa: E402

TEST, PROGRAM, CLI, SAMPLE = (sys.argv[1:5] + [None] * 4)[:4]


def cli(*arguments):
    result = subprocess.run([CLI] + list(arguments), capture_output=True, text=True, timeout=60,
                            env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    return result.returncode, result.stdout, result.stderr


def info(path):
    """pipeloop-cli info's "Key: value" lines, without the file's name."""
    status, out, err = cli("info", path)
    if status != 0:
        raise Failure("pipeloop-cli info %s: status %d: %s" % (path, status, err))
    lines = dict(line.split(": ", 1) for line in out.splitlines() if ": " in line)
    lines.pop("File", None)
    return lines


def placed(path, section_prefix, keys=("NS", "EW")):
    """The positions of one kind of object in a project file: (NS, EW) of
    every [Drop1], [Drop2], ... section, or the keys asked for."""
    with open(path, encoding="cp1252") as project:
        text = project.read()
    positions = []
    for match in re.finditer(r"^\[%s\d+\]\s*$(.*?)(?=^\[|\Z)" % section_prefix, text,
                             re.MULTILINE | re.DOTALL):
        values = dict(re.findall(r"^(\w+)=(.*?)\s*$", match.group(1), re.MULTILINE))
        positions.append(tuple(int(values[key]) for key in keys))
    return positions


def check_new_position(kind, before, after, aimed_at, tolerance):
    """One object more than before, within tolerance (mm) of where the click
    aimed, coordinate by coordinate."""
    added = [position for position in after if position not in before]
    if len(after) != len(before) + 1 or len(added) != 1:
        raise Failure("%s: %s before, %s after adding one" % (kind, before, after))
    if any(abs(got - aimed) > tolerance for got, aimed in zip(added[0], aimed_at)):
        raise Failure("the new %s is at %s, the click aimed at %s" % (kind, added[0], aimed_at))


def start_on_copy(desktop):
    """The program on a copy of the sample, with settings of its own."""
    project = os.path.join(desktop.folder, os.path.basename(SAMPLE))
    shutil.copyfile(SAMPLE, project)
    settings = os.path.join(desktop.folder, "settings.ini")
    app = desktop.start([PROGRAM, project, "--settings", settings])
    return app, project


def exit_program(app):
    """File > Exit; the program must end by itself, with status 0, asking
    nothing since all was saved."""
    app.choose_menu("File", "Exit")
    status = app.wait_exit()
    if status != 0:
        raise Failure("the program ended with status %d" % status)


def save_as():
    with Desktop() as desktop:
        app, project = start_on_copy(desktop)
        target = os.path.join(desktop.folder, "saved-as.plf")
        app.choose_menu("File", "Save Project As")
        dialog = app.find_dialog("Save Project")
        app.type_into(app.find("text", "File name:", within=dialog), target)
        app.press(app.find("push button", "Save", within=dialog))
        app.gone(dialog)
        wait_for("the project saved as " + target, lambda: os.path.exists(target))
        exit_program(app)
        before, after = info(project), info(target)
        if before != after:
            raise Failure("saved as %s, the design differs from the sample's:\n%s\n%s"
                          % (target, before, after))


# ------------------------------------------------------------ the plan's pixels

# The status bar's panels while the pointer is over the plan: east-west,
# then north-south, in the design's units.
COORDINATE = re.compile(r"^\s*([0-9.]+)(m|mm)\s+(EW|NS)\s*$")


class PlanPixels:
    """Where a plan position lies on the screen, measured as a user would:
    the pointer moved to two points of the drawing and the position the
    status bar shows read back."""

    def __init__(self, app):
        self.app = app
        drawing = app.find("filler", "Drawing")
        x0, y0 = app.widget_origin(drawing)
        first, second = (x0 + 40, y0 + 40), (x0 + 240, y0 + 200)
        (ew1, ns1), (ew2, ns2) = self.position_at(*first), self.position_at(*second)
        if ew1 == ew2 or ns1 == ns2:
            raise Failure("the status bar shows the same position at two points of the plan")
        self.x_per_mm = (second[0] - first[0]) / (ew2 - ew1)
        self.y_per_mm = (second[1] - first[1]) / (ns2 - ns1)
        self.origin = (first[0] - ew1 * self.x_per_mm, first[1] - ns1 * self.y_per_mm)

    def status_position(self):
        bar = self.app.find("status bar", "")
        found = {}
        for index in range(bar.childCount):
            match = COORDINATE.match(bar.getChildAtIndex(index).name or "")
            if match:
                value = float(match.group(1)) * (1000 if match.group(2) == "m" else 1)
                found[match.group(3)] = value
        return (found["EW"], found["NS"]) if len(found) == 2 else None

    def position_at(self, x, y):
        self.app.pointer_to(x, y)
        return wait_for("the status bar's position at pixel (%d, %d)" % (x, y),
                        self.status_position)

    def pixel(self, ew, ns):
        return (round(self.origin[0] + ew * self.x_per_mm),
                round(self.origin[1] + ns * self.y_per_mm))

    def click(self, ew, ns):
        self.app.click_screen(*self.pixel(ew, ns))


SPUR_KEYS = ("NS", "EW", "NS2", "EW2")


def add_drop_and_spur():
    # (EW, NS) of free points of the workshop's ring main (500 mm inside the
    # walls of a 15 x 9 m building): the north run east of DROP4, the east
    # run south of DROP5, and a free point inside the ring. Each is on the
    # 1 m grid the clicks snap to by default.
    drop_at = (13000, 500)
    spur_start, spur_end = (14500, 7000), (12000, 7000)
    with Desktop() as desktop:
        app, project = start_on_copy(desktop)
        before = info(project)
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
                 lambda: info(project)["Drops"] != before["Drops"])
        exit_program(app)

        after = info(project)
        for key in ("Drops", "Spurs"):
            if int(after[key]) != int(before[key]) + 1:
                raise Failure("%s: %s before, %s after adding one" % (key, before[key], after[key]))
        # A pixel of the plan is about 20 mm: the objects stand where the
        # clicks aimed, give or take two pixels (the drop snapped onto the pipe).
        tolerance = 2 / min(plan.x_per_mm, plan.y_per_mm)
        check_new_position("drop", drops, placed(project, "Drop"), drop_at[::-1], tolerance)
        check_new_position("spur", spurs, placed(project, "Spur", SPUR_KEYS),
                           spur_start[::-1] + spur_end[::-1], tolerance)
        status, _, err = cli("partslist", project)
        if status != 0:
            raise Failure("pipeloop-cli partslist on the saved project: status %d: %s"
                          % (status, err))


TESTS = {"save-as": save_as, "add-drop-and-spur": add_drop_and_spur}

if __name__ == "__main__":
    if TEST not in TESTS or None in (PROGRAM, CLI, SAMPLE):
        print(__doc__, file=sys.stderr)
        sys.exit(64)
    run_on_private_bus(TESTS[TEST])
