"""Shared helpers of the end-to-end drivers: run Windows programs in the project's Wine prefix,
read or plant registry values with Wine's own reg.exe, find windows on the display and press the
controls of dialogs."""

import os
import subprocess
import sys
import time

ROOT = os.environ.get("VELTRANO_ROOT", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
BUILD = os.environ.get("VELTRANO_BUILD", os.path.join(ROOT, "build", "win32"))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")
PROBE = os.path.join(BUILD, "tests", "settings_probe.exe")
CONTROL_PROBE = os.path.join(BUILD, "tests", "control_probe.exe")

failures = []
passed = []
skipped = []


def _use_project_display():
    """The drivers look at windows themselves (xwininfo, import): share Wine's display."""
    script = f'source "{ROOT}/scripts/wine-env"; veltrano_start_display; echo "$DISPLAY"'
    display = subprocess.run(["bash", "-c", script], capture_output=True, text=True).stdout.strip()
    if display:
        os.environ["DISPLAY"] = display


_use_project_display()


def wine(*args, check=True, timeout=120):
    result = subprocess.run([WINE_RUN, *args], capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise RuntimeError(f"{args} exited {result.returncode}: {result.stderr}")
    return result.stdout.replace("\r\n", "\n")


def windows_path(path):
    return wine("winepath", "-w", path).strip()


def reg_query(key, name):
    """(type, data) of one value as reg.exe prints it, or None when it is absent."""
    result = subprocess.run([WINE_RUN, "reg", "query", key, "/v", name], capture_output=True, text=True, timeout=120)
    if result.returncode != 0:
        return None
    for line in result.stdout.replace("\r\n", "\n").split("\n"):
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0].lower() == name.lower() and parts[1].startswith("REG_"):
            return parts[1], parts[2] if len(parts) > 2 else ""
    return None


def reg_subkeys(key):
    """Names of the subkeys of key (reg.exe prints them with the long hive name)."""
    out = wine("reg", "query", key, check=False)
    below_hive = key.split("\\", 1)[1].lower() + "\\"
    names = []
    for line in out.split("\n"):
        path = line.strip()
        if path.startswith("HKEY_") and "\\" in path:
            rest = path.split("\\", 1)[1]
            if rest.lower().startswith(below_hive):
                names.append(rest[len(below_hive):])
    return names


def reg_add(key, name, reg_type, data):
    wine("reg", "add", key, "/v", name, "/t", reg_type, "/d", data, "/f")


def reg_add_key(key):
    wine("reg", "add", key, "/f")


def reg_delete_tree(key):
    wine("reg", "delete", key, "/f", check=False)


def probe(command):
    """The probe's "name=value" lines as a dict; repeated names become lists."""
    values = {}
    for line in wine(PROBE, command).split("\n"):
        if "=" not in line:
            continue
        name, value = line.split("=", 1)
        if name in values:
            if not isinstance(values[name], list):
                values[name] = [values[name]]
            values[name].append(value)
        else:
            values[name] = value
    return values


def wait_for(condition, seconds=30):
    """The first true value of condition() within that many seconds, else None."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    return None


def xdotool(*args):
    """The words xdotool printed."""
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30).stdout.split()


def window_named(title):
    """The X window id of the first visible window titled exactly title, or None."""
    ids = xdotool("search", "--onlyvisible", "--name", f"^{title}$")
    return ids[0] if ids else None


def control_id(name):
    """The value of a control id named in the desktop's resource headers (IDOK and IDCANCEL are
    Windows' own)."""
    ids = {"IDOK": 1, "IDCANCEL": 2}
    folder = os.path.join(ROOT, "src", "desktop", "resources")
    for header in sorted(os.listdir(folder)):
        if header.endswith("_ids.h"):
            with open(os.path.join(folder, header)) as f:
                for line in f:
                    parts = line.split()
                    if len(parts) >= 3 and parts[0] == "#define" and parts[2].isdigit():
                        ids[parts[1]] = int(parts[2])
    return ids[name]


def press(title, control, seconds=10):
    """Presses a control, named by its id, in the visible window titled title, as a click on it
    would: no font or DPI moves it, and no activation is needed, which Wine on Xvfb without a window
    manager never gives. Tries again while the window or the control is missing or disabled; true
    once pressed."""
    command = [WINE_RUN, CONTROL_PROBE, "click", title, str(control_id(control))]
    return wait_for(lambda: subprocess.run(command, capture_output=True, timeout=120).returncode == 0,
                    seconds) is not None


def show_page(sheet_title, index):
    """Shows the property sheet's page at index (from 0); the caption of the page now shown, or
    None when the sheet or the page is not there."""
    result = subprocess.run([WINE_RUN, CONTROL_PROBE, "page", sheet_title, str(index)],
                            capture_output=True, text=True, timeout=120)
    for line in result.stdout.splitlines():
        if result.returncode == 0 and line.startswith("Page="):
            return line[len("Page="):].strip()
    return None


def require_system_module(name):
    """Debian's Python packages (aiosmtpd) live beside the system interpreter: run under it."""
    try:
        __import__(name)
    except ImportError:
        if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
            os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
        raise


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    (passed if condition else failures).append(what)
    return condition


def skip(what, reason):
    """A check that cannot be made here: said in a line of its own (the test command repeats
    these lines), and never counted as passed."""
    print(f"skipped: {what} ({reason})")
    skipped.append(what)


def expect(actual, expected, what):
    check(actual == expected, f"{what}: {actual!r}" + ("" if actual == expected else f" (expected {expected!r})"))


# The exit code ctest takes for a skipped test (SKIP_RETURN_CODE of the drivers).
SKIPPED_EXIT = 77


def finish():
    """Exits 1 when a check failed, 77 (skipped) when no check could be made at all, else 0."""
    if not passed and not failures:
        print("skipped: every check of this driver (none could be made here)")
        sys.exit(SKIPPED_EXIT)
    counts = f"{len(passed)} passed, {len(failures)} failed, {len(skipped)} skipped"
    print(counts if failures or skipped else f"all checks passed ({counts})")
    sys.exit(1 if failures else 0)
