"""A week of running, under Wine, in about three minutes: the service writing the traffic log and
the desktop reading it beside it, with UDP traffic through a veth pair, while the programs' clock
is set forward a day at a time from 27 December through the month and year end to 3 January
(through the test offset file of their clock). Per simulated day: each program's CPU seconds,
resident memory and handle count (GDI and USER counts where the system gives them: Wine answers
0), and the day's record against what the kernel sent. Run as root, by hand, after building the
win64 tree:
    python3 bench/week_soak.py [seconds of traffic per day]"""

import datetime
import os
import struct
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
os.environ.setdefault("VELTRANO_BUILD", os.path.join(ROOT, "build", "win64"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from day_records import Sender, TestClock, duplicated_days, kernel_counters, read_records, records_by_date  # noqa
from service_helpers import enabled_service_and_pair, run_service, service_messages, wait_for_state  # noqa
from veth import VethPair  # noqa
from wine_helpers import BUILD, WINE_RUN, reg_add, reg_delete_tree, wait_for, windows_path, wine  # noqa

SECONDS_PER_DAY = int(sys.argv[1]) if len(sys.argv) > 1 else 15
FIRST_DAY = datetime.date(2027, 12, 27)
DAYS = 8  # 27 December to 3 January: seven date changes
FOLDER = os.path.join(BUILD, "week-soak")
LOG = os.path.join(FOLDER, "qxrsum_v2.log")
PAIR = VethPair("w", 152)
COUNTS = os.path.join(BUILD, "bench", "process_counts.exe")


def build_counts_probe():
    os.makedirs(os.path.dirname(COUNTS), exist_ok=True)
    subprocess.run(["x86_64-w64-mingw32-g++-posix", "-O2", "-municode", "-static", "-o", COUNTS,
                    os.path.join(ROOT, "bench", "process_counts.cpp")], check=True)


def unix_pid(image):
    """The Linux process of a Windows image of this prefix."""
    prefix = os.path.realpath(os.environ["WINEPREFIX"])
    for pid in subprocess.run(["pgrep", "-f", image], capture_output=True, text=True).stdout.split():
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                environment = f.read().decode(errors="replace").split("\0")
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                command = f.read().decode(errors="replace")
        except OSError:
            continue
        if command.rstrip("\0").endswith(image) and any(
                e.startswith("WINEPREFIX=") and os.path.realpath(e[11:]) == prefix for e in environment):
            return int(pid)
    return None


def footprint(pid, image):
    """(cpu seconds, resident KiB, handles, gdi, user) of one program."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    cpu = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    rss = 0
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                rss = int(line.split()[1])
    counts = wine(COUNTS, image, check=False).split()
    handles, gdi, user = (int(counts[1]), int(counts[2]), int(counts[3])) if len(counts) >= 4 else (-1, -1, -1)
    return cpu, rss, handles, gdi, user


def offset_to(date, hour):
    """Seconds to add to the real UTC for the local clock (this machine's zone) to show date, hour."""
    return time.mktime((date.year, date.month, date.day, hour, 0, 0, 0, 0, -1)) - time.time()


def main():
    os.environ["VELTRANO_TEST_CLOCK_FILE"] = ""
    build_counts_probe()
    enabled_service_and_pair(FOLDER, LOG, PAIR)
    clock = TestClock(os.path.join(FOLDER, "clock.txt"))
    clock.set(offset_to(FIRST_DAY, 12))
    reg_add(r"HKLM\System\CurrentControlSet\Services\VeltranoService", "TestClockFile", "REG_SZ",
            windows_path(clock.path))
    reg_delete_tree(r"HKCU\Software\Veltrano")
    reg_add(r"HKCU\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    reg_add(r"HKCU\Software\Veltrano\Options", "TrafficLogFile", "REG_SZ", windows_path(LOG))
    desktop = None
    try:
        near_id = PAIR.lasting_id()
        wine("sc", "start", "VeltranoService", check=False)
        if not wait_for(lambda: "Service is running..." in service_messages(), 60):
            sys.exit("the service did not start")
        environment = dict(os.environ, VELTRANO_TEST_CLOCK_FILE=windows_path(clock.path))
        desktop = subprocess.Popen([WINE_RUN, os.path.join(BUILD, "src", "Pellacor.exe")], env=environment,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(5)
        pids = {"service": unix_pid("PellacorService.exe"), "desktop": unix_pid("Pellacor.exe")}
        images = {"service": "PellacorService.exe", "desktop": "Pellacor.exe"}
        previous = {who: footprint(pid, images[who]) for who, pid in pids.items()}
        print(f"start: " + "; ".join(f"{who} rss {p[1]} KiB, {p[2]} handles" for who, p in previous.items()))
        sent_per_day, rows = {}, []
        for index in range(DAYS):
            day = FIRST_DAY + datetime.timedelta(days=index)
            if index:
                clock.set(offset_to(day, 12))
            time.sleep(2.5)  # quiet while the programs see the new date
            before = kernel_counters(PAIR.near)[1]
            sender = Sender(PAIR.far_ip, 1000, 10, 0.02).start()
            time.sleep(SECONDS_PER_DAY)
            sender.stop()
            time.sleep(2.5)  # the last bytes of the day counted before the next jump
            sent_per_day[day.timetuple()[:3]] = kernel_counters(PAIR.near)[1] - before
            now = {who: footprint(pid, images[who]) for who, pid in pids.items()}
            rows.append((day, {who: (now[who][0] - previous[who][0],) + now[who][1:] for who in now}))
            previous = now
            line = "; ".join(f"{who} cpu {v[0]:.2f} s rss {v[1]} KiB handles {v[2]} gdi {v[3]} user {v[4]}"
                             for who, v in rows[-1][1].items())
            print(f"{day}: {line}", flush=True)
        wine("sc", "stop", "VeltranoService", check=False)
        wait_for_state(1)
        records = read_records(LOG)
        by_date = records_by_date(records, 300, near_id)
        print(f"records: {len(records)}, dates held twice by an adapter: {duplicated_days(records) or 'none'}")
        for date, sent in sent_per_day.items():
            recorded = sum(s for _, s in by_date.get(date, []))
            print(f"{date}: kernel sent {sent} bytes, the day record holds {recorded} ({recorded - sent:+d})")
        for who in pids:
            rss = [r[1][who][1] for r in rows]
            handles = [r[1][who][2] for r in rows]
            cpu = [r[1][who][0] for r in rows]
            print(f"{who}: rss {min(rss)}..{max(rss)} KiB, handles {min(handles)}..{max(handles)}, "
                  f"cpu per simulated day {sum(cpu) / len(cpu):.2f} s "
                  f"({SECONDS_PER_DAY + 5} s of real time each)")
    finally:
        if desktop:
            wine("taskkill", "/im", "Pellacor.exe", check=False)
            desktop.wait(timeout=30)
        wine("sc", "stop", "VeltranoService", check=False)
        wait_for_state(1)
        run_service("/uninstall")
        reg_delete_tree(r"HKLM\Software\Veltrano")
        reg_delete_tree(r"HKCU\Software\Veltrano")
        PAIR.remove()


main()
