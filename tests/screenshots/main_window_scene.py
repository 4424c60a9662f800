"""The desktop program's main window with two panes and live traffic: as it starts, then each View
switch that changes the picture (line graph, no title, no text, no scale, no caption) pressed
with its real shortcut, the tray miniature, and the popup menu opened with the F key.

Live traffic crosses a veth pair into a namespace of the scene's own, created under the
machine-wide lock; where the lock or namespaces are not to be had, the second pane shows the
machine's own interface instead."""

import fcntl
import math
import os
import struct
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(__file__))
import shots  # noqa: E402
from veth import VethPair  # noqa: E402  (shots puts tests/e2e on the path)
from wine_helpers import probe, reg_add, reg_delete_tree  # noqa: E402

DESKTOP = os.path.join(shots.BUILD, "src", "Pellacor.exe")
OPTIONS = r"HKCU\Software\Veltrano\Options"
ADAPTERS = r"HKCU\Software\Veltrano\AdaptersEx"
HALF = "0000003f"  # 0.5 as a little-endian float


# The display scale the scene runs at (scripts/screenshots sets it for its 144-DPI pass).
SCALE = int(os.environ.get("VELTRANO_SCENE_DPI", "96"))

def take_lock(seconds):
    """The machine-wide lock of the drivers that create veth pairs; True when a caller holds it."""
    if os.environ.get("VELTRANO_E2E_LOCK_HELD") == "1":
        return True
    lock = open("/tmp/veltrano-e2e.lock", "w")
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            return lock
        except OSError:
            time.sleep(1)
    lock.close()
    return None


def interfaces():
    rows = probe("adapters")["Row"]
    return [row.split("\t") for row in (rows if isinstance(rows, list) else [rows]) if row.startswith("300")]


def interface_id(description):
    for fields in interfaces():
        if fields[6] == description:
            return fields[1]
    return None


def plant_settings(second_id, second_name):
    reg_delete_tree(r"HKCU\Software\Veltrano")
    reg_add(OPTIONS, "FirstRun", "REG_DWORD", "0")
    # Room for two panes of their natural height, at the bottom-right of the work area, as the
    # window was left at the display's scale (the stored rectangle is in screen pixels).
    width, height = 330 * SCALE // 96, 306 * SCALE // 96
    left, top, right, bottom = 1280 - 16 - width, 800 - 16 - height, 1280 - 16, 800 - 16
    reg_add(OPTIONS, "WndPosition", "REG_BINARY", struct.pack("<4i", left, top, right, bottom).hex())
    for key, ident, name in ((ADAPTERS + "\\100-", "", "All Connections"),
                             (ADAPTERS + "\\300-" + second_id, second_id, second_name)):
        reg_add(key, "AdapterID", "REG_SZ", ident)
        reg_add(key, "AdapterName", "REG_SZ", name)
        reg_add(key, "Monitored", "REG_DWORD", "1")
        reg_add(key, "Size", "REG_BINARY", HALF)


class Traffic(threading.Thread):
    """Bursts of datagrams to the far end whose size swells and ebbs, until stopped."""

    def __init__(self, pair):
        super().__init__(daemon=True)
        self.pair = pair
        self.running = True

    def run(self):
        second = 0
        while self.running:
            started = time.time()
            level = 0.55 + 0.45 * math.sin(second / 4.0)
            self.pair.send(int(60 + 240 * level), int(200 + 1200 * abs(math.sin(second / 2.5))))
            second += 1
            time.sleep(max(0.0, 1.0 - (time.time() - started)))


def key(window, keys):
    subprocess.run(["xdotool", "windowfocus", "--sync", window], capture_output=True)
    subprocess.run(["xdotool", "key", "--window", window, keys], capture_output=True)
    time.sleep(1.6)  # the next second redraws the panes


def capture_crop(name, left, top, width, height):
    path = shots.capture(name + "_full")
    out = os.path.join(shots.OUT, name + ".png")
    subprocess.run(["convert", path, "-crop", f"{width}x{height}+{left}+{top}", "+repage", out], check=True)
    os.remove(path)
    print("wrote", out)


def capture_window(name, window):
    x, y, width, height = geometry(window)
    capture_crop(name, x, y, width, height)


def geometry(window):
    out = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True).stdout
    values = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
    return tuple(int(values[k].strip()) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def main():
    lock = None if os.environ.get("VELTRANO_SCENE_NO_VETH") == "1" else take_lock(120)
    pair = VethPair("p", 80)
    have_pair = lock is not None and pair.create()
    traffic = None
    if have_pair:
        ids = []
        shots_wait = time.time() + 20
        while time.time() < shots_wait and not (len(ids) > 2 and ids[-1] and ids[-1] == ids[-3]):
            ids.append(interface_id(pair.near))
            time.sleep(0.3)
        second, name = ids[-1], "Test Link (veth)"
    else:
        print("no veth pair (lock or namespaces refused): the second pane shows eth0")
        second, name = next((f[1] for f in interfaces() if f[6] == "eth0"), interfaces()[0][1]), "eth0"
    plant_settings(second, name)
    if have_pair:
        traffic = Traffic(pair)
        traffic.start()
    desktop = shots.start(DESKTOP)
    try:
        window = shots.find_window("Veltrano")
        if window is None:
            sys.exit("the main window did not appear")
        time.sleep(30)  # half a minute of traffic in the graphs
        capture_window("main_window", window)
        key(window, "ctrl+l")
        capture_window("main_window_line_graph", window)
        key(window, "ctrl+h")
        key(window, "ctrl+t")
        capture_window("main_window_no_title", window)
        key(window, "ctrl+t")
        key(window, "ctrl+x")
        capture_window("main_window_no_text", window)
        key(window, "ctrl+x")
        key(window, "ctrl+s")
        capture_window("main_window_no_scale", window)
        key(window, "ctrl+s")
        key(window, "ctrl+c")
        capture_window("main_window_no_caption", window)
        key(window, "ctrl+c")

        tray = shots.find_window("Wine System Tray", timeout=5)
        if tray:
            tray_x, tray_y, _, _ = geometry(tray)
            side = 20 * SCALE // 96
            capture_crop("tray_miniature_actual", tray_x, tray_y, side, side)
            subprocess.run(["convert", os.path.join(shots.OUT, "tray_miniature_actual.png"), "-scale", "800%",
                            os.path.join(shots.OUT, "tray_miniature.png")], check=True)
            print("wrote", os.path.join(shots.OUT, "tray_miniature.png"))

        x, y, width, height = geometry(window)
        subprocess.run(["xdotool", "mousemove", str(x + width // 3), str(y + height // 3)], capture_output=True)
        key(window, "f")
        # Down to "View" (the ninth item) and open it.
        subprocess.run(["xdotool", "key", "--delay", "80", *(["Down"] * 9), "Right"], capture_output=True)
        time.sleep(1.0)
        left, top = max(0, x - 420), max(0, y - 200)
        capture_crop("main_window_menu", left, top, min(1280, x + width) - left, min(800, y + height) - top)
        subprocess.run(["xdotool", "key", "Escape", "Escape"], capture_output=True)
    finally:
        subprocess.run([shots.WINE_RUN, "taskkill", "/im", "Pellacor.exe"], capture_output=True)
        try:
            desktop.wait(timeout=20)
        except subprocess.TimeoutExpired:
            desktop.kill()
        if traffic:
            traffic.running = False
            traffic.join(timeout=5)
        pair.remove()
        if lock and lock is not True:
            lock.close()
        reg_delete_tree(r"HKCU\Software\Veltrano")


main()
