"""Under Wine: the service's bandwidth usage notification and rates recorder. With both service
switches on, a rule of more than 1 byte this month fires once: the service logs it and delivers
the notification e-mail to a real SMTP server (aiosmtpd) on 127.0.0.1:25. All Connections is
recorded every 2 seconds into a CSV file. Traffic crosses a veth pair into a network namespace of
this driver's own and never leaves the machine."""

import csv
import os
import re
import struct
import time

from wine_helpers import require_system_module

require_system_module("aiosmtpd")
from aiosmtpd.controller import Controller  # noqa: E402

from veth import VethPair
from service_helpers import fresh_service, run_service, service_messages, wait_for
from service_helpers import windows_path as wine_path
from wine_helpers import BUILD, check, expect, finish, reg_add, reg_delete_tree, wine

FOLDER = os.path.join(BUILD, "service-notify-e2e")
OPTIONS = r"HKLM\Software\Veltrano\Options"
PAIR = VethPair("n", 79)


class Recorder:
    def __init__(self):
        self.envelopes = []

    async def handle_DATA(self, server, session, envelope):
        self.envelopes.append((envelope.mail_from, list(envelope.rcpt_tos), envelope.original_content))
        return "250 OK"


def utf16_field(text, size):
    return text.encode("utf-16-le").ljust(size, b"\0")


def notification_rule(addresses):
    """The 1992-byte rule: All Connections, more than 1 byte downloaded and uploaded this month, by e-mail."""
    rule = struct.pack("<ii260s", 3, 100, b"") + utf16_field("1", 128)
    rule += struct.pack("<IIII", 0, 2, 1, 0) + utf16_field("", 520)
    rule += struct.pack("<IIiI", 0, 0, 1, 1) + utf16_field(addresses, 520)
    rule += struct.pack("<I", 0) + utf16_field("", 520)
    assert len(rule) == 1992
    return rule


def windows_path(name):
    return wine_path(os.path.join(FOLDER, name))


def plant_settings():
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceOptions", "REG_BINARY", struct.pack("<III", 1, 1, 1).hex())
    reg_add(OPTIONS, "TrafficLogFile", "REG_SZ", windows_path("traffic.log"))
    reg_add(OPTIONS, "DateFormat", "REG_DWORD", "68")
    reg_add(OPTIONS, "DisplayUnitByte", "REG_DWORD", "1")
    reg_add(OPTIONS, "NotificationEnabled", "REG_DWORD", "1")
    reg_add(OPTIONS, "NotificationEx2U", "REG_BINARY", notification_rule("me@example.org").hex())
    reg_add(OPTIONS + r"\EmailSettings", "SmtpServer", "REG_SZ", "127.0.0.1")
    reg_add(OPTIONS + r"\EmailSettings", "MailFrom", "REG_SZ", "meter@example.org")
    adapter = r"HKLM\Software\Veltrano\AdaptersEx\100-"
    reg_add(adapter, "AdapterID", "REG_SZ", "")
    reg_add(adapter, "RecordTrafficRates", "REG_DWORD", "1")
    reg_add(adapter, "RecordNumberOnly", "REG_DWORD", "1")
    reg_add(adapter, "RecordInterval", "REG_DWORD", "2")
    reg_add(adapter, "RecordFile", "REG_SZ", windows_path("rates.csv"))


def run():
    fresh_service(FOLDER)
    plant_settings()
    have_pair = PAIR.create()
    if not have_pair:
        print("network namespaces cannot be created here: the rule waits for the machine's own traffic")
    recorder = Recorder()
    controller = Controller(recorder, hostname="127.0.0.1", port=25)
    controller.start()
    try:
        wine("sc", "start", "VeltranoService", check=False)
        check(wait_for(lambda: "Service is running..." in service_messages()), "the service runs")
        time.sleep(1.5)
        if have_pair:
            PAIR.send(50, 1000)
        check(wait_for(lambda: any(m.startswith("Successfully sent") for m in service_messages()), 60),
              "the notification e-mail was delivered")
        if have_pair:
            PAIR.send(50, 1000)  # more traffic after it fired: it must not fire again
        time.sleep(3)
        wine("sc", "stop", "VeltranoService", check=False)
        check(wait_for(lambda: "Veltrano Service stopped." in service_messages()), "the service stops")
    finally:
        controller.stop()
        PAIR.remove()
    return recorder, have_pair


def check_notification(recorder):
    messages = service_messages()
    expect(messages.count("Bandwidth usage exceeds limit."), 1, "the rule fires once per run")
    expect([m for m in messages if m.startswith("Send a notification") or m.startswith("Successfully")],
           ["Send a notification email to me@example.org",
            "Successfully sent bandwidth usage notification email to me@example.org."], "the mail lines")
    expect(len(recorder.envelopes), 1, "one message reached the SMTP server")
    if recorder.envelopes:
        sender, recipients, content = recorder.envelopes[0]
        expect((sender, recipients), ("meter@example.org", ["me@example.org"]), "the envelope")
        text = content.decode("latin-1")
        check(text.startswith("From: meter@example.org\r\nTo: me@example.org\r\nSubject: Bandwidth Usage Notification\r\n\r\n"),
              "the headers from the settings and the default subject")
        today = time.strftime("%Y-%m-%d")
        first = time.strftime("%Y-%m-01")
        check(f"More than 1 Bytes have been downloaded and uploaded through All Connections in last month "
              f"({first} -- {today})." in text, "the body's tags are filled in")


def check_recording(have_pair):
    with open(os.path.join(FOLDER, "rates.csv"), newline="", encoding="latin-1") as f:
        rows = list(csv.reader(f))
    check(rows[0][0].startswith("The file was generated by Veltrano"), "the recording file starts with its banner")
    check(["Unit:", "Byte"] in rows, "the unit is bytes")
    heading = rows.index(["Date", "Time", "Download", "Up", "Both"]) if ["Date", "Time", "Download", "Up", "Both"] in rows else -1
    data = [r for r in rows[heading + 1:] if len(r) == 5] if heading >= 0 else []
    check(len(data) >= 2, f"a line every 2 seconds: {len(data)} lines")
    check(all(re.fullmatch(r"\d\d:\d\d:\d\d", r[1]) and int(r[4]) == int(r[2]) + int(r[3]) for r in data),
          "each line's both column is downloaded plus uploaded")
    if have_pair:
        uploaded = sum(int(r[3]) for r in data)
        check(uploaded >= 50000, f"the recorded uploads hold the 50000 bytes sent before the first line: {uploaded}")


try:
    recorder, have_pair = run()
    check_notification(recorder)
    check_recording(have_pair)
finally:
    run_service("/uninstall")
    reg_delete_tree(r"HKLM\Software\Veltrano")
finish()
