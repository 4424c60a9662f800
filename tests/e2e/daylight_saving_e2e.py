"""Under Wine, in a zone with daylight saving (Europe/Berlin): the desktop, then the service, as the
log's writer runs through the hour skipped in spring and the hour repeated in autumn while traffic
crosses a veth pair. Neither change is taken for a jump of the clock: every byte the kernel sent is
in the day's records, the day keeps one record per adapter, and the desktop writes the log once at
the change.

The clock is moved through the test offset file of the programs' clock (VELTRANO_TEST_CLOCK_FILE);
the zone comes from TZ in the environment of the Wine processes (for the service, of the Wine
started again, whose service manager passes the zone on)."""

import calendar
import os
import re
import shutil
import subprocess
import threading
import time

from day_records import Sender, TestClock, duplicated_days, kernel_counters, read_records, records_by_date
from day_records import restart_wine
from service_helpers import enable_service, fresh_service, run_service, service_messages, wait_for_state
from veth import VethPair
from wine_helpers import BUILD, WINE_RUN, check, finish, reg_add, reg_delete_tree, wait_for, windows_path, wine

FOLDER = os.path.join(BUILD, "daylight-saving-e2e")
DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
ZONE = "Europe/Berlin"
PAIR = VethPair("d", 151)
SERVICE_KEY = r"HKLM\System\CurrentControlSet\Services\VeltranoService"
LEAD = 20  # seconds of running before the change, and after it
# The changes of 2027 in UTC: 02:00 CET becomes 03:00 CEST, and 03:00 CEST becomes 02:00 CET.
CHANGES = {"spring": calendar.timegm((2027, 3, 28, 1, 0, 0)), "autumn": calendar.timegm((2027, 10, 31, 1, 0, 0))}


def wine_uses_the_zone(environment):
    """Wine's local time is the zone's: cmd's clock ("Current Time is 7:30:13 AM") agrees with the
    host's clock in that zone to the minute."""
    out = subprocess.run([WINE_RUN, "cmd", "/c", "time", "/t"], env=environment, capture_output=True, text=True,
                         timeout=60).stdout
    match = re.search(r"(\d+):(\d+):\d+ ?([AP]M)?", out)
    if not match:
        return False
    hour = int(match.group(1)) % 12 + (12 if match.group(3) == "PM" else 0) if match.group(3) else int(match.group(1))
    now = time.localtime()
    difference = abs((hour * 60 + int(match.group(2))) - (now.tm_hour * 60 + now.tm_min))
    return min(difference, 1440 - difference) <= 1


def write_times(path, stop, changes):
    """Moments at which the log file's write time changed."""
    last = None
    while not stop.is_set():
        try:
            now = os.stat(path).st_mtime_ns
        except OSError:
            now = None
        if last is not None and now != last:
            changes.append(time.time())
        last = now
        time.sleep(0.05)


def desktop_writer(name, log, environment):
    """(start, stop) of the desktop as the log's writer."""
    desktop = []
    reg_add(r"HKCU\Software\Veltrano\Options", "TrafficLogFile", "REG_SZ", windows_path(log))

    def start():
        desktop.append(subprocess.Popen([WINE_RUN, DESKTOP], env=environment, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL))
        check(wait_for(lambda: read_records(log) is not None, 30), f"{name}: the desktop opened its log")
        time.sleep(4)  # interfaces are counted from their second tick

    def stop():
        wine("taskkill", "/im", "Pellacor.exe", check=False)
        try:
            desktop[0].wait(timeout=30)
        except subprocess.TimeoutExpired:
            desktop[0].kill()
    return start, stop


def service_writer(name, log, environment):
    """(start, stop) of the service as the log's writer, in a Wine started again in the zone."""
    fresh_service(os.path.join(FOLDER, "service"))
    enable_service(windows_path(log))
    reg_add(SERVICE_KEY, "TestClockFile", "REG_SZ", environment["VELTRANO_TEST_CLOCK_FILE"])

    def start():
        restart_wine({"TZ": ZONE})
        wine("sc", "start", "VeltranoService", check=False)
        check(wait_for(lambda: "Service is running..." in service_messages(), 60), f"{name}: the service runs")
        time.sleep(3)

    def stop():
        wine("sc", "stop", "VeltranoService", check=False)
        check(wait_for_state(1), f"{name}: the service stops")
    return start, stop


