"""Graph panes fed with a recorded minute of varied traffic: column and line style, fixed and
automatic scale, average lines, the plain and the coloured rate text, and a narrow pane."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
import shots  # noqa: E402

viewer = shots.start(os.path.join(shots.BUILD, "tests", "pane_viewer.exe"))
try:
    window = shots.find_window("Pane viewer")
    if window is None:
        sys.exit("the pane viewer did not show its window")
    time.sleep(1.0)  # let Wine finish mapping and painting
    shots.capture("graph_panes", window)
finally:
    viewer.kill()
    viewer.wait()
