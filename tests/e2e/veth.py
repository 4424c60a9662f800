"""A veth pair whose far end sits in a network namespace of its own, for traffic that crosses a
real, non-loopback interface without leaving the machine. Names are fresh on each run: Wine
remembers interfaces by name for as long as its server runs.

VELTRANO_E2E_NO_NETNS=1 makes create() fail as it does where namespaces are refused (a chroot, many
containers), so that the drivers' other way can be tried on a machine that has them."""

import os
import socket
import subprocess
import time


class VethPair:
    def __init__(self, tag, subnet_octet):
        suffix = f"{tag}{os.getpid() % 10000}"
        self.netns = f"vlt-{suffix}"
        self.near, self.far = f"vlt{suffix}a", f"vlt{suffix}b"
        self.near_ip, self.far_ip = f"10.213.{subnet_octet}.1", f"10.213.{subnet_octet}.2"

    def create(self):
        """True when the pair is up; False (and nothing left behind) where namespaces are refused."""
        if os.environ.get("VELTRANO_E2E_NO_NETNS") == "1":
            return False
        self.remove()
        commands = [
            ["ip", "netns", "add", self.netns],
            ["ip", "link", "add", self.near, "type", "veth", "peer", "name", self.far, "netns", self.netns],
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

    def send(self, datagrams, payload):
        """Sends datagrams to the far end (the discard port); returns the payload bytes sent."""
        sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        for _ in range(datagrams):
            sender.sendto(b"v" * payload, (self.far_ip, 9))
            time.sleep(0.001)
        sender.close()
        return datagrams * payload
