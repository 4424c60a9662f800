"""Under Wine: the service started by Wine's own boot right after a fresh server (as after a
machine restart), with traffic crossing a veth pair into a namespace of this driver's own, then
stopped and started again several times the same day; in later rounds the veth is plugged in only
after the service runs, as a USB or VPN adapter would be. The day keeps one record per adapter, its
totals never go back and hold every byte sent; a killed service loses at most the last 8-second
write block."""

import os
import random
import time

from day_records import Sender, kernel_counters, kill_service_process, restart_wine, todays_records
from service_helpers import SERVICE_LOG, enabled_service_and_pair, run_service, service_runs, wait_for_state
from veth import PluggableVeth
from wine_helpers import BUILD, check, expect, finish, wait_for, wine

FOLDER = os.path.join(BUILD, "service-restart-e2e")
LOG = os.path.join(FOLDER, "qxrsum_v2.log")
PAIR = PluggableVeth("r", 82)
ROUNDS = 3
WRITE_BLOCK = 8  # seconds between the service's writes
TICKS = 2  # the write carries the totals of the tick before it, and ticks drift past the second


def wait_until_counting(before):
    """The service runs, and has had time to see the veth at least once (it may be reported late)."""
    ok = wait_for(lambda: service_runs() > before, 60)
    time.sleep(3)
    return ok


def warm_up_neighbour():
    """A resolved neighbour entry, so that no datagram of a burst waits for it and is dropped."""
    Sender(PAIR.far_ip, 100, 1, 0).start().stop()
    time.sleep(0.3)


def veth_records(near_id):
    return [r for r in todays_records(LOG) if r[1] == 300 and r[2] == near_id]


def one_record_each(what):
    records = todays_records(LOG)
    keys = [(kind, ident) for _, kind, ident, _, _ in records]
    duplicates = sorted({key for key in keys if keys.count(key) > 1})
    check(records and not duplicates, f"{what}: one record of today per adapter ({len(records)} records"
          + (f"; twice or more: {duplicates})" if duplicates else ")"))
    return {(kind, ident): (received, sent) for _, kind, ident, received, sent in records}


def never_back(before, after, what):
    back = {key: (value, after.get(key)) for key, value in before.items()
            if after.get(key, (0, 0))[0] < value[0] or after.get(key, (0, 0))[1] < value[1]}
    check(not back, f"{what}: no total went back" + (f" ({back})" if back else ""))


def clean_restarts(near_id):
    """Each round: Wine's boot starts the service, a burst crosses the veth, the service stops."""
    totals, payload, sent_before = {}, 0, 0
    for round_number in range(1, ROUNDS + 1):
        plugged_late = round_number > 1
        if plugged_late:
            sent_before += kernel_counters(PAIR.near)[1]
            PAIR.remove()
        before = service_runs()
        restart_wine()
        if not check(wait_until_counting(before), f"round {round_number}: Wine's boot started the service"):
            return totals, payload, sent_before
        if plugged_late:
            check(PAIR.create() and PAIR.lasting_id() == near_id,
                  f"round {round_number}: {PAIR.near} plugged in again while the service runs, under its id")
            time.sleep(2)
        warm_up_neighbour()
        sender = Sender(PAIR.far_ip, 1000, 50, 0.01).start()
        time.sleep(1.5)
        payload += sender.stop()
        time.sleep(1.5)
        wine("sc", "stop", "VeltranoService", check=False)
        check(wait_for_state(1), f"round {round_number}: the service stops")
        after = one_record_each(f"round {round_number}")
        never_back(totals, after, f"round {round_number}")
        near_sent = after.get((300, near_id), (0, 0))[1]
        check(near_sent >= payload, f"round {round_number}: {PAIR.near} sent {near_sent} bytes today, "
              f"at least the {payload} payload bytes sent so far")
        totals = after
    return totals, payload, sent_before


def killed_run(near_id, totals, payload):
    """Steady traffic, the service killed mid-block: what was sent up to one write block (and its
    tick) before the kill is on disk, and the next run continues from it."""
    before = service_runs()
    wine("sc", "start", "VeltranoService", check=False)
    if not check(wait_until_counting(before), "the service starts again"):
        return
    warm_up_neighbour()
    sender = Sender(PAIR.far_ip, 1000, 20, 0.05).start()
    time.sleep(random.uniform(12, 16))  # somewhere in a write block
    killed_at = time.time()
    check(kill_service_process(), "the service process is killed")
    sent = sender.stop()
    time.sleep(0.5)
    on_disk = one_record_each("after the kill")
    never_back(totals, on_disk, "after the kill")
    near_sent = on_disk.get((300, near_id), (0, 0))[1]
    safe = payload + sender.sent_before(killed_at - WRITE_BLOCK - TICKS)
    check(near_sent >= safe, f"after the kill {PAIR.near} holds {near_sent} bytes: everything sent until "
          f"{WRITE_BLOCK + TICKS} s before the kill ({safe} payload bytes) is on disk")
    print(f"lost to the kill: at most {max(0, payload + sent - near_sent)} payload bytes "
          f"of the {sent} sent in the killed run")

    # Wine's service manager learns of the killed process when the service is next started.
    before = service_runs()
    wine("sc", "start", "VeltranoService", check=False)
    check(wait_for(lambda: service_runs() > before, 60), "the service starts after the kill")
    time.sleep(2)
    wine("sc", "stop", "VeltranoService", check=False)
    check(wait_for_state(1), "and stops")
    final = one_record_each("after the run that followed the kill")
    never_back(on_disk, final, "after the run that followed the kill")


def main():
    enabled_service_and_pair(FOLDER, LOG, PAIR)
    try:
        near_id = PAIR.lasting_id()
        check(near_id is not None, f"Wine lists {PAIR.near} ({near_id})")
        kernel_before = kernel_counters(PAIR.near)[1]
        totals, payload, sent_before = clean_restarts(near_id)
        if near_id and totals:
            killed_run(near_id, totals, payload)
        recorded = one_record_each("at the end").get((300, near_id), (0, 0))[1]
        kernel_sent = sent_before + kernel_counters(PAIR.near)[1] - kernel_before
        check(recorded <= kernel_sent, f"{PAIR.near}: {recorded} bytes recorded as sent today, "
              f"never more than the kernel's {kernel_sent}")
    finally:
        wine("sc", "stop", "VeltranoService", check=False)
        wait_for_state(1)
        run_service("/uninstall")
        PAIR.remove()
    expect(os.path.exists(SERVICE_LOG), True, "the service kept its log")
    finish()


main()
