"""Under Wine, with a real SMTP server (aiosmtpd) on a free port of 127.0.0.1, which the programs take
from the test-only environment variable VELTRANO_TEST_SMTP_PORT: the e-mail settings dialog's test
e-mail, and the bandwidth usage rule firing in the desktop program. A planted traffic log already
holds more than the threshold for yesterday, inside a custom period of the last 3 days, so the rule
fires at the first tick on any day: the alert window shows, the planted program (in a folder with
spaces) writes its marker, and exactly one notification mail arrives. The stored choice is Next 1
minute(s); after it the window comes back and nothing else happens. Then Ctrl+N in the main window
shows the last alert again and F5 opens the rates recorder dialog."""

import datetime
import os
import shutil
import socket
import struct
import subprocess
import time

from wine_helpers import require_system_module

require_system_module("aiosmtpd")
from aiosmtpd.controller import Controller  # noqa: E402

from wine_helpers import BUILD, WINE_RUN, check, expect, finish, press, reg_add, reg_delete_tree, reg_query, wait_for, \
    window_named, wine  # noqa: E402

DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
VIEWER = os.path.join(BUILD, "tests", "notify_viewer.exe")
FOLDER = os.path.join(BUILD, "desktop-notify-e2e")
OPTIONS = r"HKCU\Software\Veltrano\Options"
ALERT = "Notification - Veltrano"


class Recorder:
    def __init__(self):
        self.envelopes = []

    async def handle_DATA(self, server, session, envelope):
        self.envelopes.append((envelope.mail_from, list(envelope.rcpt_tos), envelope.original_content.decode("latin-1")))
        return "250 OK"


def windows_path(path):
    return wine("winepath", "-w", path).strip()


def utf16_field(text, size):
    return text.encode("utf-16-le").ljust(size, b"\0")


def notification_rule(addresses, program):
    """All Connections, more than 1 MB downloaded and uploaded in the last 3 days: mail and program."""
    rule = struct.pack("<ii260s", 3, 100, b"") + utf16_field("1", 128)
    rule += struct.pack("<IIII", 2, 2, 2, 0) + utf16_field("", 520)
    rule += struct.pack("<IIiI", 0, 0, 3, 1) + utf16_field(addresses, 520)
    rule += struct.pack("<I", 1) + utf16_field(program, 520)
    assert len(rule) == 1992
    return rule


def traffic_log_with_yesterday():
    yesterday = datetime.date.today() - datetime.timedelta(days=1)
    header = b"NTSL" + struct.pack("<I", 2) + bytes(16)
    record = struct.pack("<6Hi260s4xQQ", yesterday.year, yesterday.month, yesterday.day, 0,
                         (yesterday.weekday() + 1) % 7, 0, 100, b"", 3 << 20, 1 << 20)
    assert len(record) == 296
    return header + record


def plant():
    reg_delete_tree(r"HKCU\Software\Veltrano")
    shutil.rmtree(FOLDER, ignore_errors=True)
    tools = os.path.join(FOLDER, "my tools")
    os.makedirs(tools)
    marker = os.path.join(FOLDER, "marker.txt")
    with open(os.path.join(tools, "mark it.bat"), "w", newline="\r\n") as f:
        f.write(f'@echo fired>>"{windows_path(marker)}"\n')
    with open(os.path.join(FOLDER, "traffic.log"), "wb") as f:
        f.write(traffic_log_with_yesterday())
    program = windows_path(os.path.join(tools, "mark it.bat"))
    reg_add(OPTIONS, "TrafficLogFile", "REG_SZ", windows_path(os.path.join(FOLDER, "traffic.log")))
    reg_add(OPTIONS, "DateFormat", "REG_DWORD", "68")
    reg_add(OPTIONS, "NotificationEnabled", "REG_DWORD", "1")
    reg_add(OPTIONS, "NotificationEx2U", "REG_BINARY", notification_rule("me@example.org", program).hex())
    reg_add(OPTIONS, "NextAlertType", "REG_DWORD", "1")
    reg_add(OPTIONS, "NextAlertMin", "REG_DWORD", "1")
    reg_add(OPTIONS + r"\EmailSettings", "SmtpServer", "REG_SZ", "127.0.0.1")
    reg_add(OPTIONS + r"\EmailSettings", "MailFrom", "REG_SZ", "meter@example.org")
    reg_add(OPTIONS + r"\EmailSettings", "EmlTempSubject", "REG_SZ", "Usage on %a")
    return marker


def close_alert():
    if window_named(ALERT):
        press(ALERT, "IDOK")  # "&Close"


def marker_lines(marker):
    if not os.path.exists(marker):
        return 0
    with open(marker, "rb") as f:
        return sum(1 for line in f.read().split(b"\n") if line.strip())


