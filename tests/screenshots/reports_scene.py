"""The traffic reports window on each of its pages, and the stopwatch in the middle of a
measurement, shown by the viewer program over a made-up log whose counters move."""

import os
import re
import subprocess
import time

import shots

VIEWER = os.path.join(shots.BUILD, "tests", "reports_viewer.exe")
PAGES = [("summary", 0), ("daily", 1), ("weekly", 2), ("monthly", 3)]


def show(name, args, title, settle):
    process = shots.start(VIEWER, *args)
    try:
        window = shots.find_window(re.escape(title))  # a pattern: the caption has brackets
        if not window:
            print("no window", title)
            return False
        time.sleep(settle)
        shots.capture(name, window)
        return True
    finally:
        process.kill()
        process.wait()
        subprocess.run([shots.WINE_RUN, "taskkill", "/f", "/im", "reports_viewer.exe"], capture_output=True)


def main():
    ok = True
    for name, page in PAGES:
        ok &= show("reports_" + name, ["sheet", str(page), "2"],
                   "Traffic Reports - [Realtek PCIe GbE Family Controller]", 2)
    ok &= show("reports_stopwatch", ["stopwatch"], "Stopwatch", 5)
    return 0 if ok else 1


if __name__ == "__main__":
    raise SystemExit(main())
