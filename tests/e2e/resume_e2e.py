"""Under Wine on Xvfb: the desktop program through a sleep of the machine, told by the power
broadcasts the system sends its top-level windows. Before the sleep it writes today's records at
once (it would otherwise wait for the next 16-minute block); while it sleeps the adapter is
unplugged and plugged in again, so its counters start again from zero, and traffic crosses it
before the wake. Afterwards the adapter's record holds every byte of before the sleep and of after
the wake, never more than the kernel counted (a counter that went back is no wrap), and "All
Connections" is the sum of the interfaces' records.

The service's side of the same events (its control handler taking SERVICE_CONTROL_POWEREVENT) has
no way in under Wine, whose service manager sends no power events: the engine's handling of them is
tested natively."""

import os
import shutil
import subprocess
import time

from day_records import kernel_counters, todays_records
from veth import ChurningVeth
from wine_helpers import BUILD, CONTROL_PROBE, WINE_RUN, check, expect, finish, reg_add, reg_delete_tree, skip, \
    wait_for, window_named, windows_path, wine

DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
FOLDER = os.path.join(BUILD, "resume-e2e")
LOG = os.path.join(FOLDER, "qxrsum_v2.log")
PBT_APMSUSPEND, PBT_APMRESUMESUSPEND, PBT_APMRESUMEAUTOMATIC = 4, 7, 18
SETTLE_S = 1.6  # more than one tick, with room for a late timer on a loaded machine


def power(event):
    """The main window's answer to the broadcast, once it was handled; None if it was not."""
    result = subprocess.run([WINE_RUN, CONTROL_PROBE, "power", "Veltrano", str(event)],
                            capture_output=True, text=True, timeout=120)
    for line in result.stdout.split():
        if result.returncode == 0 and line.startswith("Result="):
            return int(line[len("Result="):])
    return None


def record_of(ident):
    for _, kind, record_id, received, sent in todays_records(LOG):
        if kind == 300 and record_id == ident:
            return received, sent
    return None


def sleep_and_wake(pair, ident):
    time.sleep(SETTLE_S)
    pair.send(100, 1000)
    time.sleep(SETTLE_S)
    before_sleep = kernel_counters(pair.near)
    expect(power(PBT_APMSUSPEND), 1, "the window grants the suspend")
    expect(record_of(ident), before_sleep, "the adapter's bytes are on disk before the machine sleeps")

    pair.unplug()
    pair.plug()  # the same adapter, its counters from zero
    asleep = pair.send(300, 1000)
    expect(power(PBT_APMRESUMEAUTOMATIC), 1, "the window takes the automatic wake")
    expect(power(PBT_APMRESUMESUSPEND), 1, "and the wake by the user")
    time.sleep(SETTLE_S)
    after_wake = pair.send(50, 1000)
    time.sleep(SETTLE_S)
    second_life = kernel_counters(pair.near)
    return before_sleep, second_life, asleep, after_wake


def main():
    pair = ChurningVeth("r", 186)
    shutil.rmtree(FOLDER, ignore_errors=True)
    os.makedirs(FOLDER)
    reg_delete_tree(r"HKCU\Software\Veltrano")
    reg_add(r"HKCU\Software\Veltrano\Options", "FirstRun", "REG_DWORD", "0")
    reg_add(r"HKCU\Software\Veltrano\Options", "TrafficLogFile", "REG_SZ", windows_path(LOG))
    if not pair.plug():
        skip("a sleep with an adapter unplugged and plugged in again", "network namespaces cannot be created here")
        finish()
    desktop = subprocess.Popen([WINE_RUN, DESKTOP], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    figures = None
    try:
        ident = pair.lasting_id()
        if check(wait_for(lambda: window_named("Veltrano"), 30) is not None and ident is not None,
                 f"the desktop's window is up and Wine lists {pair.near} ({ident})"):
            figures = sleep_and_wake(pair, ident)
    finally:
        wine("taskkill", "/im", "Pellacor.exe", check=False)
        try:
            desktop.wait(timeout=30)
        except subprocess.TimeoutExpired:
            desktop.kill()
        pair.remove()
        reg_delete_tree(r"HKCU\Software\Veltrano")
    if figures:
        before_sleep, second_life, asleep, after_wake = figures
        counted = record_of(ident)
        print(f"sent: {before_sleep[1]} before the sleep, {second_life[1]} by the adapter plugged in again "
              f"({asleep} payload bytes before the wake, {after_wake} after it); counted {counted}")
        check(counted is not None and before_sleep[1] + after_wake <= counted[1] <= before_sleep[1] + second_life[1],
              "sent: every byte of before the sleep and after the wake, never more than the kernel counted")
        check(counted is not None and before_sleep[0] <= counted[0] <= before_sleep[0] + second_life[0],
              "received: from before the sleep on, never more than the kernel counted")
        records = {(kind, record_id): (received, sent) for _, kind, record_id, received, sent in todays_records(LOG)}
        interfaces = [value for (kind, _), value in records.items() if kind == 300]
        expect(records.get((100, "")), (sum(r for r, _ in interfaces), sum(s for _, s in interfaces)),
               "All Connections is the sum of the interfaces' records")
    finish()


main()
