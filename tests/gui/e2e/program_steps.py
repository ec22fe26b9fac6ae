"""Steps the end-to-end scripts share: the program started on a copy of a
sample, the command line's view of a saved project, the plan's pixels
measured through the status bar, a clean exit.

A script's command line is TEST PIPELOOP PIPELOOP_CLI SAMPLE; run_tests()
reads it and calls the named test with a Programs for the three paths.
"""

import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from a11y_harness import Failure, run_on_private_bus, wait_for  # noqa: E402

# Wrong arguments, as the command line's usage status.
USAGE = 64


class Programs:
    """The program under test, its command-line twin and the sample they start from."""

    def __init__(self, program, cli, sample):
        self.program = program
        self.cli_program = cli
        self.sample = sample

    def cli(self, *arguments):
        result = subprocess.run([self.cli_program] + list(arguments), capture_output=True,
                                text=True, timeout=60,
                                env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        return result.returncode, result.stdout, result.stderr

    def info(self, path):
        """pipeloop-cli info's "Key: value" lines, without the file's name."""
        status, out, err = self.cli("info", path)
        if status != 0:
            raise Failure("pipeloop-cli info %s: status %d: %s" % (path, status, err))
        lines = dict(line.split(": ", 1) for line in out.splitlines() if ": " in line)
        lines.pop("File", None)
        return lines

    def start_on_copy(self, desktop):
        """The program on a copy of the sample, with settings of its own."""
        project = os.path.join(desktop.folder, os.path.basename(self.sample))
        shutil.copyfile(self.sample, project)
        settings = os.path.join(desktop.folder, "settings.ini")
        app = desktop.start([self.program, project, "--settings", settings])
        return app, project


def run_tests(usage, tests):
    """Runs the test the command line names, or prints usage and exits 64."""
    arguments = sys.argv[1:]
    if len(arguments) != 4 or arguments[0] not in tests:
        print(usage, file=sys.stderr)
        sys.exit(USAGE)
    test, program, cli, sample = arguments
    run_on_private_bus(lambda: tests[test](Programs(program, cli, sample)))


def sections(path, prefix):
    """The "Key=value" pairs of every [Prefix1], [Prefix2], ... section of a
    project file, in the file's order."""
    with open(path, encoding="cp1252") as project:
        text = project.read()
    return [dict(re.findall(r"^(\w+)=(.*?)\s*$", match.group(1), re.MULTILINE))
            for match in re.finditer(r"^\[%s\d+\]\s*$(.*?)(?=^\[|\Z)" % prefix, text,
                                     re.MULTILINE | re.DOTALL)]


def placed(path, prefix, keys=("NS", "EW")):
    """The positions of one kind of object in a project file: (NS, EW) of
    every [Drop1], [Drop2], ... section, or the keys asked for."""
    return [tuple(int(values[key]) for key in keys) for values in sections(path, prefix)]


def exit_program(app):
    """File > Exit; the program must end by itself, with status 0, asking
    nothing since all was saved."""
    app.choose_menu("File", "Exit")
    status = app.wait_exit()
    if status != 0:
        raise Failure("the program ended with status %d" % status)


# The status bar's panels while the pointer is over the plan: east-west,
# then north-south, in the design's units.
COORDINATE = re.compile(r"^\s*([0-9.]+)(m|mm)\s+(EW|NS)\s*$")


def status_texts(app):
    """The texts of the status bar's panels, blanks around them trimmed."""
    bar = app.find("status bar", "")
    return [(bar.getChildAtIndex(index).name or "").strip() for index in range(bar.childCount)]


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
        found = {}
        for text in status_texts(self.app):
            match = COORDINATE.match(text)
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
