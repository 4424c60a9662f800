"""Under Wine: the traffic log deleted or replaced while its writer runs, the service and then the
desktop. A delete through Windows is refused while the writer holds the file; a delete on the host
(a user or a cleaner on the Linux side, which no sharing rule stops) is noticed at the next write:
the log is made again with today's totals and counting goes on, and the service's log says so. A
foreign file put in its place is kept aside, as at start-up, and a new log takes its place."""

import os
import subprocess
import time

from day_records import Sender, kernel_counters, read_records, today
from service_helpers import enable_service, fresh_service, run_service, service_messages, wait_for_state
from veth import VethPair
from wine_helpers import BUILD, WINE_RUN, check, expect, finish, reg_add, reg_delete_tree, skip, wait_for, \
    windows_path, wine

FOLDER = os.path.join(BUILD, "log-removed-e2e")
LOG = os.path.join(FOLDER, "qxrsum_v2.log")
DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
PAIR = VethPair("d", 162)
FOREIGN = b"MZ\x90\x00 a file of another program"


def sent_today(near_id):
    """Bytes sent today by the veth's record, or None without one; and whether it is the only one."""
    records = [r for r in read_records(LOG) or [] if r[0] == today() and r[1] == 300 and r[2] == near_id]
    return (records[0][4] if records else None), len(records) == 1


def count(text):
    return sum(1 for m in service_messages() if text in m)


def service_as_writer(near_id):
    enable_service(windows_path(LOG))
    kernel_before = kernel_counters(PAIR.near)[1]
    wine("sc", "start", "VeltranoService", check=False)
    check(wait_for(lambda: count("Service is running...") == 1, 30), "the service runs")
    time.sleep(2)
    sender = Sender(PAIR.far_ip, 1000, 20, 0.05).start()
    check(wait_for(lambda: (sent_today(near_id)[0] or 0) > 0, 20), "the service has written today's records")

    wine("cmd", "/c", "del", windows_path(LOG), check=False)
    check(os.path.exists(LOG) and read_records(LOG), "a delete through Windows is refused while the service holds "
          "the log, which stays whole")

    with open(LOG, "rb") as f:
        before = f.read()
    removed_at = time.time()
    os.remove(LOG)
    check(wait_for(lambda: count("was removed; created it again") == 1 and read_records(LOG), 15),
          "a log deleted on the host is made again at the next write, and the service's log says so")
    sent, single = sent_today(near_id)
    payload = sender.sent_before(removed_at - 3)
    check(single and sent is not None and sent >= payload,
          f"it holds today's record of {PAIR.near} with {sent} bytes sent: today's total so far, at least "
          f"the {payload} payload bytes sent before the delete (the old file held {len(before)} bytes)")

    os.remove(LOG)
    with open(LOG, "wb") as f:
        f.write(FOREIGN)
    check(wait_for(lambda: count("was replaced by another file") == 1, 15),
          "a foreign file put in its place is noticed at the next write")
    damaged = LOG + ".damaged"
    with open(damaged, "rb") as f:
        expect(f.read(), FOREIGN, "the foreign file is kept aside byte for byte")
    check(read_records(LOG) is not None and sent_today(near_id)[1], "and the log is made again with today's record")

    payload = sender.stop()
    time.sleep(1)
    wine("sc", "stop", "VeltranoService", check=False)
    check(wait_for_state(1), "the service stops")
    sent, single = sent_today(near_id)
    kernel_sent = kernel_counters(PAIR.near)[1] - kernel_before
    check(single and payload <= sent <= kernel_sent,
          f"after the stop {PAIR.near} has one record of today with {sent} bytes sent: every payload byte "
          f"({payload}) the driver sent, at most the kernel's {kernel_sent}")
    expect(count("Failed"), 0, "no failure on the way")
    os.remove(damaged)


def desktop_as_writer(near_id):
    """The desktop writes at 16-minute boundaries and when it closes: a log deleted meanwhile is
    made again by that write, with the totals of the day."""
    reg_delete_tree(r"HKLM\Software\Veltrano")
    reg_delete_tree(r"HKCU\Software\Veltrano")
    reg_add(r"HKCU\Software\Veltrano\Options", "FirstRun", "REG_DWORD", "0")
    reg_add(r"HKCU\Software\Veltrano\Options", "TrafficLogFile", "REG_SZ", windows_path(LOG))
    os.remove(LOG)
    desktop = subprocess.Popen([WINE_RUN, DESKTOP], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        check(wait_for(lambda: os.path.exists(LOG), 30), "the desktop opens its log")
        time.sleep(3)
        sender = Sender(PAIR.far_ip, 1000, 20, 0.05).start()
        time.sleep(3)
        wine("cmd", "/c", "del", windows_path(LOG), check=False)
        check(os.path.exists(LOG), "a delete through Windows is refused while the desktop holds the log")
        os.remove(LOG)
        with open(LOG, "wb") as f:
            f.write(FOREIGN)
        time.sleep(3)
        payload = sender.stop()
        time.sleep(2)
        wine("taskkill", "/im", "Pellacor.exe", check=False)
        desktop.wait(timeout=30)
    finally:
        if desktop.poll() is None:
            desktop.kill()
    with open(LOG + ".damaged", "rb") as f:
        expect(f.read(), FOREIGN, "the desktop kept the foreign file in the log's place aside")
    sent, single = sent_today(near_id)
    check(single and sent is not None and sent >= payload,
          f"and wrote the day into a new log when it closed: {sent} bytes sent by {PAIR.near}, at least the "
          f"{payload} payload bytes sent")


def main():
    fresh_service(FOLDER)
    try:
        if not PAIR.create():
            skip("traffic while the log is removed", "network namespaces cannot be created here")
            return
        near_id = PAIR.lasting_id()
        if not check(near_id is not None, f"Wine lists {PAIR.near} ({near_id})"):
            return
        service_as_writer(near_id)
        run_service("/uninstall")
        desktop_as_writer(near_id)
    finally:
        wine("sc", "stop", "VeltranoService", check=False)
        wait_for_state(1)
        run_service("/uninstall")
        reg_delete_tree(r"HKLM\Software\Veltrano")
        reg_delete_tree(r"HKCU\Software\Veltrano")
        PAIR.remove()


main()
finish()
