"""Under Wine: the clock set forward a day, back, and back once more while traffic crosses a veth
pair, with the service as the log's writer and then with the desktop. Every stretch's bytes land on
the date the clock showed, each adapter keeps one record per date (the records of the day before,
written last, stay after the later day's, and the service's daily report lists them so), nothing is
counted twice, and only the desktop drops the one second in which the clock leapt forward. The
service's usage notification fires once in the run, whatever the date changes; the desktop's, a
rule of today's traffic, is armed again at each date change and fires once on each date.

The clock is moved through the test offset file of the programs' clock (VELTRANO_TEST_CLOCK_FILE):
the desktop gets it in its environment, the service through its own key, as Wine's service
manager gives services an environment of its own."""

import csv
import datetime
import os
import re
import struct
import subprocess
import time

from day_records import Sender, TestClock, duplicated_days, kernel_counters, read_records, records_by_date
from service_helpers import enabled_service_and_pair, run_service, service_messages, wait_for_state
from veth import VethPair
from wine_helpers import (BUILD, WINE_RUN, check, finish, press, reg_add, reg_delete_tree, wait_for, window_named,
                          windows_path, wine)

FOLDER = os.path.join(BUILD, "clock-jump-e2e")
SERVICE_LOG_FILE = os.path.join(FOLDER, "service.log")
DESKTOP_LOG_FILE = os.path.join(FOLDER, "desktop.log")
DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
ALERT = "Notification - Veltrano"
SERVICE_KEY = r"HKLM\System\CurrentControlSet\Services\VeltranoService"
PAIR = VethPair("c", 150)
DAY = 86400
OFFSETS = (0, DAY, 0, -DAY)  # today, tomorrow, today again, yesterday
STRETCH = 6  # seconds on each date
REACTION = 2.5  # the clock reads the file within a second, and the next tick within another
WIRE = 1042 / 1000  # a 1000-byte UDP payload is a 1042-byte frame


def usage_rule(period_kind, program=""):
    """All Connections, more than 1 byte in the period (1 this month, 2 today alone), no e-mail; the
    program run when it fires, if any."""
    def utf16(text, size):
        return text.encode("utf-16-le").ljust(size, b"\0")
    rule = struct.pack("<ii260s", 3, 100, b"") + utf16("1", 128)
    rule += struct.pack("<IIII", 0, 2, period_kind, 0) + utf16("", 520)
    rule += struct.pack("<IIiI", 0, 0, 1, 0) + utf16("", 520) + struct.pack("<I", 1 if program else 0)
    return rule + utf16(program, 520)


def date_of(offset):
    return (datetime.datetime.now() + datetime.timedelta(seconds=offset)).timetuple()[:3]


def stretches(clock, log, start_writer, stop_writer, end_of_stretch=lambda: None):
    """Traffic through every date of OFFSETS; (marks, sender, kernel bytes sent, records) where marks
    are (moment, offset) of each jump and a last (moment, None) when the traffic ended."""
    clock.set(0)
    start_writer()
    kernel_before = kernel_counters(PAIR.near)[1]
    Sender(PAIR.far_ip, 100, 1, 0).start().stop()  # a resolved neighbour before the steady traffic
    time.sleep(0.5)
    sender = Sender(PAIR.far_ip, 1000, 10, 0.02).start()
    marks = []
    for offset in OFFSETS:
        marks.append((clock.set(offset), offset))
        time.sleep(STRETCH)
        end_of_stretch()
    marks.append((time.time(), None))
    sender.stop()
    time.sleep(2)
    stop_writer()
    kernel_sent = kernel_counters(PAIR.near)[1] - kernel_before
    clock.set(0)
    return marks, sender, kernel_sent, read_records(log)


def check_dates(who, marks, sender, kernel_sent, records, near_id, lost_at_forward_jump):
    check(not duplicated_days(records), f"{who}: one record per adapter and date"
          + (f" (twice: {duplicated_days(records)})" if duplicated_days(records) else ""))
    by_date = records_by_date(records, 300, near_id)
    order = []
    for date, kind, ident, _, _ in records or []:
        if kind == 300 and ident == near_id and date not in order:
            order.append(date)
    wanted = [date_of(offset) for offset in OFFSETS[:2]] + [date_of(OFFSETS[3])]
    check(order == wanted, f"{who}: {PAIR.near}'s records in file order {order}, as the dates were first shown")

    for date in wanted:
        low = high = 0
        for (start, offset), (end, _) in zip(marks, marks[1:]):
            if date_of(offset) != date:
                continue
            first = start == marks[0][0]
            low += sender.sent_before(end) - sender.sent_before(start + (0 if first else REACTION))
            high += sender.sent_before(end + REACTION) - (0 if first else sender.sent_before(start - 1))
        sent = sum(s for _, s in by_date.get(date, []))
        if lost_at_forward_jump and date == date_of(DAY):
            low = max(0, low - (sender.sent_before(marks[1][0] + REACTION) - sender.sent_before(marks[1][0] - 1)))
        check(low <= sent <= high * WIRE + 2000,
              f"{who}: {sent} bytes sent on {date}, between the {low} payload bytes sent while the clock "
              f"surely showed that date and the {int(high * WIRE)} wire bytes of while it may have")

    recorded = sum(s for days in by_date.values() for _, s in days)
    lost = kernel_sent - recorded
    print(f"figures, {who}: {sender.progress[-1][1]} payload bytes sent, {kernel_sent} counted by the kernel, "
          f"{recorded} in the day records, {lost} not recorded")
    if lost_at_forward_jump:
        one_second = (sender.sent_before(marks[1][0] + REACTION) - sender.sent_before(marks[1][0] - 1)) * WIRE
        check(-2000 <= lost <= one_second + 2000, f"{who}: only the second of the jump forward is not counted "
              f"({lost} bytes, that second's traffic at most {int(one_second)})")
    else:
        check(abs(lost) <= 2000, f"{who}: every byte the kernel sent is in the records, give or take stray packets "
              f"around the measurement ({lost})")