def through_the_change(name, change, near_id, writer, environment):
    log = os.path.join(FOLDER, f"{name}.log")
    clock = TestClock(os.path.join(FOLDER, "clock.txt"))
    start_writer, stop_writer = writer(name, log, environment)
    clock.set(change - LEAD - time.time())
    try:
        start_writer()
        started = time.time()
        clock.set(change - LEAD - started)  # a few seconds back on the same day: the change still ahead
        kernel_before = kernel_counters(PAIR.near)[1]
        Sender(PAIR.far_ip, 100, 1, 0).start().stop()  # a resolved neighbour before the steady traffic
        time.sleep(0.5)
        stop, writes = threading.Event(), []
        watcher = threading.Thread(target=write_times, args=(log, stop, writes), daemon=True)
        watcher.start()
        sender = Sender(PAIR.far_ip, 1000, 10, 0.02).start()
        at_change = started + LEAD
        time.sleep(max(0.0, at_change - time.time()) + LEAD / 2)
        sender.stop()
        time.sleep(2)
        stop.set()
        watcher.join()
    finally:
        stop_writer()
    kernel_sent = kernel_counters(PAIR.near)[1] - kernel_before
    records = read_records(log) or []
    day = time.gmtime(change)[:3]
    check(not duplicated_days(records) and {r[0] for r in records} == {day},
          f"{name}: one record per adapter, all dated {day} ({len(records)} records)")
    recorded = sum(s for _, s in records_by_date(records, 300, near_id).get(day, []))
    lost = kernel_sent - recorded
    print(f"figures, {name}: {sender.progress[-1][1]} payload bytes sent, {kernel_sent} counted by the kernel, "
          f"{recorded} in the day record, {lost} not recorded")
    check(abs(lost) <= 2000, f"{name}: every byte sent through the change is recorded, give or take stray packets "
          f"around the measurement ({lost})")
    if writer is desktop_writer:  # the service writes every 8 seconds whatever the hour
        near_change = [t for t in writes if abs(t - at_change) < LEAD / 2]
        check(len(near_change) == 1, f"{name}: the log was written once at the change ({len(near_change)} writes, "
              f"{[round(t - at_change, 1) for t in near_change]} s from it)")


def main():
    if not os.path.exists(f"/usr/share/zoneinfo/{ZONE}"):
        print(f"no {ZONE} in the host's zone database: nothing to check")
        finish()
    os.environ["TZ"] = ZONE
    time.tzset()
    environment = dict(os.environ, TZ=ZONE)
    if not wine_uses_the_zone(environment):
        print(f"Wine does not take {ZONE} from TZ here: nothing to check")
        finish()
    run_service("/uninstall")
    reg_delete_tree(r"HKLM\Software\Veltrano")
    reg_delete_tree(r"HKCU\Software\Veltrano")
    shutil.rmtree(FOLDER, ignore_errors=True)
    os.makedirs(FOLDER)
    if not PAIR.create():
        print("network namespaces cannot be created here: nothing to check")
        finish()
    try:
        near_id = PAIR.lasting_id()
        environment["VELTRANO_TEST_CLOCK_FILE"] = windows_path(os.path.join(FOLDER, "clock.txt"))
        if check(near_id is not None, f"Wine lists {PAIR.near} ({near_id})"):
            for name, change in CHANGES.items():
                through_the_change(f"desktop, {name}", change, near_id, desktop_writer, environment)
            for name, change in CHANGES.items():
                through_the_change(f"service, {name}", change, near_id, service_writer, environment)
    finally:
        reg_delete_tree(r"HKCU\Software\Veltrano")
        run_service("/uninstall")
        reg_delete_tree(r"HKLM\Software\Veltrano")
        PAIR.remove()
        del os.environ["TZ"]
        restart_wine()  # the prefix's programs back in the machine's own zone
    finish()


main()
