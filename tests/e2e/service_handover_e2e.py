"""Under Wine on Xvfb, with the real service manager: the desktop program counts the traffic of a
veth pair; its options sheet (F2, the Service page, "&Enable service", OK) installs the service
with automatic start and hands it the traffic log; the service logs the same file while the
desktop only reads; the sheet again (clearing the box) stops and removes the service and the
desktop takes the log back. A steady stream crosses the veth the whole time: today's record of
the veth must hold every byte but for the seconds of each hand-over (at most one service write
block each), and exactly one record per day and adapter."""

import os
import subprocess
import tempfile
import threading
import time

from day_records import dumped_records, today_text
from service_helpers import fresh_service, service_messages, service_state
from veth import VethPair
from wine_helpers import BUILD, WINE_RUN, check, expect, finish, press, probe, reg_add, reg_delete_tree, reg_query, \
    show_page, wait_for, window_named, windows_path, wine, xdotool

DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
OPTIONS = r"HKCU\Software\Veltrano\Options"
PAIR = VethPair("h", 83)
FOLDER = tempfile.mkdtemp(prefix="veltrano-handover-", dir=os.path.join(BUILD, "tests"))
RATE = 40_000  # payload bytes a second across the veth
FRAME_OVERHEAD = 14 + 20 + 8  # Ethernet, IPv4 and UDP headers: the interface counts whole frames
SERVICE_WRITE_BLOCK_S = 8
SHEET = "Veltrano Options"
SERVICE_PAGE = 4  # after General, Graph & Text, Adapters and Notification


