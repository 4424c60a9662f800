"""The options sheet of the desktop program, page by page, and the "Report" dialog of its Service
page: F2 opens the sheet, each page is shown in turn, "Ad&d" opens the dialog."""

import os
import subprocess
import time

import shots
from wine_helpers import press, reg_add, reg_delete_tree, show_page, xdotool

SHEET = "Veltrano Options"
PAGES = ["general", "graph_text", "adapters", "notification", "service"]


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
        sheet = shots.find_window(SHEET, 15)
        if not sheet:
            raise SystemExit("F2 did not open the options sheet")
        for index, name in enumerate(PAGES):
            print("page", index, show_page(SHEET, index))
            time.sleep(0.8)
            shots.capture("options_" + name, sheet)
        press(SHEET, "IDC_SV_ENABLE")  # "&Enable service", so that "Ad&d" can be pressed
        press(SHEET, "IDC_SV_ADD")
        report = shots.find_window("Report", 10)
        if report:
            time.sleep(0.5)
            shots.capture("options_report_dialog", report)
            press("Report", "IDCANCEL")
            time.sleep(0.5)
        press(SHEET, "IDCANCEL")
        time.sleep(0.5)
    finally:
        subprocess.run([shots.WINE_RUN, "taskkill", "/im", "Pellacor.exe"], capture_output=True)
        desktop.wait(timeout=30)
        reg_delete_tree(r"HKCU\Software\Veltrano")


main()
