"""Under Wine: the service writing onto a small file system (a tmpfs of 300 KiB) that a filler file
fills while it runs. The traffic log, a scheduled report and a rates recording file all live there.
While the disk is full nothing is half-written: the log keeps its earlier records byte for byte
and no part of a record, the report is empty rather than cut off, the recording holds no part of
a line; the service's log says so once per file, not once a second. Once the filler is gone the
day's records, the report and every recorded line are written, and the bytes the log and the
recording count hold what this driver sent across a veth pair. Then the log and the report are
made read-only while the service runs (the report's disk switched to read-only, the log given the
read-only attribute)."""

import os
import struct
import time

from day_records import Sender, fill_disk, kernel_counters, mount_small_disk, read_records, remount, today, \
    unmount_small_disk
from service_helpers import enable_service, fresh_service, run_service, service_messages, wait_for_state
from veth import VethPair
from wine_helpers import BUILD, check, expect, finish, reg_add, reg_delete_tree, skip, wait_for, windows_path, wine

MOUNT = f"/tmp/disk-full-service-{os.getpid()}"
REPORTS_MOUNT = MOUNT + "-reports"  # a disk of its own, so that it can be made read-only
FOLDER = os.path.join(MOUNT, "meter")
LOG = os.path.join(FOLDER, "qxrsum_v2.log")
REPORT = os.path.join(REPORTS_MOUNT, "daily.txt")
RATES = os.path.join(FOLDER, "rates.csv")
PAIR = VethPair("f", 161)
PAGE = 4096


def past_log():
    """A log of 13 records of past days: its last page has room for less than one more record, so
    no append of today can land in it while the disk is full."""
    data = b"NTSL" + struct.pack("<I", 2) + bytes(16)
    for day in range(1, 14):
        record = struct.pack("<6Hi", 2020, 1, day, 0, 3, 0, 100) + bytes(264)
        data += record + struct.pack("<QQ", 1000 * day, 7 * day)
    assert PAGE - len(data) % PAGE < 296
    return data


def scheduled_report(path):
    """A daily report of All Connections every second (the record of the service's Reports key)."""
    record = struct.pack("<ii260sii", 1, 100, b"", 1, 0)
    return record + path.encode("utf-16-le").ljust(520, b"\0")


def plant_settings(near_id):
    enable_service(windows_path(LOG))
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceOptions", "REG_BINARY", struct.pack("<III", 1, 0, 1).hex())
    reg_add(r"HKLM\Software\Veltrano\Service\Reports", "Report1", "REG_BINARY",
            scheduled_report(windows_path(REPORT)).hex())
    reg_add(r"HKLM\Software\Veltrano\Options", "DateFormat", "REG_DWORD", "68")
    reg_add(r"HKLM\Software\Veltrano\Options", "DisplayUnitByte", "REG_DWORD", "1")
    adapter = rf"HKLM\Software\Veltrano\AdaptersEx\300-{near_id}"
    reg_add(adapter, "AdapterID", "REG_SZ", near_id)
    reg_add(adapter, "RecordTrafficRates", "REG_DWORD", "1")
    reg_add(adapter, "RecordNumberOnly", "REG_DWORD", "1")
    reg_add(adapter, "RecordInterval", "REG_DWORD", "1")
    reg_add(adapter, "RecordFile", "REG_SZ", windows_path(RATES))


def size(path):
    return os.path.getsize(path) if os.path.exists(path) else None


def count(text):
    return sum(1 for m in service_messages() if text in m)


def recorded_lines():
    """(time text, uploaded bytes) of every data line of the recording, in file order."""
    with open(RATES, "rb") as f:
        text = f.read().decode("latin-1")
    lines = []
    for line in text.split("\r\n"):
        fields = line.split(",")
        if len(fields) == 5 and fields[2].isdigit():
            lines.append((fields[1], int(fields[3])))
    return text, lines


def seconds_of(clock):
    hours, minutes, seconds = (int(x) for x in clock.split(":"))
    return hours * 3600 + minutes * 60 + seconds