def service_as_writer(clock, near_id):
    reg_add(SERVICE_KEY, "TestClockFile", "REG_SZ", windows_path(clock.path))
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceOptions", "REG_BINARY", struct.pack("<III", 1, 1, 0).hex())
    reg_add(r"HKLM\Software\Veltrano\Options", "NotificationEnabled", "REG_DWORD", "1")
    reg_add(r"HKLM\Software\Veltrano\Options", "NotificationEx2U", "REG_BINARY", usage_rule(1).hex())
    # A daily report of the veth, written at every tick: the last one is of the last date shown.
    reg_add(r"HKLM\Software\Veltrano\Options", "DateFormat", "REG_DWORD", "68")
    target = windows_path(os.path.join(FOLDER, "daily.csv"))
    report = struct.pack("<ii260sii", 1, 300, near_id.encode(), 0, 0) + target.encode("utf-16-le").ljust(520, b"\0")
    reg_add(r"HKLM\Software\Veltrano\Service\Reports", "Report1", "REG_BINARY", report.hex())

    def start():
        wine("sc", "start", "VeltranoService", check=False)
        check(wait_for(lambda: "Service is running..." in service_messages(), 60), "the service runs")
        time.sleep(3)

    def stop():
        wine("sc", "stop", "VeltranoService", check=False)
        check(wait_for_state(1), "the service stops")

    marks, sender, kernel_sent, records = stretches(clock, SERVICE_LOG_FILE, start, stop)
    check_dates("service", marks, sender, kernel_sent, records, near_id, False)
    with open(os.path.join(FOLDER, "daily.csv"), newline="", encoding="latin-1") as f:
        dates = [row[0] for row in csv.reader(f) if row and re.fullmatch(r"\d{4}-\d\d-\d\d", row[0])]
    wanted = ["%04d-%02d-%02d" % date_of(offset) for offset in (-DAY, DAY, 0)]
    check(dates == wanted, f"service: the daily report lists a row per record, newest written first, as the "
          f"clock set back leaves them: {dates}")
    fired = service_messages().count("Bandwidth usage exceeds limit.")
    check(fired == 1, f"service: the usage notification fired once over three date changes ({fired})")


def desktop_as_writer(clock, near_id):
    run_service("/uninstall")
    reg_delete_tree(r"HKLM\Software\Veltrano")
    reg_delete_tree(r"HKCU\Software\Veltrano")
    options = r"HKCU\Software\Veltrano\Options"
    reg_add(options, "TrafficLogFile", "REG_SZ", windows_path(DESKTOP_LOG_FILE))
    # A rule of today's traffic, armed again at each date change: it fires once on each date.
    marker, program = os.path.join(FOLDER, "fired.txt"), os.path.join(FOLDER, "fired.bat")
    with open(program, "w", newline="\r\n") as f:
        f.write(f'@echo fired>>"{windows_path(marker)}"\n')
    reg_add(options, "NotificationEnabled", "REG_DWORD", "1")
    reg_add(options, "NotificationEx2U", "REG_BINARY", usage_rule(2, windows_path(program)).hex())
    reg_add(options, "NextAlertType", "REG_DWORD", "1")
    reg_add(options, "NextAlertMin", "REG_DWORD", "1")
    environment = dict(os.environ, VELTRANO_TEST_CLOCK_FILE=windows_path(clock.path))
    desktop = []

    def start():
        desktop.append(subprocess.Popen([WINE_RUN, DESKTOP], env=environment, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL))
        check(wait_for(lambda: read_records(DESKTOP_LOG_FILE) is not None, 60), "the desktop opened its log")
        time.sleep(3)

    def stop():
        wine("taskkill", "/im", "Pellacor.exe", check=False)
        try:
            desktop[0].wait(timeout=30)
        except subprocess.TimeoutExpired:
            desktop[0].kill()

    alerts = []

    def close_the_alert():
        """An open alert holds back the next one: the user closes it before the clock moves on."""
        alerts.append(bool(window_named(ALERT)))
        if alerts[-1]:
            press(ALERT, "IDOK")
            wait_for(lambda: not window_named(ALERT), 5)

    marks, sender, kernel_sent, records = stretches(clock, DESKTOP_LOG_FILE, start, stop, close_the_alert)
    check_dates("desktop", marks, sender, kernel_sent, records, near_id, True)
    fired = 0
    if os.path.exists(marker):
        with open(marker, "rb") as f:
            fired = f.read().count(b"fired")
    check(fired == len(OFFSETS) and all(alerts), f"desktop: the rule of today's traffic fired once on each of the {len(OFFSETS)} "
          f"dates shown ({fired} times; alert window open at the end of each stretch: {alerts})")
    reg_delete_tree(r"HKCU\Software\Veltrano")


def main():
    enabled_service_and_pair(FOLDER, SERVICE_LOG_FILE, PAIR)
    clock = TestClock(os.path.join(FOLDER, "clock.txt"))
    try:
        near_id = PAIR.lasting_id()
        if check(near_id is not None, f"Wine lists {PAIR.near} ({near_id})"):
            service_as_writer(clock, near_id)
            desktop_as_writer(clock, near_id)
    finally:
        wine("sc", "stop", "VeltranoService", check=False)
        wait_for_state(1)
        run_service("/uninstall")
        reg_delete_tree(r"HKLM\Software\Veltrano")
        PAIR.remove()
    finish()


main()
