"""Under Wine: the service log is 8-bit text in the system code page, and a stop is not held up
by a mail session still at work. The traffic log lives in a folder named with an accented letter,
a scheduled report goes to the same folder for an adapter whose name has one too, and a rule that
is already exceeded by the log's yesterday sends a mail to a loopback address where no server
listens (its session keeps retrying for about 15 seconds). The service is stopped while that
session runs: it stops within seconds, and its last line is the stopped line."""

import datetime
import os
import struct
import subprocess
import time

from service_helpers import SERVICE_LOG, fresh_service, service_state, wait_for_state
from wine_helpers import BUILD, WINE_RUN, check, expect, finish, reg_add, reg_delete_tree, wait_for, wine
from wine_helpers import windows_path as wine_path

FOLDER = os.path.join(BUILD, "service-log-text-e2e")
ACCENTED = "journ\u00e9e"  # "journée"
ADAPTER_NAME = "Connexions r\u00e9seau"
OPTIONS = r"HKLM\Software\Veltrano\Options"


def utf16_field(text, size):
    return text.encode("utf-16-le").ljust(size, b"\0")


def notification_rule():
    """All Connections, more than 1 byte downloaded and uploaded in the last 30 days, by e-mail."""
    rule = struct.pack("<ii260s", 3, 100, b"") + utf16_field("1", 128)
    rule += struct.pack("<IIII", 0, 2, 2, 0) + utf16_field("", 520)
    rule += struct.pack("<IIiI", 0, 0, 30, 1) + utf16_field("me@example.org", 520)
    rule += struct.pack("<I", 0) + utf16_field("", 520)
    assert len(rule) == 1992
    return rule


def traffic_log_with_yesterday():
    """A log whose only record is All Connections yesterday, 1000 bytes each way."""
    day = datetime.date.today() - datetime.timedelta(days=1)
    record = struct.pack("<HHHHHHi260sIQQ", day.year, day.month, day.day, 0, (day.weekday() + 1) % 7, 0, 100, b"", 0,
                         1000, 1000)
    assert len(record) == 296
    return b"NTSL" + struct.pack("<I", 2) + bytes(16) + record


def daily_report(path):
    return struct.pack("<ii260siI", 1, 100, b"", 1, 0) + utf16_field(path, 520)


def import_text_values(values):
    """REG_SZ values with non-ASCII text, through a UTF-16 .reg file rather than the command line."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key, name, text in values:
        escaped = text.replace("\\", "\\\\").replace('"', '\\"')
        lines += [f"[{key.replace('HKLM', 'HKEY_LOCAL_MACHINE', 1)}]", f'"{name}"="{escaped}"', ""]
    reg_file = os.path.join(FOLDER, "text-values.reg")
    with open(reg_file, "wb") as f:
        f.write("\r\n".join(lines).encode("utf-16"))
    wine("reg", "import", wine_path(reg_file))


def plant_settings(folder_windows):
    log_path = folder_windows + "\\traffic.log"
    report_path = folder_windows + "\\daily.txt"
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceOptions", "REG_BINARY", struct.pack("<III", 1, 1, 0).hex())
    reg_add(r"HKLM\Software\Veltrano\Service\Reports", "Report1", "REG_BINARY", daily_report(report_path).hex())
    reg_add(OPTIONS, "NotificationEnabled", "REG_DWORD", "1")
    reg_add(OPTIONS, "NotificationEx2U", "REG_BINARY", notification_rule().hex())
    reg_add(OPTIONS + r"\EmailSettings", "SmtpServer", "REG_SZ", "127.0.0.2")
    reg_add(OPTIONS + r"\EmailSettings", "MailFrom", "REG_SZ", "meter@example.org")
    reg_add(r"HKLM\Software\Veltrano\AdaptersEx\100-", "AdapterID", "REG_SZ", "")
    import_text_values([(OPTIONS, "TrafficLogFile", log_path),
                        (r"HKLM\Software\Veltrano\AdaptersEx\100-", "AdapterName", ADAPTER_NAME)])
    return log_path, report_path


def log_lines():
    """The service log's messages as bytes, without their time stamps."""
    if not os.path.exists(SERVICE_LOG):
        return []
    with open(SERVICE_LOG, "rb") as f:
        return [line.split(b"]: ", 1)[1] for line in f.read().split(b"\r\n") if b"]: " in line]


def has_line(prefix):
    return any(line.startswith(prefix) for line in log_lines())


def run():
    fresh_service(FOLDER)
    accented = os.path.join(FOLDER, ACCENTED)
    os.makedirs(accented)
    with open(os.path.join(accented, "traffic.log"), "wb") as f:
        f.write(traffic_log_with_yesterday())
    log_path, report_path = plant_settings(wine_path(FOLDER) + "\\" + ACCENTED)

    wine("sc", "start", "VeltranoService", check=False)
    check(wait_for(lambda: has_line(b"Send a notification email to"), 30), "the rule fired at once")
    started = time.time()
    wine("sc", "stop", "VeltranoService", check=False)
    stopped = wait_for_state(1, 30)
    seconds = time.time() - started
    check(stopped, "the service stopped")
    check(seconds < 10, f"the stop did not wait for the mail session: {seconds:.1f} s")
    check(wait_for(lambda: has_line(b"Veltrano Service stopped."), 10), "the stopped line was written")
    time.sleep(16)  # the session would have given up by now, had the process lived on
    return log_path, report_path


def check_log(log_path, report_path):
    lines = log_lines()
    cp1252 = lambda text: text.encode("cp1252")
    expect([line for line in lines if line.startswith(b"Traffic log file: ")], [cp1252("Traffic log file: " + log_path)],
           "the log path in the system code page")
    check(cp1252(f"Generate daily report ({report_path}) for {ADAPTER_NAME} successfully") in lines,
          "the report line's path and adapter name in the system code page")
    check(not any("\u00e9".encode("utf-8") in line for line in lines), "no UTF-8 in the service log")
    expect(lines[-1] if lines else None, b"Veltrano Service stopped.", "nothing after the stopped line")
    check(not any(line.startswith(b"Failed send") or line.startswith(b"Successfully") for line in lines),
          "no mail result after the end")


try:
    paths = run()
    check_log(*paths)
finally:
    if service_state() not in (None, 1):
        wine("sc", "stop", "VeltranoService", check=False)
    subprocess.run([WINE_RUN, os.path.join(BUILD, "src", "PellacorService.exe"), "/uninstall"], capture_output=True,
                   timeout=120)
    reg_delete_tree(r"HKLM\Software\Veltrano")
finish()
