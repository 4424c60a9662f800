"""Helpers of the drivers that check day records against what was sent: the traffic log read
straight from disk or by the probe beside its writer, the kernel's own counters of an interface, a
fresh Wine server (as after a machine restart), a killed service process, and a steady or flat-out
UDP sender."""

import os
import socket
import struct
import subprocess
import threading
import time

from wine_helpers import PROBE, ROOT, wine

HEADER, RECORD = 24, 296


def read_records(path):
    """Every whole day record of a traffic log as (date, kind, id, received, sent), in file order;
    None when the file is missing or its header is not a version 2 log."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError:
        return None
    if len(data) < HEADER or data[:4] != b"NTSL" or struct.unpack_from("<I", data, 4)[0] != 2:
        return None
    records = []
    for at in range(HEADER, len(data) - RECORD + 1, RECORD):
        year, month, day = struct.unpack_from("<HHH", data, at)
        kind = struct.unpack_from("<i", data, at + 12)[0]
        ident = data[at + 16:at + 276].split(b"\0", 1)[0].decode("latin-1")
        received, sent = struct.unpack_from("<QQ", data, at + 280)
        records.append(((year, month, day), kind, ident, received, sent))
    return records


def today():
    now = time.localtime()
    return now.tm_year, now.tm_mon, now.tm_mday


def todays_records(path):
    return [r for r in read_records(path) or [] if r[0] == today()]


def today_text():
    """Today's date as the probe writes dates: "2026-1-5"."""
    now = time.localtime()
    return f"{now.tm_year}-{now.tm_mon}-{now.tm_mday}"


def dumped_records(windows_path):
    """(opened, records) of a traffic log as the probe reads it beside its writer, under Windows'
    share rules: whether it opened with a valid header, and every record as (date text, kind, id,
    received, sent), in file order."""
    out = wine(PROBE, "dump-log", windows_path, check=False)
    records = []
    for line in out.split("\n"):
        if line.startswith("Record="):
            date, kind, ident, received, sent = line.split("=", 1)[1].split("\t")
            records.append((date, int(kind), ident, int(received), int(sent)))
    return "Open=1" in out, records


def totals_of_today(records):
    """(received, sent) of today's dumped records by (kind, id)."""
    date = today_text()
    return {(kind, ident): (received, sent) for d, kind, ident, received, sent in records if d == date}


def kernel_counters(interface):
    """(received, sent) bytes of an interface as the kernel counts them."""
    base = f"/sys/class/net/{interface}/statistics/"
    with open(base + "rx_bytes") as rx, open(base + "tx_bytes") as tx:
        return int(rx.read()), int(tx.read())


def restart_wine(extra_environment=None):
    """Ends every process of the prefix at once, as a power cut would, then starts a persistent
    server and Wine's boot sequence again: the service manager then starts automatic services."""
    environment = dict(os.environ, **(extra_environment or {}))
    script = f'source "{ROOT}/scripts/wine-env"; wineserver -k; wineserver -w; veltrano_start_wineserver'
    subprocess.run(["bash", "-c", script], env=environment, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def kill_service_process():
    """SIGKILL to the service process of this Wine prefix only; true when one was found."""
    prefix = os.path.realpath(os.environ.get("WINEPREFIX", os.path.join(ROOT, "build", "wineprefix")))
    pids = subprocess.run(["pgrep", "-f", "PellacorService.exe$"], capture_output=True, text=True).stdout.split()
    killed = False
    for pid in pids:
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                environment = f.read().decode(errors="replace").split("\0")
        except OSError:
            continue
        if any(e.startswith("WINEPREFIX=") and os.path.realpath(e[11:]) == prefix for e in environment):
            os.kill(int(pid), 9)
            killed = True
    return killed


class Sender:
    """UDP datagrams to an address's discard port on a thread of their own, keeping (time, payload
    bytes sent so far) after every burst."""

    def __init__(self, address, payload, per_burst, pause):
        self.address, self.payload, self.per_burst, self.pause = address, payload, per_burst, pause
        self.progress = [(time.time(), 0)]
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)

    def _run(self):
        sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        data, total = b"v" * self.payload, 0
        while not self._stop.is_set():
            for _ in range(self.per_burst):
                try:
                    sender.sendto(data, (self.address, 9))
                    total += self.payload
                except OSError:
                    pass  # a full queue drops the datagram before the interface counts it
            self.progress.append((time.time(), total))
            if self.pause:
                time.sleep(self.pause)
        sender.close()

    def start(self):
        self._thread.start()
        return self

    def stop(self):
        self._stop.set()
        self._thread.join()
        return self.progress[-1][1]

    def sent_before(self, moment):
        """Payload bytes whose sending had ended by that moment."""
        return max((total for at, total in self.progress if at <= moment), default=0)


def mount_small_disk(mount):
    """A tmpfs of 300 KiB at mount (created); False, and nothing left behind, where mounting is refused."""
    os.makedirs(mount, exist_ok=True)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=300k", "tmpfs", mount], capture_output=True).returncode:
        os.rmdir(mount)
        return False
    return True


def unmount_small_disk(mount):
    """Unmounts and removes what mount_small_disk made; quiet when there is nothing."""
    subprocess.run(["umount", mount], capture_output=True)
    try:
        os.rmdir(mount)
    except OSError:
        pass


def remount(mount, mode):
    """Switches a disk to "ro" or "rw"; tries again while a file on it is open for writing."""
    from wine_helpers import wait_for
    command = ["mount", "-o", f"remount,{mode}", mount]
    return wait_for(lambda: subprocess.run(command, capture_output=True).returncode == 0, 10) is not None


def fill_disk(mount):
    """Fills the file system to its last byte; the bytes the filler took."""
    filler = os.path.join(mount, "filler")
    with open(filler, "wb", buffering=0) as f:
        for chunk in (65536, 4096, 256, 16, 1):
            while True:
                try:
                    f.write(b"\0" * chunk)
                except OSError:
                    break
    return os.path.getsize(filler)


class TestClock:
    """The offset file that the programs' clock reads when VELTRANO_TEST_CLOCK_FILE names it: the
    local clock shown to them is the real UTC moved by this many seconds. Replaced in one rename, so
    a reader never sees it half written; the programs look at it about once a second."""

    def __init__(self, path):
        self.path = path
        self.set(0)

    def set(self, seconds):
        temporary = self.path + ".new"
        with open(temporary, "w") as f:
            f.write(str(int(seconds)))
        os.replace(temporary, self.path)
        return time.time()


def records_by_date(records, kind, ident):
    """{date: [(received, sent), ...]} of one adapter's records, in file order."""
    found = {}
    for date, record_kind, record_id, received, sent in records or []:
        if record_kind == kind and record_id == ident:
            found.setdefault(date, []).append((received, sent))
    return found


def duplicated_days(records):
    """(date, kind, id) keys that hold more than one record."""
    keys = [(date, kind, ident) for date, kind, ident, _, _ in records or []]
    return sorted({key for key in keys if keys.count(key) > 1})
