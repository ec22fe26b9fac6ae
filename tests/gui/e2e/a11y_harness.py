"""Drives the real desktop program as a user's assistive technology does.

A private D-Bus session, an Xvfb display and the accessibility bus are
started for one run; the program is started on them with Qt's accessibility
bridge switched on. Controls are found in the accessibility tree by their
role and visible (accessible) name, pressed through their Action interface
or clicked with the pointer (xdotool), and edits are filled through the
EditableText interface. Everything waits with a deadline and fails with a
message that says what was looked for; every process started is ended on
the way out.

Use:
    with Desktop() as desktop:
        app = desktop.start([PROGRAM, PROJECT, "--settings", INI])
        app.choose_menu("File", "Save Project As")
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

# ctest's SKIP_RETURN_CODE: the run could not start for want of packages.
SKIP = 77

# Packages the run needs; scripts/setup installs them.
PROGRAMS = {
    "dbus-run-session": "dbus-bin",
    "dbus-send": "dbus-bin",
    "Xvfb": "xvfb",
    "xdotool": "xdotool",
}
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
PRIVATE_BUS_MARK = "PIPELOOP_E2E_PRIVATE_BUS"

# Generous: a loaded machine (CI runs every test at once) may take seconds to
# show a window; a step that works never waits this long.
DEFAULT_TIMEOUT = 30.0
# Subtrees that hold data rather than controls (file lists, tables): not
# searched, they can be long and the tests never look for a control there.
DATA_ROLES = {"list", "table", "tree table", "tree", "list box"}


class Failure(AssertionError):
    """A step of the test did not find or get what it expected."""


def missing_packages():
    """The packages whose programs or modules are absent, for the skip message."""
    missing = [package for program, package in PROGRAMS.items() if not shutil.which(program)]
    if not os.access(BUS_LAUNCHER, os.X_OK):
        missing.append("at-spi2-core")
    try:
        import pyatspi  # noqa: F401  (only whether it imports)
    except ImportError:
        missing.append("python3-pyatspi")
    return missing


def run_on_private_bus(main):
    """Runs main() inside a D-Bus session of its own, re-starting this script
    under dbus-run-session when needed; exits with main's status, or SKIP
    when a package the run needs is absent."""
    missing = missing_packages()
    if missing:
        print("skipped: not installed: " + ", ".join(missing) + " (scripts/setup installs them)")
        sys.exit(SKIP)
    if os.environ.get(PRIVATE_BUS_MARK) != "1":
        os.environ[PRIVATE_BUS_MARK] = "1"
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv)
    try:
        main()
    except Failure as failure:
        print("FAILED: " + str(failure), file=sys.stderr)
        sys.exit(1)
    sys.exit(0)


def wait_for(what, probe, timeout=DEFAULT_TIMEOUT, interval=0.1):
    """probe()'s first true result within timeout seconds; Failure naming
    `what` otherwise."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            result = probe()
        except Exception:  # a control that went away while it was read
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def stop(process, timeout=5):
    """Ends a process started here: terminate, then kill if it lingers."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout)


class Desktop:
    """An X display and the accessibility bus for one run."""

    def __init__(self, width=1280, height=900):
        self.size = (width, height)
        self.folder = tempfile.mkdtemp(prefix="pipeloop-e2e-")
        self.processes = []
        self.log_files = []

    def __enter__(self):
        try:
            self._start_display()
            self._start_accessibility_bus()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *_):
        self.close()

    def close(self):
        for process in reversed(self.processes):
            stop(process)
        self.processes.clear()
        for log in self.log_files:
            log.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def _spawn(self, name, command, env=None, pass_fds=()):
        log = open(os.path.join(self.folder, name + ".log"), "w+b")
        self.log_files.append(log)
        process = subprocess.Popen(command, env=env, stdout=log, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL, pass_fds=pass_fds)
        self.processes.append(process)
        return process

    def log(self, name):
        """What a started process wrote so far."""
        path = os.path.join(self.folder, name + ".log")
        with open(path, "rb") as log:
            return log.read().decode(errors="replace")

    def _start_display(self):
        read_end, write_end = os.pipe()
        try:
            self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                                 "-screen", "0", "%dx%dx24" % self.size], pass_fds=(write_end,))
        finally:
            os.close(write_end)
        with os.fdopen(read_end) as display:
            number = display.readline().strip()  # Xvfb writes it once it listens
        if not number:
            raise Failure("Xvfb did not start: " + self.log("xvfb"))
        os.environ["DISPLAY"] = ":" + number

    def _start_accessibility_bus(self):
        # Ours, before anything asks for the bus: else D-Bus would start one
        # of its own that this run does not end.
        self._spawn("at-spi-bus", [BUS_LAUNCHER, "--launch-immediately"])
        wait_for("the accessibility bus launcher (%s)" % self.log("at-spi-bus"),
                 lambda: session_bus_has("org.a11y.Bus"))
        import pyatspi

        self.registry = pyatspi.Registry
        wait_for("the accessibility bus", lambda: self.registry.getDesktop(0) is not None)

    def start(self, command, name="PIPELOOP", timeout=20):
        """Starts the program with its accessibility bridge on and returns
        it once its main window is in the accessibility tree. The update
        check looks nowhere: a test never reaches beyond this machine."""
        command = list(command) + ["--update-host="]
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        env.pop("QT_QPA_PLATFORM", None)  # the X display this time
        process = self._spawn("program", command, env=env)
        app = Application(self, process, name)
        app.root = wait_for("the application %r on the accessibility bus (program output: %s)"
                            % (name, self.log("program")), app.find_root, timeout)
        # The main window's title names the open project after the program.
        app.find("frame", re.compile(r"^%s( - .+)?$" % re.escape(name)), timeout=timeout)
        return app


def role_of(accessible):
    return accessible.getRoleName()


def describe(accessible):
    try:
        return "%s %r" % (role_of(accessible), accessible.name)
    except Exception:  # a window closed and deleted already
        return "a control no longer there"


def name_matches(accessible_name, wanted):
    """Equal but for blanks around it (captions are padded, " ADD DROPS"),
    or a compiled pattern searched in the name."""
    name = (accessible_name or "").strip()
    if isinstance(wanted, re.Pattern):
        return bool(wanted.search(name))
    return name == wanted


class Application:
    """The running program, seen through its accessibility tree."""

    def __init__(self, desktop, process, name):
        self.desktop = desktop
        self.process = process
        self.name = name
        self.root = None

    def find_root(self):
        self.check_running()
        desktop = self.desktop.registry.getDesktop(0)
        for index in range(desktop.childCount):
            child = desktop.getChildAtIndex(index)
            if child is not None and child.name == self.name:
                return child
        return None

    def check_running(self):
        if self.process.poll() is not None:
            raise Failure("the program ended with status %d: %s"
                          % (self.process.returncode, self.desktop.log("program")))

    # ------------------------------------------------------------ finding

    def _search(self, within, role, name, showing_only):
        pending = [within]
        while pending:
            node = pending.pop()
            if node is None:
                continue
            node_role = role_of(node)
            if node_role == role and name_matches(node.name, name):
                if not showing_only or self.is_showing(node):
                    return node
            if node_role in DATA_ROLES:
                continue
            pending.extend(node.getChildAtIndex(i) for i in reversed(range(node.childCount)))
        return None

    def find(self, role, name, within=None, timeout=DEFAULT_TIMEOUT, showing_only=False):
        """The first control of this role and name (a string, or a pattern
        searched in the name), waiting until it is there."""

        def probe():
            self.check_running()
            return self._search(within or self.root, role, name, showing_only)

        where = "" if within is None else " in " + describe(within)
        return wait_for("%s %r%s" % (role, name, where), probe, timeout)

    def find_dialog(self, name, text=None, timeout=DEFAULT_TIMEOUT):
        """A window showing, by its title and, if given, the text it shows
        (a message box's text, which it paints, is its description)."""
        if text is None:
            return self.find("dialog", name, timeout=timeout, showing_only=True)

        def probe():
            dialog = self._search(self.root, "dialog", name, True)
            return dialog if dialog and name_matches(dialog.description, text) else None

        return wait_for("dialog %r showing %r" % (name, text), probe, timeout)

    def gone(self, accessible, timeout=DEFAULT_TIMEOUT):
        """Waits until a window has closed."""
        what = describe(accessible)
        wait_for("%s to close" % what, lambda: not self.is_showing(accessible), timeout)

    def is_showing(self, accessible):
        try:
            import pyatspi

            return accessible.getState().contains(pyatspi.STATE_SHOWING)
        except Exception:  # gone from the tree
            return False

    def is_enabled(self, accessible):
        import pyatspi

        return accessible.getState().contains(pyatspi.STATE_ENABLED)

    # ------------------------------------------------------------ acting

    def press(self, accessible, timeout=DEFAULT_TIMEOUT):
        """Its first action (press, toggle), once it is enabled. Use it for
        controls whose press returns at once; click() a control that opens
        a modal window, since the bridge answers only when that closes."""
        wait_for("%s to be enabled" % describe(accessible), lambda: self.is_enabled(accessible),
                 timeout)
        action = accessible.queryAction()
        if action.nActions < 1:
            raise Failure("%s has no action" % describe(accessible))
        action.doAction(0)

    def centre(self, accessible):
        import pyatspi

        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if box.width <= 0 or box.height <= 0:
            raise Failure("%s is not on the screen" % describe(accessible))
        return box.x + box.width // 2, box.y + box.height // 2

    def click(self, accessible, timeout=DEFAULT_TIMEOUT):
        """A left click in its middle, as the pointer makes it."""
        wait_for("%s to be enabled and showing" % describe(accessible),
                 lambda: self.is_enabled(accessible) and self.is_showing(accessible), timeout)
        self.click_screen(*self.centre(accessible))

    def click_screen(self, x, y):
        self.pointer_to(x, y)
        xdotool("click", "1")

    def pointer_to(self, x, y):
        # --sync waits for the pointer to move: it would wait for ever when
        # the pointer is already there.
        if pointer_position() != (int(x), int(y)):
            xdotool("mousemove", "--sync", str(int(x)), str(int(y)))

    def widget_origin(self, accessible):
        import pyatspi

        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return box.x, box.y

    def type_into(self, accessible, text):
        """Replaces the text of an edit."""
        if not accessible.queryEditableText().setTextContents(text):
            raise Failure("%s did not take the text %r" % (describe(accessible), text))

    def key(self, *keys):
        """Keys typed on the focused window, in xdotool's names ("Return")."""
        xdotool("key", "--clearmodifiers", *keys)

    def choose_menu(self, *path):
        """Opens the menus of the menu bar along path with the pointer and
        clicks the last item, as a user does."""
        within = self.find("menu bar", "")
        for index, caption in enumerate(path):
            item = self.find("menu item", caption, within=within, showing_only=index > 0)
            self.click(item)
            within = item

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within %.0f s" % timeout)


def session_bus_has(name):
    reply = subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
         "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:" + name],
        capture_output=True, text=True, timeout=DEFAULT_TIMEOUT)
    return reply.returncode == 0 and "boolean true" in reply.stdout


def pointer_position():
    """(x, y) of the pointer on the screen."""
    place = dict(re.findall(r"(\w+):(\d+)", xdotool("getmouselocation")))
    return int(place["x"]), int(place["y"])


def xdotool(*arguments):
    try:
        result = subprocess.run(["xdotool"] + list(arguments), capture_output=True, text=True,
                                timeout=DEFAULT_TIMEOUT)
    except subprocess.TimeoutExpired:
        raise Failure("xdotool %s did not finish within %.0f s"
                      % (" ".join(arguments), DEFAULT_TIMEOUT))
    if result.returncode != 0:
        raise Failure("xdotool %s failed: %s" % (" ".join(arguments), result.stderr.strip()))
    return result.stdout