class Stream(threading.Thread):
    """1000-byte datagrams at RATE until stopped; counts what it sent."""

    def __init__(self, pair):
        super().__init__(daemon=True)
        self.pair, self.sent, self.running = pair, 0, True

    def run(self):
        while self.running:
            started = time.time()
            self.sent += self.pair.send(RATE // 1000 // 10, 1000)
            time.sleep(max(0.0, 0.1 - (time.time() - started)))


def todays_records(windows_path):
    """Today's records as (kind, id) -> list of (received, sent), in file order."""
    records = {}
    for day, kind, ident, received, sent in dumped_records(windows_path)[1]:
        if day == today_text():
            records.setdefault((kind, ident), []).append((received, sent))
    return records


def veth_sent(windows_path, near):
    rows = todays_records(windows_path).get((300, near), [])
    return rows[0][1] if rows else 0


def toggle_service_in_sheet(main):
    """F2 opens the sheet; on its "Service" page "&Enable service" is flipped, then OK pressed."""
    xdotool("windowfocus", "--sync", main)
    xdotool("key", "--window", main, "F2")
    sheet = wait_for(lambda: window_named(SHEET), 15)
    if not check(sheet is not None, f"F2 opens \"{SHEET}\""):
        return False
    # Wine's modal sheet leaves Ctrl+Tab to nobody: the page is chosen by its index.
    if show_page(SHEET, SERVICE_PAGE) == "Service":
        press(SHEET, "IDC_SV_ENABLE")
        time.sleep(0.3)
        press(SHEET, "IDOK")
    closed = wait_for(lambda: window_named(SHEET) is None, 60)
    return check(closed, "OK closes the sheet")


def prepare(log_path):
    reg_delete_tree(r"HKCU\Software\Veltrano")
    reg_add(OPTIONS, "FirstRun", "REG_DWORD", "0")
    reg_add(OPTIONS, "TrafficLogFile", "REG_SZ", log_path)


def exit_desktop(desktop, main):
    xdotool("windowfocus", "--sync", main)
    time.sleep(0.5)
    xdotool("key", "--window", main, "f")
    time.sleep(1)
    xdotool("key", "x")
    try:
        return desktop.wait(timeout=30)
    except subprocess.TimeoutExpired:
        wine("taskkill", "/im", "Pellacor.exe", check=False)
        return desktop.wait(timeout=30)


def main():
    fresh_service(FOLDER, install=False)
    log_path = windows_path(os.path.join(FOLDER, "traffic.log"))
    prepare(log_path)
    if not PAIR.create():
        print("skipped: network namespaces cannot be created here")
        return
    near = PAIR.lasting_id()
    check(near is not None, f"Wine sees {PAIR.near}")

    stream = Stream(PAIR)
    desktop = subprocess.Popen([WINE_RUN, DESKTOP], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    started = time.time()
    try:
        main_window = wait_for(lambda: window_named("Veltrano"), 30)
        if not check(main_window is not None, "the desktop program shows its window"):
            return
        time.sleep(2)
        stream.start()
        time.sleep(8)

        # Enabling: the service takes the log over.
        if not toggle_service_in_sheet(main_window):
            return
        enabled_at = stream.sent
        check(wait_for(lambda: service_state() == 4, 30), "the service runs after OK")
        config = probe("service-config")
        expect(config.get("Start"), "2", "installed with automatic start")
        service_program = windows_path(os.path.join(BUILD, "src", "PellacorService.exe"))
        expect(config.get("BinaryPath"), f'"{service_program}"', "the service program beside Pellacor.exe")
        machine_log = reg_query(r"HKLM\Software\Veltrano\Options", "TrafficLogFile")
        expect(machine_log and machine_log[1], log_path, "the machine's settings name the same traffic log")
        check(wait_for(lambda: "Service is running..." in service_messages(), 20), "the service's worker runs")
        messages = service_messages()
        check(f"Traffic log file: {log_path}" in messages, "the service logs to the desktop's file")
        check("Failed to create traffic file" not in messages,
              "the service could open the log for writing (the desktop only reads it)")

        before = veth_sent(log_path, near)
        time.sleep(2 * SERVICE_WRITE_BLOCK_S + 2)
        during = veth_sent(log_path, near)
        check(during > before, f"the service's writes keep the veth's total growing ({before} -> {during})")

        # Disabling: stopped, removed, and the log back with the desktop.
        if not toggle_service_in_sheet(main_window):
            return
        disabled_at = stream.sent
        check(wait_for(lambda: service_state() is None, 30), "the service is stopped and removed")
        gone = wine(os.path.join(BUILD, "tests", "settings_probe.exe"), "service-config", check=False)
        check("Installed=0" in gone, "the service manager no longer knows it")
        check("Veltrano Service stopped." in service_messages(), "the service stopped and wrote its day")
        machine_enabled = reg_query(r"HKLM\Software\Veltrano\Service", "ServiceEnabled")
        check(machine_enabled is not None, "the machine kept its copy of the service settings")
        time.sleep(6)
        stream.running = False
        stream.join()
        code = exit_desktop(desktop, main_window)
        expect(code, 2, "Exit ends the desktop program")
    finally:
        stream.running = False
        if desktop.poll() is None:
            wine("taskkill", "/im", "Pellacor.exe", check=False)
            desktop.wait(timeout=30)
        PAIR.remove()
        subprocess.run([WINE_RUN, os.path.join(BUILD, "src", "PellacorService.exe"), "/uninstall"],
                       capture_output=True, timeout=120)

    records = todays_records(log_path)
    veth = records.get((300, near), [])
    expect(len(veth), 1, "exactly one record today for the veth")
    expect(len(records.get((100, ""), [])), 1, "exactly one record today for All Connections")
    logged = veth[0][1] if veth else 0
    sent = stream.sent * (1000 + FRAME_OVERHEAD) // 1000
    allowed_gap = 2 * SERVICE_WRITE_BLOCK_S * RATE
    print(f"figures: sent {sent} bytes on the wire in {time.time() - started:.0f} s; logged {logged}; "
          f"gap {sent - logged} = {(sent - logged) / RATE:.1f} s of traffic (allowed {allowed_gap}); "
          f"payload at enabling {enabled_at}, at disabling {disabled_at}")
    check(logged >= sent - allowed_gap, "no gap larger than one write block at each hand-over")
    # Whatever else crosses the veth (neighbour discovery) is a few hundred bytes at most.
    check(logged <= sent + 4096, "nothing counted twice across the hand-overs")
    reg_delete_tree(r"HKCU\Software\Veltrano")
    reg_delete_tree(r"HKLM\Software\Veltrano")


main()
finish()
