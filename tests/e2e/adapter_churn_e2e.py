"""Under Wine: an adapter that comes and goes while the programs run, as a VPN or USB adapter does.
A veth pair is plugged in, carries some datagrams and is unplugged again, cycle after cycle, for
a few adapters in turn, each under its own name and interface index, its counters starting from
zero at every plug; first with the service writing the log, then with the desktop writing it.
Neither program may fail, nor grow in open files or in anonymous memory (the Linux side of the
Wine process) once every adapter has been seen, beyond the one sample a second that each of the
desktop's rows keeps for its graph up to the history's cap; each adapter's record of the day must hold exactly what the
kernel counted on it over its cycles, and "All Connections" exactly the sum of the interfaces'
records. VELTRANO_CHURN_CYCLES sets the number of cycles of each run (default 12).

Wine keeps listing an interface it saw once, and when another interface takes its name, both
adapters report the live counters: the same name under a new index is left out here for that
reason."""

import os
import shutil
import subprocess
import time

from day_records import kernel_counters, todays_records
from service_helpers import enabled_service_and_pair, run_service, wait_for_state
from veth import ChurningVeth
from wine_helpers import BUILD, ROOT, WINE_RUN, check, expect, finish, reg_add, reg_delete_tree, wait_for, \
    window_named, windows_path, wine

DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
FOLDER = os.path.join(BUILD, "churn-e2e")
LOG = os.path.join(FOLDER, "qxrsum_v2.log")
CYCLES = int(os.environ.get("VELTRANO_CHURN_CYCLES", "12"))
ADAPTERS = 3  # pairs plugged in in turn
SETTLE_S = 1.6  # more than one tick, with room for a late timer on a loaded machine
# Growth allowed once every adapter was seen: allocator noise, not a leak per cycle (a buffer each
# second, a handle each plug would exceed it over the run).
FD_SLACK = 2
RSS_SLACK_KB = 1024
HISTORY_SAMPLE_BYTES = 16


def process_figures(image):
    """Anonymous resident memory (kB), open files and the time of the reading, for the Wine process
    of the program in this prefix; None when it is not running."""
    prefix = os.path.realpath(os.environ.get("WINEPREFIX", os.path.join(ROOT, "build", "wineprefix")))
    for pid in subprocess.run(["pgrep", "-f", image + "$"], capture_output=True, text=True).stdout.split():
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                environment = f.read().decode(errors="replace").split("\0")
            if not any(e.startswith("WINEPREFIX=") and os.path.realpath(e[11:]) == prefix for e in environment):
                continue
            with open(f"/proc/{pid}/status") as f:
                rss = next(int(line.split()[1]) for line in f if line.startswith("RssAnon:"))
            return {"RssKb": rss, "Files": len(os.listdir(f"/proc/{pid}/fd")), "At": time.time()}
        except (OSError, StopIteration):
            continue
    return None


def churn(pairs, image):
    """Runs the cycles; (bytes the kernel counted per adapter id, figures after the first round of
    adapters, figures at the end), or None when a pair could not be created."""
    expected, first, ids = {}, None, {}
    for cycle in range(CYCLES):
        which = cycle % ADAPTERS
        pair = pairs[which]
        if not pair.plug():
            return None
        if which not in ids:
            ids[which] = pair.lasting_id()
            if ids[which] is None:
                pair.unplug()
                return None
        time.sleep(SETTLE_S)  # seen once, so the baseline is taken before the traffic
        pair.send(20 + 10 * (cycle % 5), 1000)
        time.sleep(SETTLE_S)  # counted once more after the last datagram
        received, sent = kernel_counters(pair.near)
        before = expected.get(ids[which], (0, 0))
        expected[ids[which]] = (before[0] + received, before[1] + sent)
        pair.unplug()
        if cycle + 1 == ADAPTERS:
            time.sleep(SETTLE_S)
            first = process_figures(image)
    time.sleep(SETTLE_S)
    return expected, first, process_figures(image)


def check_run(label, result):
    if not check(result is not None, f"{label}: {CYCLES} cycles of a veth pair plugged in and out"):
        return
    expected, first, last = result
    records = {(kind, ident): (received, sent) for _, kind, ident, received, sent in todays_records(LOG)}
    for ident, counted in sorted(expected.items()):
        expect(records.get((300, ident)), counted, f"{label}: the record of {ident} holds what the kernel counted")
    interfaces = [value for (kind, _), value in records.items() if kind == 300]
    summed = (sum(r for r, _ in interfaces), sum(s for _, s in interfaces))
    expect(records.get((100, "")), summed, f"{label}: All Connections is the sum of {len(interfaces)} interface records")
    if check(first is not None and last is not None, f"{label}: the program still runs: {first} -> {last}"):
        seconds = last["At"] - first["At"]
        histories = len(records) * seconds * HISTORY_SAMPLE_BYTES // 1024 if label == "desktop" else 0
        print(f"{label}: open files {first['Files']} -> {last['Files']}, anonymous memory "
              f"{first['RssKb']} -> {last['RssKb']} kB over {CYCLES - ADAPTERS} cycles in {seconds:.0f} s "
              f"(graph histories: {histories:.0f} kB)")
        check(last["Files"] <= first["Files"] + FD_SLACK, f"{label}: open files do not grow")
        check(last["RssKb"] <= first["RssKb"] + histories + RSS_SLACK_KB, f"{label}: memory does not grow")


def service_writes(pairs):
    enabled_service_and_pair(FOLDER, LOG, pairs[0])
    pairs[0].unplug()
    wine("sc", "start", "VeltranoService", check=False)
    if not check(wait_for_state(4) is not None, "the service runs"):
        return
    try:
        result = churn(pairs, "PellacorService.exe")
    finally:
        wine("sc", "stop", "VeltranoService", check=False)
        wait_for_state(1)
        run_service("/uninstall")
    check_run("service", result)


def desktop_writes(pairs):
    shutil.rmtree(FOLDER, ignore_errors=True)
    os.makedirs(FOLDER)
    reg_delete_tree(r"HKCU\Software\Veltrano")
    reg_add(r"HKCU\Software\Veltrano\Options", "FirstRun", "REG_DWORD", "0")
    reg_add(r"HKCU\Software\Veltrano\Options", "TrafficLogFile", "REG_SZ", windows_path(LOG))
    desktop = subprocess.Popen([WINE_RUN, DESKTOP], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not check(wait_for(lambda: window_named("Veltrano"), 30) is not None, "the desktop's window is up"):
            return
        result = churn(pairs, "Pellacor.exe")
    finally:
        wine("taskkill", "/im", "Pellacor.exe", check=False)  # closes it as the session's end would
        try:
            desktop.wait(timeout=30)
        except subprocess.TimeoutExpired:
            desktop.kill()
        reg_delete_tree(r"HKCU\Software\Veltrano")
    check_run("desktop", result)


def main():
    pairs = [ChurningVeth(f"c{n}", 181 + n) for n in range(ADAPTERS)]
    try:
        service_writes(pairs)
        desktop_writes(pairs)
    finally:
        for pair in pairs:
            pair.remove()
    finish()


main()
