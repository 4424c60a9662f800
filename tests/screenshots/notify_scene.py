"""The notification windows and the rates recorder dialog, each opened on its own by the viewer:
the alert window, the e-mail settings dialog, the notification options page and the recorder."""

import os
import subprocess

import shots

VIEWER = os.path.join(shots.BUILD, "tests", "notify_viewer.exe")
SCENES = [("alert", "Notification - Veltrano", "notify_alert_window"),
          ("email", "Email Settings", "notify_email_settings"),
          ("page", "Options", "notify_options_page"),
          ("recorder", "Traffic Rates Recorder", "notify_rates_recorder")]

status = 0
for mode, title, name in SCENES:
    viewer = shots.start(VIEWER, mode)
    try:
        window = shots.find_window(title)
        if window:
            subprocess.run(["sleep", "1"])
            shots.capture(name, window)
        else:
            print("no window", title)
            status = 1
    finally:
        viewer.kill()
        subprocess.run([shots.WINE_RUN, "taskkill", "/im", "notify_viewer.exe"], capture_output=True)
raise SystemExit(status)