def test_email(recorder):
    viewer = subprocess.Popen([WINE_RUN, VIEWER, "email", "tester@example.org"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not check(wait_for(lambda: window_named("Email Settings"), 30), "the e-mail settings dialog opens"):
            return
        press("Email Settings", "IDC_EMAIL_SEND_TEST")  # "Send a &Test Email to"
        check(wait_for(lambda: recorder.envelopes, 30), "the test e-mail arrives")
        check(wait_for(lambda: window_named("Veltrano"), 30), "the dialog reports the result in a box")
        if recorder.envelopes:
            sender, recipients, text = recorder.envelopes[0]
            expect((sender, recipients), ("meter@example.org", ["tester@example.org"]), "the test e-mail's envelope")
            check(text.startswith("From: meter@example.org\r\nTo: tester@example.org\r\n"
                                  "Subject: [Test Email] Usage on %a\r\n\r\n"),
                  "the subject is the template as typed, its tag left alone")
            check("More than 10 GB have been downloaded through LAN [10.0.0.10] in last week "
                  "(03/02/2008 -- 03/08/2008)." in text, "the body holds the sample values")
    finally:
        wine("taskkill", "/im", "notify_viewer.exe", check=False)
        try:
            viewer.wait(timeout=30)
        except subprocess.TimeoutExpired:
            viewer.kill()
    recorder.envelopes.clear()


def keys_of_the_main_window(recorder, marker):
    """Ctrl+N shows the dismissed alert again (nothing else happens); F5 opens the recorder dialog."""
    main = window_named("Veltrano")
    if not check(main is not None, "the main window is shown"):
        return
    subprocess.run(["xdotool", "windowfocus", "--sync", main], capture_output=True, timeout=10)
    time.sleep(0.5)
    subprocess.run(["xdotool", "key", "--window", main, "ctrl+n"], capture_output=True, timeout=10)
    check(wait_for(lambda: window_named(ALERT), 10), "Ctrl+N shows the last alert again")
    close_alert()
    check(wait_for(lambda: not window_named(ALERT), 10), "and it closes")
    expect((len(recorder.envelopes), marker_lines(marker)), (1, 1), "Ctrl+N sends no mail and runs no program")
    subprocess.run(["xdotool", "windowfocus", "--sync", main], capture_output=True, timeout=10)
    time.sleep(0.5)
    subprocess.run(["xdotool", "key", "--window", main, "F5"], capture_output=True, timeout=10)
    check(wait_for(lambda: window_named("Traffic Rates Recorder"), 10), "F5 opens the rates recorder dialog")


def rule_fires_in_the_desktop(recorder, marker):
    desktop = subprocess.Popen([WINE_RUN, DESKTOP], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        check(wait_for(lambda: window_named(ALERT), 45), "the alert window opens")
        check(wait_for(lambda: marker_lines(marker) == 1, 15), "the planted program ran once")
        check(wait_for(lambda: recorder.envelopes, 30), "the notification e-mail arrives")
        if recorder.envelopes:
            sender, recipients, text = recorder.envelopes[0]
            expect(recipients, ["me@example.org"], "the notification's recipients")
            check(text.startswith("From: meter@example.org\r\nTo: me@example.org\r\nSubject: Usage on All Connections\r\n"),
                  "the notification's subject has its tag filled in")
            first = (datetime.date.today() - datetime.timedelta(days=2)).isoformat()
            check(f"More than 1 MB have been downloaded and uploaded through All Connections in last 3 days "
                  f"({first} -- {datetime.date.today().isoformat()})." in text, "the notification's body")
        close_alert()  # with the stored Next 1 minute(s)
        closed_at = time.time()
        check(wait_for(lambda: not window_named(ALERT), 10), "the alert window closes")
        check(wait_for(lambda: window_named(ALERT), 90), "the alert window comes back after Next 1 minute(s)")
        waited = time.time() - closed_at
        check(58 <= waited <= 75, f"it came back after about a minute: {waited:.0f} s")
        time.sleep(2)
        expect(len(recorder.envelopes), 1, "the repeat sends no second e-mail")
        expect(marker_lines(marker), 1, "the repeat runs no program")
        close_alert()
        check(wait_for(lambda: not window_named(ALERT), 10), "the repeated alert closes")
        expect(reg_query(OPTIONS, "NextAlertType"), ("REG_DWORD", "0x1"), "the choice is saved")
        expect(reg_query(OPTIONS, "NextAlertMin"), ("REG_DWORD", "0x1"), "the minutes are saved")
        keys_of_the_main_window(recorder, marker)
    finally:
        wine("taskkill", "/im", "Pellacor.exe", check=False)
        try:
            desktop.wait(timeout=30)
        except subprocess.TimeoutExpired:
            desktop.kill()


def free_port():
    with socket.socket() as probe_socket:
        probe_socket.bind(("127.0.0.1", 0))
        return probe_socket.getsockname()[1]


marker = plant()
recorder = Recorder()
port = free_port()
os.environ["VELTRANO_TEST_SMTP_PORT"] = str(port)
controller = Controller(recorder, hostname="127.0.0.1", port=port)
controller.start()
try:
    test_email(recorder)
    rule_fires_in_the_desktop(recorder, marker)
finally:
    controller.stop()
    reg_delete_tree(r"HKCU\Software\Veltrano")
finish()
