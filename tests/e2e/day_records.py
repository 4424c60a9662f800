"""Helpers of the drivers that check the service's day records against what was sent: the traffic
log read straight from disk, the kernel's own counters of an interface, a fresh Wine server (as
after a machine restart), a killed service process, and a steady or flat-out UDP sender."""

import os
import socket
import struct
import subprocess
import threading
import time

from veth import VethPair
from wine_helpers import ROOT, probe

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


def kernel_counters(interface):
    """(received, sent) bytes of an interface as the kernel counts them."""
    base = f"/sys/class/net/{interface}/statistics/"
    with open(base + "rx_bytes") as rx, open(base + "tx_bytes") as tx:
        return int(rx.read()), int(tx.read())


def lasting_interface_id(name, seconds=20):
    """The adapter id of an interface, once three enumerations in a row agree on it."""
    ids = []
    deadline = time.time() + seconds
    while time.time() < deadline:
        rows = probe("adapters").get("Row", [])
        found = None
        for row in rows if isinstance(rows, list) else [rows]:
            fields = row.split("\t")
            if len(fields) > 6 and fields[6] == name:
                found = fields[1]
        ids.append(found)
        if len(ids) > 2 and ids[-1] and ids[-1] == ids[-2] == ids[-3]:
            return ids[-1]
        time.sleep(0.3)
    return None


class PluggableVeth(VethPair):
    """A veth pair that can be unplugged and plugged in again as the same interface: the near end
    keeps its interface index, from which Wine derives the adapter's GUID."""

    def __init__(self, tag, subnet_octet):
        super().__init__(tag, subnet_octet)
        taken = set()
        for name in os.listdir("/sys/class/net"):
            try:
                with open(f"/sys/class/net/{name}/ifindex") as f:
                    taken.add(int(f.read()))
            except OSError:
                pass
        self.index = next(i for i in range(4000 + os.getpid() % 1000, 100000) if i not in taken)

    def create(self):
        self.remove()
        commands = [
            ["ip", "netns", "add", self.netns],
            ["ip", "link", "add", self.near, "index", str(self.index), "type", "veth", "peer", "name", self.far,
             "netns", self.netns],
            ["sysctl", "-qw", f"net.ipv6.conf.{self.near}.disable_ipv6=1"],
            ["ip", "addr", "add", self.near_ip + "/30", "dev", self.near],
            ["ip", "link", "set", self.near, "up"],
            ["ip", "netns", "exec", self.netns, "ip", "addr", "add", self.far_ip + "/30", "dev", self.far],
            ["ip", "netns", "exec", self.netns, "ip", "link", "set", self.far, "up"],
        ]
        for command in commands:
            if subprocess.run(command, capture_output=True).returncode != 0:
                self.remove()
                return False
        return True


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
