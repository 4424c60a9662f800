"""Under Wine: the service counts a veth pair driven as fast as this machine can push, for a minute
and several 32-bit counter wraps, and its record of the day is held against the kernel's own
counters of the interface read before and after. With the 64-bit interface table every byte is
counted; the same run with the 32-bit counters forced shows what their wrap rule loses."""

import os
import subprocess
import time

from day_records import Sender, kernel_counters, restart_wine, todays_records
from service_helpers import enabled_service_and_pair, run_service, service_runs, wait_for_state
from veth import VethPair
from wine_helpers import BUILD, check, finish, reg_add, wait_for, wine

FOLDER = os.path.join(BUILD, "counters64-e2e")
LOG = os.path.join(FOLDER, "qxrsum_v2.log")
PAIR = VethPair("w", 83)
NARROW = {"VELTRANO_IF_COUNTERS": "32"}
# The service manager builds a service's environment from the system's, not from its own.
SYSTEM_ENVIRONMENT = r"HKLM\System\CurrentControlSet\Control\Session Manager\Environment"
GOAL = 0.9999


def near_record(near_id):
    for _, kind, ident, received, sent in todays_records(LOG):
        if kind == 300 and ident == near_id:
            return received, sent
    return 0, 0


def widen_the_link():
    """64 KiB frames: far fewer packets for the same bytes, so the sender is not the limit."""
    for command in (["ip", "link", "set", PAIR.near, "mtu", "65535"],
                    ["ip", "netns", "exec", PAIR.netns, "ip", "link", "set", PAIR.far, "mtu", "65535"],
                    ["sysctl", "-qw", f"net.ipv6.conf.{PAIR.near}.disable_ipv6=1"]):
        subprocess.run(command, capture_output=True)


def measure(near_id, seconds, narrow):
    """(counted, kernel) bytes sent through the near end while the service ran a fresh Wine."""
    wine("sc", "stop", "VeltranoService", check=False)
    wait_for_state(1)
    if narrow:
        reg_add(SYSTEM_ENVIRONMENT, "VELTRANO_IF_COUNTERS", "REG_SZ", NARROW["VELTRANO_IF_COUNTERS"])
    else:
        wine("reg", "delete", SYSTEM_ENVIRONMENT, "/v", "VELTRANO_IF_COUNTERS", "/f", check=False)
    counted_before, kernel_before = near_record(near_id), kernel_counters(PAIR.near)
    before = service_runs()
    # Wine's boot starts the service.
    restart_wine(NARROW if narrow else None)
    if not wait_for(lambda: service_runs() > before, 60):
        return None
    time.sleep(3)
    Sender(PAIR.far_ip, 100, 1, 0).start().stop()
    time.sleep(0.3)
    sender = Sender(PAIR.far_ip, 65000, 200, 0).start()
    time.sleep(seconds)
    sender.stop()
    time.sleep(2)
    wine("sc", "stop", "VeltranoService", check=False)
    wait_for_state(1)
    counted_after, kernel_after = near_record(near_id), kernel_counters(PAIR.near)
    counted = [counted_after[i] - counted_before[i] for i in (0, 1)]
    kernel = [kernel_after[i] - kernel_before[i] for i in (0, 1)]
    return counted, kernel


def report(label, figures, seconds):
    counted, kernel = figures
    ratio = counted[1] / kernel[1] if kernel[1] else 0.0
    print(f"{label}: sent {kernel[1]} bytes in {seconds} s ({kernel[1] / seconds / 1e6:.0f} MB/s, "
          f"{kernel[1] / 2**32:.1f} wraps of a 32-bit counter); counted {counted[1]}: {100 * ratio:.4f}%; "
          f"received {counted[0]} of {kernel[0]}")
    return ratio


def main():
    enabled_service_and_pair(FOLDER, LOG, PAIR)
    try:
        widen_the_link()
        near_id = PAIR.lasting_id()
        if check(near_id is not None, f"Wine lists {PAIR.near} ({near_id})"):
            wide = measure(near_id, 60, narrow=False)
            if check(wide is not None, "the service ran on the 64-bit counters"):
                ratio = report("64-bit counters", wide, 60)
                check(wide[1][1] > 2 * 2**32, "the minute crossed several 32-bit wraps")
                check(GOAL <= ratio <= 1.0, f"counted / kernel = {100 * ratio:.4f}%, "
                      f"at least {100 * GOAL:.2f}% and never above")
                check(wide[0][0] <= wide[1][0], "received: never more than the kernel counted")
            narrow = measure(near_id, 30, narrow=True)
            if check(narrow is not None, "the service ran on the 32-bit counters"):
                narrow_ratio = report("32-bit counters (forced)", narrow, 30)
                check(narrow_ratio <= 1.0, "the 32-bit path never counts more than the kernel")
                if wide is not None and narrow[1][1] > 2 * 2**32:
                    check(narrow_ratio < ratio, "the forced 32-bit path loses bytes at its wraps")
    finally:
        wine("sc", "stop", "VeltranoService", check=False)
        wait_for_state(1)
        wine("reg", "delete", SYSTEM_ENVIRONMENT, "/v", "VELTRANO_IF_COUNTERS", "/f", check=False)
        run_service("/uninstall")
        restart_wine()  # a server without the forced width for whatever runs next
        PAIR.remove()
    finish()


main()
