"""Under Wine: the adapter table built by the Win32 code lists this machine's interfaces with the
ids, descriptions, types, addresses and counters the kernel reports, takes in an interface that
appears, and its counters grow when traffic passes. The traffic runs only between the two ends of
a veth pair whose far end sits in a network namespace this driver creates."""

import subprocess
import time

from veth import VethPair
from wine_helpers import check, expect, finish, probe, skip

PAIR = VethPair("t", 77)
NEAR, NEAR_IP = PAIR.near, PAIR.near_ip
PAYLOAD = 1000
DATAGRAMS = 300


def kernel_counters():
    counters = {}
    with open("/proc/net/dev") as dev:
        for line in dev.readlines()[2:]:
            name, fields = line.split(":", 1)
            values = fields.split()
            counters[name.strip()] = (int(values[0]) % 2**32, int(values[8]) % 2**32)
    return counters


def ipv4_address(name):
    out = subprocess.run(["ip", "-4", "-o", "addr", "show", "dev", name], capture_output=True, text=True).stdout
    words = out.split()
    return words[words.index("inet") + 1].split("/")[0] if "inet" in words else "0.0.0.0"


def table_rows():
    rows = probe("adapters")["Row"]
    rows = rows if isinstance(rows, list) else [rows]
    table = []
    for row in rows:
        kind, ident, if_type, received, sent, ip, description, name = row.split("\t")
        table.append(dict(kind=int(kind), id=ident, type=int(if_type), received=int(received), sent=int(sent),
                          ip=ip, description=description, name=name))
    return table


def between(value, low, high):
    return low <= value <= high if low <= high else value >= low or value <= high  # a counter may wrap


def lists_every_interface_as_the_kernel_reports_it():
    before = kernel_counters()
    table = table_rows()
    after = kernel_counters()
    expect([row["kind"] for row in table[:2]], [100, 200], "aggregates lead the table")
    interfaces = table[2:]
    ids = [row["id"] for row in interfaces]
    check(len(set(ids)) == len(ids) and all(i == i.upper() and len(i) > 10 for i in ids),
          f"interface ids are unique and upper case: {ids}")
    for name in sorted(set(before) - {"lo"}):
        rows = [row for row in interfaces if row["description"] == name]
        if not check(len(rows) == 1, f"{name} is listed once"):
            continue
        row = rows[0]
        with open(f"/sys/class/net/{name}/type") as arp_type:
            expected_type = 6 if arp_type.read().strip() == "1" else row["type"]
        expect(row["type"], expected_type, f"{name} type")
        expect(row["ip"], ipv4_address(name), f"{name} address")
        check(between(row["received"], before[name][0], after[name][0]), f"{name} received counter {row['received']}")
        check(between(row["sent"], before[name][1], after[name][1]), f"{name} sent counter {row['sent']}")
        expect(row["name"], name, f"{name} display name")


def counters_grow_with_traffic():
    if not PAIR.create():
        skip("a new interface joins the table and its counters grow with traffic",
             "network namespaces cannot be created here")
        return False
    try:
        time.sleep(0.5)
        first = {row["description"]: row for row in table_rows()}
        if not check(NEAR in first, f"the new interface {NEAR} joins the table"):
            return True
        expect(first[NEAR]["ip"], NEAR_IP, f"{NEAR} address")
        PAIR.send(DATAGRAMS, PAYLOAD)
        time.sleep(0.3)
        second = {row["description"]: row for row in table_rows()}
        grown = (second[NEAR]["sent"] - first[NEAR]["sent"]) % 2**32
        check(grown >= PAYLOAD * DATAGRAMS, f"{NEAR} sent counter grew by {grown} for {PAYLOAD * DATAGRAMS} bytes sent")
        expect(second[NEAR]["id"], first[NEAR]["id"], f"{NEAR} keeps its id")
    finally:
        PAIR.remove()
    return True


lists_every_interface_as_the_kernel_reports_it()
counters_grow_with_traffic()
finish()
