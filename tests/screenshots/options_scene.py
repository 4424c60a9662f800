"""The options sheet of the desktop program, page by page, and the "Report" dialog of its Service
page: F2 opens the sheet, a click on each tab shows its page, "Ad&d" opens the dialog."""

import os
import subprocess
import time

import shots
from wine_helpers import reg_add, reg_delete_tree

# The tabs' middles within the sheet, at Wine's default DPI and the pages' Tahoma font.
TABS = {"general": (37, 17), "graph_text": (115, 17), "adapters": (195, 17), "notification": (266, 17),
        "service": (330, 17)}


def xdotool(*args):
    subprocess.run(["xdotool", *args], capture_output=True)


def main():
    reg_delete_tree(r"HKCU\Software\Veltrano")
    reg_add(r"HKCU\Software\Veltrano\Options", "FirstRun", "REG_DWORD", "0")
    desktop = shots.start(os.path.join(shots.BUILD, "src", "Pellacor.exe"))
    try:
        main_window = shots.find_window("Veltrano")
        if not main_window:
            raise SystemExit("the main window did not appear")
        xdotool("windowfocus", "--sync", main_window)
        xdotool("key", "--window", main_window, "F2")
        sheet = shots.find_window("Veltrano Options", 15)
        if not sheet:
            raise SystemExit("F2 did not open the options sheet")
        xdotool("windowfocus", "--sync", sheet)
        for name, (x, y) in TABS.items():
            xdotool("mousemove", "--window", sheet, str(x), str(y), "click", "1")
            time.sleep(0.8)
            shots.capture("options_" + name, sheet)
        xdotool("key", "alt+e")  # "&Enable service", so that "Ad&d" can be pressed
        time.sleep(0.3)
        xdotool("key", "alt+d")
        report = shots.find_window("Report", 10)
        if report:
            time.sleep(0.5)
            shots.capture("options_report_dialog", report)
            xdotool("key", "Escape")
            time.sleep(0.5)
        xdotool("windowfocus", "--sync", sheet)
        xdotool("key", "Escape")
        time.sleep(0.5)
    finally:
        subprocess.run([shots.WINE_RUN, "taskkill", "/im", "Pellacor.exe"], capture_output=True)
        desktop.wait(timeout=30)
        reg_delete_tree(r"HKCU\Software\Veltrano")


main()
