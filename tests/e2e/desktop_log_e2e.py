"""Under Wine: the desktop's traffic log. With default settings it lives in the per-user
application data folder, its path is stored as TrafficLogFile, an old-format log beside it is
migrated (records of kinds 100 and 200 as they are, interface records by hardware address, the
rest dropped), every row has today's record after the window closes, and a second start carries
on from it. While the service is enabled the desktop only reads the log."""

import os
import struct
import subprocess
import time

from day_records import dumped_records, totals_of_today
from wine_helpers import BUILD, WINE_RUN, check, expect, finish, probe, reg_add, reg_delete_tree, reg_query, wine

DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
OPTIONS = r"HKCU\Software\Veltrano\Options"
OLD_DATE = (2026, 1, 5, 0, 1, 0)  # year, month, day, zero, day of week (a Monday), zero


def unix_path(windows_path):
    return wine("winepath", "-u", windows_path).strip()


def app_data_folder():
    return wine("cmd", "/c", "echo", "%APPDATA%").strip()


def old_record(kind, mac, received, sent):
    return struct.pack("<6Hi8sQQ", *OLD_DATE, kind, mac, received, sent)


def interface_with_hardware_address():
    """(name, 8 address bytes) of an interface the kernel gives a non-zero Ethernet address."""
    for name in sorted(os.listdir("/sys/class/net")):
        try:
            with open(f"/sys/class/net/{name}/address") as f:
                text = f.read().strip()
        except OSError:
            continue
        octets = text.split(":")
        if name != "lo" and len(octets) == 6 and any(o != "00" for o in octets):
            return name, bytes(int(o, 16) for o in octets) + b"\0\0"
    return None, None


def interface_ids():
    rows = probe("adapters")["Row"]
    rows = rows if isinstance(rows, list) else [rows]
    return {row.split("\t")[6]: row.split("\t")[1] for row in rows if row.startswith("300")}


def run_desktop(seconds):
    desktop = subprocess.Popen([WINE_RUN, DESKTOP], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(seconds)
        wine("taskkill", "/im", "Pellacor.exe", check=False)
        desktop.wait(timeout=30)
    finally:
        if desktop.poll() is None:
            desktop.kill()


def plant_today_total(unix_log, kind, received):
    """Sets today's received bytes of the first record of that kind; the value set, or None."""
    today = time.localtime()
    with open(unix_log, "r+b") as f:
        data = f.read()
        for offset in range(24, len(data) - 295, 296):
            year, month, day, _, _, _, record_kind = struct.unpack_from("<6Hi", data, offset)
            if (year, month, day, record_kind) == (today.tm_year, today.tm_mon, today.tm_mday, kind):
                f.seek(offset + 280)
                f.write(struct.pack("<Q", received))
                return received
    return None


def default_path_migration_and_today():
    reg_delete_tree(r"HKCU\Software\Veltrano")
    folder = app_data_folder() + "\\Pellacor"
    log_path = folder + "\\qxrsum_v2.log"
    unix_folder = unix_path(folder)
    os.makedirs(unix_folder, exist_ok=True)
    for name in ("qxrsum_v2.log", "qxrsum.log"):
        if os.path.exists(os.path.join(unix_folder, name)):
            os.remove(os.path.join(unix_folder, name))
    name, mac = interface_with_hardware_address()
    with open(os.path.join(unix_folder, "qxrsum.log"), "wb") as old:
        old.write(old_record(100, b"\0" * 8, 1000, 2000))
        old.write(old_record(200, b"\0" * 8, 0, 0))
        if name:
            old.write(old_record(300, mac, 300, 400))
        old.write(old_record(300, bytes.fromhex("0200000000990000"), 5, 6))
        old.write(b"\1\2\3")  # a torn last record is ignored

    run_desktop(4)
    expect(reg_query(OPTIONS, "TrafficLogFile"), ("REG_SZ", log_path), "the default log path is stored")
    opened, records = dumped_records(log_path)
    check(opened, f"the log at {log_path} has a valid header")
    migrated = [r for r in records if r[0] == "2026-1-5"]
    expected = [("2026-1-5", 100, "", 1000, 2000), ("2026-1-5", 200, "", 0, 0)]
    if name:
        expected.append(("2026-1-5", 300, interface_ids().get(name, "?"), 300, 400))
    expect(migrated, expected, "old records are migrated in order; an unknown hardware address is dropped")
    check(records[:len(expected)] == expected, "migrated records come first")
    today = totals_of_today(records)
    rows = 2 + len(interface_ids())
    expect(len(today), rows, "every row has today's record after the window closed")

    # Today's total of All Connections raised in the file: the next start must carry on from it,
    # with or without live traffic.
    planted = plant_today_total(unix_path(log_path), 100, 10**9)
    run_desktop(3)
    opened, again = dumped_records(log_path)
    later = totals_of_today(again)
    check(len(again) == len(records) and all(later[key] >= today[key] for key in today),
          "a second start rewrites today's records in place and its totals carry on")
    check(planted is not None and later.get((100, ""), (0, 0))[0] >= planted,
          f"a second start takes in today's stored total: {later.get((100, ''))} after {planted} was stored")
    return log_path


def reader_while_the_service_is_enabled(log_path):
    reg_add(r"HKCU\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    unix_log = unix_path(log_path)
    before = b"NTSL" + struct.pack("<I", 2) + bytes(16)  # a writer would append today's records
    with open(unix_log, "wb") as f:
        f.write(before)
    run_desktop(3)
    with open(unix_log, "rb") as f:
        after = f.read()
    check(before == after, "with the service enabled the desktop leaves the log untouched")
    reg_delete_tree(r"HKCU\Software\Veltrano")


log_path = default_path_migration_and_today()
reader_while_the_service_is_enabled(log_path)
finish()
