"""Under Wine: the service's bandwidth usage notification and rates recorder. With both service
switches on, a rule of more than 1 byte fires once: the service logs it and delivers the
notification e-mail to a real SMTP server (aiosmtpd) on 127.0.0.1:25. All Connections is recorded
every 2 seconds into a CSV file.

Two ways to exceed the rule, and the output says which one ran. Where a veth pair can be made, a
rule of this month is exceeded by traffic that crosses the pair into a network namespace of this
driver's own (it never leaves the machine). Where namespaces are refused, no live traffic is
needed: a rule of the last 2 days is exceeded by a record of yesterday planted in the traffic log,
which works on any day of the week or month."""

import csv
import datetime
import os
import re
import struct
import time

from wine_helpers import require_system_module

require_system_module("aiosmtpd")
from aiosmtpd.controller import Controller  # noqa: E402

from veth import VethPair
from service_helpers import fresh_service, run_service, service_messages
from wine_helpers import BUILD, check, expect, finish, reg_add, reg_delete_tree, skip, wait_for, wine
from wine_helpers import windows_path as wine_path

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


def notification_rule(addresses, period_kind, days):
    """The 1992-byte rule: All Connections, more than 1 byte downloaded and uploaded in the period
    (1 this month, 2 the last `days` days), by e-mail."""
    rule = struct.pack("<ii260s", 3, 100, b"") + utf16_field("1", 128)
    rule += struct.pack("<IIII", 0, 2, period_kind, 0) + utf16_field("", 520)
    rule += struct.pack("<IIiI", 0, 0, days, 1) + utf16_field(addresses, 520)
    rule += struct.pack("<I", 0) + utf16_field("", 520)
    assert len(rule) == 1992
    return rule


def windows_path(name):
    return wine_path(os.path.join(FOLDER, name))


def plant_log_of_yesterday(received):
    """A traffic log holding one day record: All Connections, yesterday."""
    yesterday = datetime.date.today() - datetime.timedelta(days=1)
    day_of_week = (yesterday.weekday() + 1) % 7  # 0 = Sunday
    record = struct.pack("<6Hi260s4xQQ", yesterday.year, yesterday.month, yesterday.day, 0, day_of_week, 0,
                         100, b"", received, 0)
    with open(os.path.join(FOLDER, "traffic.log"), "wb") as f:
        f.write(b"NTSL" + struct.pack("<I", 2) + bytes(16) + record)
    return yesterday


def plant_settings(rule):
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceOptions", "REG_BINARY", struct.pack("<III", 1, 1, 1).hex())
    reg_add(OPTIONS, "TrafficLogFile", "REG_SZ", windows_path("traffic.log"))
    reg_add(OPTIONS, "DateFormat", "REG_DWORD", "68")
    reg_add(OPTIONS, "DisplayUnitByte", "REG_DWORD", "1")
    reg_add(OPTIONS, "NotificationEnabled", "REG_DWORD", "1")
    reg_add(OPTIONS, "NotificationEx2U", "REG_BINARY", rule.hex())
    reg_add(OPTIONS + r"\EmailSettings", "SmtpServer", "REG_SZ", "127.0.0.1")
    reg_add(OPTIONS + r"\EmailSettings", "MailFrom", "REG_SZ", "meter@example.org")
    adapter = r"HKLM\Software\Veltrano\AdaptersEx\100-"
    reg_add(adapter, "AdapterID", "REG_SZ", "")
    reg_add(adapter, "RecordTrafficRates", "REG_DWORD", "1")
    reg_add(adapter, "RecordNumberOnly", "REG_DWORD", "1")
    reg_add(adapter, "RecordInterval", "REG_DWORD", "2")
    reg_add(adapter, "RecordFile", "REG_SZ", windows_path("rates.csv"))


def run():
    """(recorder, the first day of the rule's period or None for this month, whether a pair was used)"""
    fresh_service(FOLDER)
    have_pair = PAIR.create()
    if have_pair:
        print("the rule (this month) is exceeded by traffic through a veth pair")
        first_day = None
        plant_settings(notification_rule("me@example.org", 1, 1))
    else:
        print("network namespaces cannot be created here: the rule (last 2 days) is exceeded by a planted "
              "record of yesterday, without live traffic")
        first_day = plant_log_of_yesterday(5000)
        plant_settings(notification_rule("me@example.org", 2, 2))
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
    return recorder, first_day, have_pair


def check_notification(recorder, first_day):
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
        period = f"month ({time.strftime('%Y-%m-01')}" if first_day is None else f"2 days ({first_day:%Y-%m-%d}"
        check(f"More than 1 Bytes have been downloaded and uploaded through All Connections in last {period} "
              f"-- {today})." in text, "the body's tags are filled in")


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
    else:
        skip("the recorded uploads hold the bytes sent", "no veth pair, so no traffic of known size")


try:
    recorder, first_day, have_pair = run()
    check_notification(recorder, first_day)
    check_recording(have_pair)
finally:
    run_service("/uninstall")
    reg_delete_tree(r"HKLM\Software\Veltrano")
finish()