def full_disk(near_id, original):
    kernel_before = kernel_counters(PAIR.near)[1]
    filler = fill_disk(MOUNT) + fill_disk(REPORTS_MOUNT)
    print(f"the fillers took {filler} bytes; the log holds {len(original)} bytes")
    wine("sc", "start", "VeltranoService", check=False)
    check(wait_for(lambda: count("Service is running...") == 1, 30), "the service runs on the full disk")
    time.sleep(2)
    sender = Sender(PAIR.far_ip, 1000, 20, 0.05).start()
    time.sleep(20)  # two and more write blocks, twenty report and recorder ticks

    with open(LOG, "rb") as f:
        check(f.read() == original, "while the disk is full the log is unchanged: every earlier record intact, "
              "no part of a record appended")
    expect(size(REPORT), 0, "the report is empty, not cut off where the disk filled")
    expect(size(RATES), 0, "the recording holds no part of a line")
    expect(count("Failed to write traffic log file"), 1, "the service's log tells of the failed log writes once")
    expect(count(f"Failed to write file '{windows_path(REPORT)}'."), 1,
           "and of the failed report once, though it fell due every second")
    expect(count("Failed to write rates recording file"), 1, "and of the recording once")

    os.remove(os.path.join(MOUNT, "filler"))
    os.remove(os.path.join(REPORTS_MOUNT, "filler"))
    freed_at = time.time()
    check(wait_for(lambda: count("Traffic log file (") == 1 and count("is written again") >= 2, 20),
          "with room again the log and the recording are written again, and the service's log says so once each")
    time.sleep(3)
    with open(LOG, "rb") as f:
        now = f.read()
    check(now.startswith(original) and (len(now) - 24) % 296 == 0,
          f"the earlier records are intact byte for byte and only whole records follow ({len(now)} bytes)")
    records = read_records(LOG)
    veth = [r for r in records if r[0] == today() and r[1] == 300 and r[2] == near_id]
    sent = sender.sent_before(freed_at - 10)
    check(len(veth) == 1 and veth[0][4] >= sent,
          f"today's record of {PAIR.near} counts {veth[0][4] if veth else None} bytes sent, at least the "
          f"{sent} payload bytes sent while the disk was full")
    with open(REPORT, "rb") as f:
        check(b"Daily Traffic Report" in f.read(), "the report is written again")
    check(count("Generate daily report") > 0, "and its success is logged")

    payload = sender.stop()
    time.sleep(2.5)
    text, lines = recorded_lines()
    gaps = [seconds_of(b[0]) - seconds_of(a[0]) for a, b in zip(lines, lines[1:])]
    check(text.startswith("The file was generated by Veltrano") and lines and max(gaps, default=1) <= 3,
          f"the recording has its banner and {len(lines)} lines without a gap: the lines of the full disk "
          f"were kept and written in order (largest step {max(gaps, default=0)} s)")
    uploaded = sum(up for _, up in lines)
    kernel_sent = kernel_counters(PAIR.near)[1] - kernel_before
    check(sender.sent_before(freed_at - 5) <= uploaded <= kernel_sent,
          f"the recorded lines add up to {uploaded} bytes uploaded: at least the payload sent while the disk was "
          f"full, at most the kernel's {kernel_sent} (driver sent {payload} payload bytes in all)")
    return veth[0][4] if veth else 0


def read_only(near_id, sent_before):
    """The report's disk switched to read-only while the service runs, and the log made read-only
    by a user: Windows lets the handle opened for writing go on writing, and so does the service."""
    wine("cmd", "/c", "attrib", "+r", windows_path(LOG), check=False)
    if not check(remount(REPORTS_MOUNT, "ro"), "the report's disk is switched to read-only"):
        return
    sender = Sender(PAIR.far_ip, 1000, 20, 0.05).start()
    time.sleep(6)
    refused = f"Failed to create file '{windows_path(REPORT)}'."
    expect(count(refused), 1, "the service's log tells of the report refused by a read-only disk once")
    with open(REPORT, "rb") as f:
        check(b"Daily Traffic Report" in f.read(), "the report written before is kept whole")
    generated = count("Generate daily report")
    check(remount(REPORTS_MOUNT, "rw"), "the report's disk can be written again")
    check(wait_for(lambda: count("Generate daily report") > generated, 10), "and the report is written again")
    time.sleep(6)
    sender.stop()
    time.sleep(1)
    wine("sc", "stop", "VeltranoService", check=False)
    check(wait_for_state(1), "the service stops")
    veth = [r for r in read_records(LOG) if r[0] == today() and r[1] == 300 and r[2] == near_id]
    counted = veth[0][4] - sent_before if veth else 0
    check(counted >= sender.progress[-1][1],
          f"the log made read-only goes on counting through its open file: {counted} more bytes sent counted, "
          f"{sender.progress[-1][1]} payload bytes sent")
    expect(count(refused), 1, "still told once")
    wine("cmd", "/c", "attrib", "-r", windows_path(LOG), check=False)


def main():
    if not mount_small_disk(MOUNT) or not mount_small_disk(REPORTS_MOUNT):
        unmount_small_disk(MOUNT)
        print("a tmpfs cannot be mounted here: nothing to check")
        finish()
    try:
        fresh_service(FOLDER)
        if not PAIR.create():
            skip("traffic on a full disk", "network namespaces cannot be created here")
            return
        near_id = PAIR.lasting_id()
        if not check(near_id is not None, f"Wine lists {PAIR.near} ({near_id})"):
            return
        plant_settings(near_id)
        original = past_log()
        with open(LOG, "wb") as f:
            f.write(original)
        sent = full_disk(near_id, original)
        read_only(near_id, sent)
    finally:
        wine("sc", "stop", "VeltranoService", check=False)
        wait_for_state(1)
        run_service("/uninstall")
        reg_delete_tree(r"HKLM\Software\Veltrano")
        PAIR.remove()
        unmount_small_disk(MOUNT)
        unmount_small_disk(REPORTS_MOUNT)


main()
finish()
