"""Under Wine: the desktop writing its traffic log onto a small file system (a tmpfs of 300 KiB)
that a filler file has filled. The desktop writes at 16-minute boundaries: it runs in a time zone
a few minutes off the machine's, chosen so that a boundary comes soon after it starts. The write
at the boundary fails: the log keeps its earlier records byte for byte and no part of a record,
and the user is told once in a box titled "Veltrano" while the desktop keeps trying every second.
Once the filler is gone the day is written within seconds and holds what this driver sent across a
veth pair."""

import os
import struct
import subprocess
import time

from day_records import Sender, fill_disk, kernel_counters, mount_small_disk, read_records, today, \
    unmount_small_disk
from veth import VethPair
from wine_helpers import BUILD, WINE_RUN, check, expect, finish, reg_add, reg_delete_tree, skip, wait_for, \
    windows_path, wine, xdotool

MOUNT = f"/tmp/disk-full-desktop-{os.getpid()}"
LOG = os.path.join(MOUNT, "qxrsum_v2.log")
DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
PAIR = VethPair("g", 163)
BLOCK_MINUTES = 16


def past_log():
    """13 records of past days: the last page of the file has room for less than one more record."""
    data = b"NTSL" + struct.pack("<I", 2) + bytes(16)
    for day in range(1, 14):
        record = struct.pack("<6Hi", 2020, 2, day, 0, 6, 0, 100) + bytes(264)
        data += record + struct.pack("<QQ", 500 * day, 3 * day)
    return data


def zone_with_boundary_soon(lead_seconds=30):
    """A TZ value a few minutes east of UTC, chosen so that the local minute of the hour reaches a
    multiple of 16 between lead_seconds and a minute and a half from now; and that moment."""
    now = time.time()
    minute_start = int(now // 60) * 60
    target = minute_start + 60 * (1 if now - minute_start <= 60 - lead_seconds else 2)
    minute_of_hour = int(target // 60) % 60  # whole-hour zones only: the machine's own is left out
    shift = next(s for s in range(BLOCK_MINUTES) if (minute_of_hour + s) % 60 % BLOCK_MINUTES == 0)
    return f"<+00{shift:02d}>-0:{shift:02d}", target


def boxes(main_window):
    """The ids of visible windows titled "Veltrano" other than the main window."""
    return set(xdotool("search", "--onlyvisible", "--name", "^Veltrano$")) - {main_window}


def main():
    if not mount_small_disk(MOUNT):
        print("a tmpfs cannot be mounted here: nothing to check")
        finish()
    desktop = None
    try:
        if not PAIR.create():
            skip("traffic on a full disk", "network namespaces cannot be created here")
            return
        near_id = PAIR.lasting_id()
        if not check(near_id is not None, f"Wine lists {PAIR.near} ({near_id})"):
            return
        reg_delete_tree(r"HKCU\Software\Veltrano")
        reg_add(r"HKCU\Software\Veltrano\Options", "FirstRun", "REG_DWORD", "0")
        reg_add(r"HKCU\Software\Veltrano\Options", "TrafficLogFile", "REG_SZ", windows_path(LOG))
        original = past_log()
        with open(LOG, "wb") as f:
            f.write(original)
        filler = fill_disk(MOUNT)
        zone, boundary = zone_with_boundary_soon()
        os.environ["TZ"] = zone  # the driver's "today" is the desktop's
        time.tzset()
        print(f"the filler took {filler} bytes; the desktop runs at {zone}, a write boundary "
              f"{boundary - time.time():.0f} s from now")

        kernel_before = kernel_counters(PAIR.near)[1]
        desktop = subprocess.Popen([WINE_RUN, DESKTOP], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   env=dict(os.environ, TZ=zone))
        main_window = wait_for(lambda: xdotool("search", "--onlyvisible", "--name", "^Veltrano$"), 30)
        if not check(main_window is not None and len(main_window) == 1, "the desktop's window is up"):
            return
        main_window = main_window[0]
        time.sleep(2)
        sender = Sender(PAIR.far_ip, 1000, 20, 0.05).start()
        time.sleep(max(0, boundary - time.time()) + 4)
        check(wait_for(lambda: boxes(main_window), 10), "the failed write at the boundary is told in a box")
        time.sleep(10)  # ten more failed writes
        seen = boxes(main_window)
        expect(len(seen), 1, "boxes titled \"Veltrano\" after ten more failed writes: once")
        with open(LOG, "rb") as f:
            check(f.read() == original, "the log is unchanged: every earlier record intact, no part of a record")

        os.remove(os.path.join(MOUNT, "filler"))
        freed_at = time.time()
        check(wait_for(lambda: any(r[0] == today() and r[1] == 300 and r[2] == near_id
                                   for r in read_records(LOG) or []), 5),
              "with room again the day is written within seconds, not at the next boundary")
        time.sleep(1.5)
        with open(LOG, "rb") as f:
            data = f.read()
        check(data.startswith(original) and (len(data) - 24) % 296 == 0,
              f"the earlier records are intact byte for byte and only whole records follow ({len(data)} bytes)")
        veth = [r for r in read_records(LOG) if r[0] == today() and r[1] == 300 and r[2] == near_id]
        payload = sender.sent_before(freed_at - 2)
        check(len(veth) == 1 and veth[0][4] >= payload,
              f"{PAIR.near} counts {veth[0][4] if veth else None} bytes sent today, at least the {payload} "
              f"payload bytes sent until the disk had room again")
        expect(len(boxes(main_window)), 1, "still one box")

        payload = sender.stop()
        time.sleep(1.5)
        for box in boxes(main_window):
            xdotool("windowclose", box)
        wine("taskkill", "/im", "Pellacor.exe", check=False)
        desktop.wait(timeout=30)
        veth = [r for r in read_records(LOG) if r[0] == today() and r[1] == 300 and r[2] == near_id]
        kernel_sent = kernel_counters(PAIR.near)[1] - kernel_before
        check(len(veth) == 1 and payload <= veth[0][4] <= kernel_sent,
              f"after it closed: {veth[0][4] if veth else None} bytes sent today, every payload byte ({payload}) "
              f"and at most the kernel's {kernel_sent}")
    finally:
        if desktop and desktop.poll() is None:
            wine("taskkill", "/im", "Pellacor.exe", check=False)
            try:
                desktop.wait(timeout=30)
            except subprocess.TimeoutExpired:
                desktop.kill()
        reg_delete_tree(r"HKCU\Software\Veltrano")
        PAIR.remove()
        unmount_small_disk(MOUNT)


main()
finish()
