"""A veth pair whose far end sits in a network namespace of its own, for traffic that crosses a
real, non-loopback interface without leaving the machine. Names are fresh on each run: Wine
remembers interfaces by name for as long as its server runs.

VELTRANO_E2E_NO_NETNS=1 makes create() fail as it does where namespaces are refused (a chroot, many
containers), so that the drivers' other way can be tried on a machine that has them."""

import os
import socket
import subprocess
import time

from wine_helpers import probe


class VethPair:
    def __init__(self, tag, subnet_octet):
        suffix = f"{tag}{os.getpid() % 10000}"
        self.netns = f"vlt-{suffix}"
        self.near, self.far = f"vlt{suffix}a", f"vlt{suffix}b"
        self.near_ip, self.far_ip = f"10.213.{subnet_octet}.1", f"10.213.{subnet_octet}.2"
        self.index = None  # the kernel's choice
        self.ipv6 = True

    def create(self):
        """True when the pair is up; False (and nothing left behind) where namespaces are refused."""
        if os.environ.get("VELTRANO_E2E_NO_NETNS") == "1":
            return False
        self.remove()
        index = ["index", str(self.index)] if self.index else []
        commands = [
            ["ip", "netns", "add", self.netns],
            ["ip", "link", "add", self.near, *index, "type", "veth", "peer", "name", self.far, "netns", self.netns],
            *([] if self.ipv6 else [["sysctl", "-qw", f"net.ipv6.conf.{self.near}.disable_ipv6=1"]]),
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

    def remove(self):
        subprocess.run(["ip", "link", "del", self.near], capture_output=True)
        subprocess.run(["ip", "netns", "del", self.netns], capture_output=True)

    def lasting_id(self, seconds=20):
        """The adapter id Wine gives the near end, once three enumerations in a row agree on it: Wine
        may name a brand-new interface differently until it has settled. None if it never does."""
        ids = []
        deadline = time.time() + seconds
        while time.time() < deadline:
            rows = probe("adapters").get("Row", [])
            found = None
            for row in rows if isinstance(rows, list) else [rows]:
                fields = row.split("\t")
                if len(fields) > 6 and fields[6] == self.near:
                    found = fields[1]
            ids.append(found)
            if len(ids) > 2 and ids[-1] and ids[-1] == ids[-2] == ids[-3]:
                return ids[-1]
            time.sleep(0.3)
        return None

    def send(self, datagrams, payload):
        """Sends datagrams to the far end (the discard port); returns the payload bytes sent."""
        sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        for _ in range(datagrams):
            sender.sendto(b"v" * payload, (self.far_ip, 9))
            time.sleep(0.001)
        sender.close()
        return datagrams * payload


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
        self.ipv6 = False


def free_interface_indexes(count, start):
    """count interface indexes from start on that no interface of this machine has."""
    taken = set()
    for name in os.listdir("/sys/class/net"):
        try:
            with open(f"/sys/class/net/{name}/ifindex") as f:
                taken.add(int(f.read()))
        except OSError:
            pass
    return [i for i in range(start, start + count + len(taken)) if i not in taken][:count]


class ChurningVeth(VethPair):
    """A veth pair plugged in and out again and again under the same names, as a VPN or USB adapter
    comes and goes. Each plug takes one of a few fixed interface indexes: the same index is the same
    adapter to Wine (its counters start again from zero), another one is the adapter renumbered.
    The namespace of the far end stays between plugs, and IPv6 is off at both ends, so that only the
    driver's own datagrams (and their ARP) cross the pair."""

    def __init__(self, tag, subnet_octet, indexes=1):
        super().__init__(tag, subnet_octet)
        # Pairs of one driver differ in their subnet, and so in their indexes.
        self.indexes = free_interface_indexes(indexes, 5000 + os.getpid() % 1000 * 40 + subnet_octet % 20 * 2)
        self.index = self.indexes[0]

    def plug(self, which=0):
        """Creates the pair at the which-th index; False (nothing left behind) where refused."""
        if os.environ.get("VELTRANO_E2E_NO_NETNS") == "1":
            return False
        self.index = self.indexes[which]
        subprocess.run(["ip", "netns", "add", self.netns], capture_output=True)
        commands = [
            ["ip", "netns", "exec", self.netns, "sysctl", "-qw", "net.ipv6.conf.all.disable_ipv6=1",
             "net.ipv6.conf.default.disable_ipv6=1"],
            ["ip", "link", "add", self.near, "index", str(self.index), "type", "veth", "peer", "name", self.far,
             "netns", self.netns],
            ["sysctl", "-qw", f"net.ipv6.conf.{self.near}.disable_ipv6=1"],
            ["ip", "addr", "add", self.near_ip + "/30", "dev", self.near],
            ["ip", "netns", "exec", self.netns, "ip", "addr", "add", self.far_ip + "/30", "dev", self.far],
            ["ip", "netns", "exec", self.netns, "ip", "link", "set", self.far, "up"],
            ["ip", "link", "set", self.near, "up"],
        ]
        for command in commands:
            if subprocess.run(command, capture_output=True).returncode != 0:
                self.remove()
                return False
        return True

    def unplug(self):
        """Deletes the pair (both ends go at once); the namespace stays for the next plug."""
        subprocess.run(["ip", "link", "del", self.near], capture_output=True)
