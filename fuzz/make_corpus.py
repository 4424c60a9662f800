#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into OUT/<target>/, built here from the file and
record layouts so that no input of unknown origin is kept in the repository.

Usage: make_corpus.py OUT
"""
import os
import struct
import sys

GUID_NAME = "{4D36E972-E325-11CE-BFC1-08002BE10318}"
SHORT_ID = "001A2B3C4D070000"  # the id of the interface named "eth7" (from its address)
TODAY = (2024, 3, 15, 5)  # a Friday


def u16(v):
    return struct.pack("<H", v & 0xFFFF)


def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def u64(v):
    return struct.pack("<Q", v & 0xFFFFFFFFFFFFFFFF)


def char_field(text, size):
    data = text.encode("latin-1")[: size - 1]
    return data + b"\0" * (size - len(data))


def wide_field(text, size):
    data = text.encode("utf-16-le")[: size - 2]
    return data + b"\0" * (size - len(data))


# ---- the traffic log

def log_header(version=2):
    return b"NTSL" + u32(version) + b"\0" * 16


def day_record(year, month, day, dow, kind, ident, received, sent):
    return (u16(year) + u16(month) + u16(day) + u16(0) + u16(dow) + u16(0) + u32(kind) +
            char_field(ident, 260) + u32(0) + u64(received) + u64(sent))


def old_record(year, month, day, dow, kind, address, received, sent):
    return (u16(year) + u16(month) + u16(day) + u16(0) + u16(dow) + u16(0) + u32(kind) +
            bytes(address).ljust(8, b"\0") + u64(received) + u64(sent))


def log_input(flags, log, old=b"", today=TODAY, first=(2024, 3, 1), calendar=0x11, last_days=30):
    year, month, day, dow = today
    return (bytes([flags]) + u16(year) + bytes([month, day, dow]) + u16(first[0]) + bytes(first[1:]) +
            bytes([calendar, last_days]) + u16(len(old)) + old + log)


def traffic_log_seeds():
    y, m, d, dow = TODAY
    week = b"".join(
        day_record(y, m, day, (dow - (d - day)) % 7, kind, ident, 1000 * day, 10 * day)
        for day in range(d - 6, d + 1)
        for kind, ident in ((100, ""), (200, ""), (300, GUID_NAME.upper()), (300, SHORT_ID)))
    log = log_header() + week
    old = (old_record(2007, 12, 31, 1, 100, [], 5000, 600) +
           old_record(2007, 12, 31, 1, 300, [0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x07], 4000, 500) +
           old_record(2007, 12, 31, 1, 300, [0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x09], 3000, 400))
    return {
        "desktop-writer": log_input(0, log),
        "desktop-reader": log_input(1, log),
        "service-writer": log_input(2, log, calendar=0x26),
        "watch-interface": log_input(0x80, log, calendar=0x13),
        "duplicate-today": log_input(0, log + day_record(y, m, d, dow, 100, "", 7, 7)),
        "trailing-fragment": log_input(0, log + b"\x07" * 100),
        "clear": log_input(0x20, log),
        "version-1": log_input(0, log_header(1) + week),
        "foreign-file": log_input(0, b"MZ" + b"\x90" * 60),
        "empty-with-old-log": log_input(0x40, b"", old),
        "absent-with-old-log": log_input(0x48, b"", old),
        "custom-path-with-old-log": log_input(0x44, b"", old),
        "migration-enumeration-fails": log_input(0x50, b"", old),
        "reader-of-empty-file": log_input(1, b""),
        "month-start-31": log_input(0, log, today=(2024, 2, 29, 4), calendar=30),
    }


# ---- binary records

def notification_rule(version=3, kind=300, ident=SHORT_ID, amount="10", unit=3, transfer=2, period=2,
                      days=7, addresses="me@example.org", program=""):
    return (u32(version) + u32(kind) + char_field(ident, 260) + wide_field(amount, 128) + u32(unit) +
            u32(transfer) + u32(period) + u32(1) + wide_field("C:\\Windows\\Media\\ding.wav", 520) + u32(1) +
            u32(2) + u32(days) + u32(1) + wide_field(addresses, 520) + u32(1 if program else 0) +
            wide_field(program, 520))


def scheduled_report(kind=100, ident="", report_type=1, interval=3600, path="C:\\reports\\daily.html"):
    return (u32(report_type) + u32(kind) + char_field(ident, 260) + u32(interval) + u32(interval) +
            wide_field(path, 520))


def log_font(height=-11, weight=400, face="Tahoma"):
    return u32(height) + u32(0) + u32(0) + u32(0) + u32(weight) + bytes(8) + wide_field(face, 64)


def codecs_seeds():
    y, m, d, dow = TODAY
    return {
        "day-record": b"\0" + day_record(y, m, d, dow, 300, GUID_NAME.upper(), 123456789, 98765),
        "day-record-unterminated-id": b"\0" + day_record(y, m, d, dow, 300, "", 1, 2)[:16] + b"A" * 260 + bytes(20),
        "log-header": b"\0" + log_header(),
        "notification-rule": b"\1" + notification_rule(),
        "notification-rule-version-2": b"\1" + notification_rule(version=2, amount="1.5", unit=2),
        "notification-rule-short": b"\1" + notification_rule()[:500],
        "scheduled-report": b"\2" + scheduled_report(),
        "scheduled-report-interface": b"\2" + scheduled_report(300, SHORT_ID, 3, 86400, "D:\\x.csv"),
        "log-font": b"\3" + log_font(),
        "log-font-non-ascii": b"\3" + log_font(face="\u5b8b\u4f53"),
        "wnd-position": b"\4" + u32(100) + u32(200) + u32(300) + u32(260),
        "service-options": b"\5" + u32(1) + u32(1) + u32(0),
        "registry-text": b"\6" + "C:\\Users\\me\\qxrsum_v2.log".encode("utf-16-le") + b"\0\0",
        "registry-text-surrogates": b"\6" + "a\U0001F600b".encode("utf-16-le") + b"\x00\xd8",
        "fields": b"\7" + bytes([4, 20]) + b"abc\0" + "text".encode("utf-16-le") + bytes(12),
    }


# ---- registry values

OPTIONS, EMAIL, SERVICE, REPORTS, RUN, ADAPTER_ALL, ADAPTER_DIALUP, ADAPTER_GUID, ADAPTER_SHORT = range(9)
MACHINE = 0x80
REG_SZ, REG_BINARY, REG_DWORD = 1, 3, 4
NAMES = [
    "WeekStartDay", "MonthStartDay", "RateViewMargins", "TransparentPercent", "StartMinimized",
    "StartWithWindows", "HotkeyEnabled", "HotkeyChar", "DateFormat", "SemiTransparent", "EnableClickThrough",
    "ShowIPInTitle", "AlwaysOnTop", "ShowCaption", "DisplayUnitByte", "DisplayTitle", "DisplayGraph",
    "DisplayScaleGrid", "DisplayScale", "DisplayText", "DisplayMaxRateInText", "TextCrSameAsGraphCr",
    "DispAvgValuesInText", "DispAvgDownLine", "DispAvgUpLine", "DisplayTimeGrid", "DisplayTimeText",
    "ScaleGridOnTop", "TimeGridOnTop", "TimeTextOnTop", "PulseSpace", "PulseWidth", "ScaleGridLineStyle",
    "TimeGridLineStyle", "TimeGridIntervalSec", "TimeFormat", "RateHeightPercent", "GraphStyle", "GraphBkgColor",
    "DownColor", "BothDownUpColor", "GridColor", "UpColor", "AvgDownLineColor", "AvgUpLineColor", "TitleBkgColor",
    "TitleTextColor", "ScaleTextColor", "RateTextColor", "RateBkgColor", "BorderColor", "TimeGridColor",
    "TimeTextColor", "DispIconSystray", "ShowGraphInSystray", "ShowAdapterNameInSystrayTips",
    "ShowAdapterIPInSystrayTips", "STIfType", "NotificationEnabled", "NextAlertType", "NextAlertMin",
    "SumLastDays", "StopwatchResetAdapterGraph", "StopwatchAlwaysOnTop", "HWND", "TimeTextFontU", "RateFontU",
    "ScaleFontU", "TitleFontU", "STAdpID", "NotificationEx2U", "WndPosition", "FirstRun", "TrafficLogFile",
    "SmtpServer", "MailFrom", "AuthName", "AuthPass", "EmlTempSubject", "EmlTempBody", "SrvReqAuth",
    "ServiceEnabled", "ServiceOptions", "Report1", "Report2", "Report3", "Veltrano", "AdapterID", "AdapterName",
    "ConnRatebps", "Monitored", "Size", "RecordTrafficRates", "RecordNumberOnly", "RecordInterval", "RecordFile",
]


def value(key, name, reg_type, data):
    length = bytes([len(data)]) if len(data) < 255 else b"\xff" + u16(len(data))
    return bytes([key, NAMES.index(name), reg_type]) + length + data


def text(s):
    return s.encode("utf-16-le") + b"\0\0"


def settings_seeds():
    dwords = [("WeekStartDay", 1), ("MonthStartDay", 15), ("TransparentPercent", 40), ("DateFormat", 68),
              ("DisplayUnitByte", 0), ("NotificationEnabled", 1), ("NextAlertType", 1), ("NextAlertMin", 30),
              ("SumLastDays", 7), ("GraphBkgColor", 0x00FFFFFF), ("HWND", 0x1234)]
    desktop = b"".join(value(OPTIONS, n, REG_DWORD, u32(v)) for n, v in dwords)
    desktop += value(OPTIONS, "RateFontU", REG_BINARY, log_font())
    desktop += value(OPTIONS, "STAdpID", REG_SZ, text(SHORT_ID.lower()))
    desktop += value(OPTIONS, "NotificationEx2U", REG_BINARY, notification_rule())
    desktop += value(OPTIONS, "WndPosition", REG_BINARY, u32(10) + u32(20) + u32(230) + u32(120))
    desktop += value(OPTIONS, "TrafficLogFile", REG_SZ, text("C:\\logs\\qxrsum_v2.log"))
    desktop += value(EMAIL, "SmtpServer", REG_SZ, text("127.0.0.1"))
    desktop += value(EMAIL, "MailFrom", REG_SZ, text("meter@example.org"))
    desktop += value(EMAIL, "SrvReqAuth", REG_DWORD, u32(1))
    desktop += value(EMAIL, "EmlTempSubject", REG_SZ, text("Usage of %ADAPTER%"))
    desktop += value(SERVICE, "ServiceEnabled", REG_DWORD, u32(1))
    desktop += value(SERVICE, "ServiceOptions", REG_BINARY, u32(1) + u32(1) + u32(1))
    desktop += value(REPORTS, "Report1", REG_BINARY, scheduled_report())
    desktop += value(REPORTS, "Report2", REG_BINARY, scheduled_report(300, SHORT_ID, 0, 0))
    desktop += value(RUN, "Veltrano", REG_SZ, text("C:\\Program Files\\Veltrano\\Pellacor.exe"))
    for key, ident in ((ADAPTER_ALL, ""), (ADAPTER_GUID, GUID_NAME), (ADAPTER_SHORT, SHORT_ID)):
        desktop += value(key, "AdapterID", REG_SZ, text(ident))
        desktop += value(key, "AdapterName", REG_SZ, text("LAN"))
        desktop += value(key, "Monitored", REG_DWORD, u32(1))
        desktop += value(key, "Size", REG_BINARY, struct.pack("<f", 1.5))
        desktop += value(key, "RecordTrafficRates", REG_DWORD, u32(1))
        desktop += value(key, "RecordInterval", REG_DWORD, u32(60))
        desktop += value(key, "RecordFile", REG_SZ, text("C:\\rates\\lan.csv"))
    machine = value(MACHINE | OPTIONS, "NotificationEnabled", REG_DWORD, u32(1))
    machine += value(MACHINE | OPTIONS, "NotificationEx2U", REG_BINARY, notification_rule(amount="-5"))
    machine += value(MACHINE | SERVICE, "ServiceOptions", REG_BINARY, u32(1) + u32(1) + u32(1))
    machine += value(MACHINE | REPORTS, "Report1", REG_BINARY, scheduled_report(interval=0))
    machine += value(MACHINE | ADAPTER_SHORT, "AdapterID", REG_SZ, text(SHORT_ID))
    machine += value(MACHINE | ADAPTER_SHORT, "RecordTrafficRates", REG_DWORD, u32(1))
    wrong_types = value(OPTIONS, "WeekStartDay", REG_SZ, text("3"))
    wrong_types += value(OPTIONS, "MonthStartDay", REG_DWORD, u32(0))
    wrong_types += value(OPTIONS, "RateFontU", REG_BINARY, log_font()[:40])
    wrong_types += value(OPTIONS, "NotificationEx2U", REG_BINARY, notification_rule(version=1))
    wrong_types += value(EMAIL, "SmtpServer", REG_BINARY, b"\x41\x00\x42")
    raw_tail = b"K Software\\Veltrano\\Options\nV 4 07000000 WeekStartDay\nV 4 zz SumLastDays\n"
    return {
        "desktop": b"\0" + desktop,
        "desktop-and-machine": b"\0" + desktop + machine,
        "wrong-types": b"\0" + wrong_types,
        "hive-file-text": b"\1" + u16(len(raw_tail)) + raw_tail,
    }


# ---- SMTP dialogues

def smtp_seeds():
    helo = b"220 ready\r\n250 hello\r\n250 sender ok\r\n250 recipient ok\r\n354 go on\r\n250 queued\r\n221 bye\r\n"
    auth = (b"220-first\r\n220 ready\r\n250-hello\r\n250-AUTH LOGIN\r\n250 SIZE\r\n334 VXNlcm5hbWU6\r\n"
            b"334 UGFzc3dvcmQ6\r\n235 ok\r\n250 sender ok\r\n250 ok\r\n251 forwarded\r\n550 no\r\n"
            b"354 go on\r\n250 queued\r\n221 bye\r\n")
    return {
        "helo": b"\0" + helo,
        "auth-three-recipients": b"\5" + auth,
        "greeting-refused": b"\0" + b"554 go away\r\n",
        "not-relayed": b"\2" + b"220 ready\r\n250 hi\r\n250 ok\r\n550 no\r\n550 no\r\n221 bye\r\n",
        "auth-refused": b"\1" + b"220 ready\r\n250 hi\r\n334 a\r\n334 b\r\n535 bad\r\n",
        "wide-code": b"\0" + b"4294967516 ready\r\n4294967546 hi\r\n",
        "silent-after-data": b"\0" + helo[:70],
    }


# ---- text and numbers

def text_number_seeds():
    seeds = {}
    for i, amount in enumerate(["10", "1.5", "0.000001", "2147483647", "-5", "inf", "nan", "1.2.3", "1e3",
                                "99999999999999999999999", ""]):
        seeds["amount-%d" % i] = b"\0" + amount.encode()
    for i, (amount, unit) in enumerate([(999, 1), (1023999, 1), (1048575999, 1), (1 << 40, 0), (-5, 1),
                                         ((1 << 63) - 1, 0)]):
        seeds["volume-%d" % i] = b"\1" + u64(amount) + bytes([unit])
    for i, (rate, unit) in enumerate([(999, 1), (1023948, 1), (1048523571, 1), (124999, 0), (0xFFFFFFFF, 0)]):
        seeds["rate-%d" % i] = b"\2" + u32(rate) + bytes([unit])
    for i, code in enumerate([17, 119, 34, 102, 51, 68, 85, 0xFFFFFFFF]):
        seeds["date-%d" % i] = b"\3" + u32(code) + u32(2024) + u32(3) + u32(15) + u32(5)
    seeds["date-out-of-range"] = b"\3" + u32(17) + u32(-1) + u32(70000) + u32(-2147483648) + u32(9)
    for i, (kind, days) in enumerate([(0, 1), (1, 1), (2, 7), (2, 2147483647)]):
        seeds["period-%d" % i] = b"\4" + bytes([kind]) + u32(days) + u16(423) + bytes([2, 28, 3, 30]) + u32(68)
    for i, sample in enumerate([" a@b.c , ,d@e.f ,", "me@example..org", "\t trimmed \r\n", "\xff\xfe\xc3(",
                                "a" * 57, "\U0001F600"]):
        seeds["text-%d" % i] = b"\5" + sample.encode("utf-8", "surrogateescape")
    return seeds


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    targets = {
        "traffic_log_fuzz": traffic_log_seeds(),
        "codecs_fuzz": codecs_seeds(),
        "settings_fuzz": settings_seeds(),
        "smtp_session_fuzz": smtp_seeds(),
        "text_number_fuzz": text_number_seeds(),
    }
    for target, seeds in targets.items():
        folder = os.path.join(sys.argv[1], target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, "seed-" + name), "wb") as out:
                out.write(data)


if __name__ == "__main__":
    main()
