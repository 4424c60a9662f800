"""Helpers of the screenshot scenes: start a Windows program in the project's Wine, wait for a
window by its title, and write a PNG of that window (or of the whole screen)."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import wine_helpers  # noqa: E402  (shares Wine's display and the prefix)

ROOT = wine_helpers.ROOT
BUILD = wine_helpers.BUILD
OUT = os.environ.get("VELTRANO_SCREENSHOTS", os.path.join(ROOT, "build", "screenshots"))
WINE_RUN = wine_helpers.WINE_RUN


def start(executable, *args):
    """Starts a program in the background; returns its Popen."""
    return subprocess.Popen([WINE_RUN, executable, *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def find_window(title, timeout=30):
    """The X window id of the first visible window whose title is exactly title, or None."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                                capture_output=True, text=True)
        ids = result.stdout.split()
        if ids:
            return ids[0]
        time.sleep(0.2)
    return None


def capture(name, window=None):
    """Writes OUT/name.png of one X window (an id from find_window) or of the whole screen."""
    os.makedirs(OUT, exist_ok=True)
    path = os.path.join(OUT, name + ".png")
    subprocess.run(["import", "-window", window or "root", path], check=True, capture_output=True)
    print("wrote", path)
    return path
