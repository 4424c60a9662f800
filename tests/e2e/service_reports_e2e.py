"""Under Wine: the service's scheduled reports. Entries of interval 2 write an HTML daily report
and a CSV monthly report again and again; an entry whose adapter is gone writes and logs nothing;
a stored type 7 writes a summary; interval 0 runs every tick. The HTML page is opened in a real
browser (headless chromium, its DOM dumped) and the CSV file read back with a CSV reader."""

import csv
import os
import re
import struct
import subprocess
import time
from html.parser import HTMLParser

from service_helpers import fresh_service, run_service, service_messages, wait_for_state
from wine_helpers import BUILD, check, expect, finish, reg_add, reg_delete_tree, wine
from wine_helpers import windows_path as wine_path

FOLDER = os.path.join(BUILD, "service-reports-e2e")
REPORTS = r"HKLM\Software\Veltrano\Service\Reports"
WEEKDAYS = ["Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"]


def scheduled_report(report_type, kind, adapter_id, interval, path):
    """The 796-byte record: type, kind, 260-byte id, interval, countdown, 260 UTF-16 units of path."""
    record = struct.pack("<ii260sii", report_type, kind, adapter_id.encode(), interval, 0)
    return record + path.encode("utf-16-le").ljust(520, b"\0")


def windows_path(name):
    return wine_path(os.path.join(FOLDER, name))


class TextOfTags(HTMLParser):
    """Texts of the title, the headings and the table cells of a page."""

    def __init__(self):
        super().__init__()
        self.open, self.title, self.headings, self.cells = None, "", [], []

    def handle_starttag(self, tag, attrs):
        if tag in ("title", "h1", "h3", "td"):
            self.open = tag
            if tag in ("h1", "h3"):
                self.headings.append("")
            if tag == "td":
                self.cells.append("")

    def handle_endtag(self, tag):
        self.open = None if tag == self.open else self.open

    def handle_data(self, data):
        if self.open == "title":
            self.title += data
        elif self.open in ("h1", "h3"):
            self.headings[-1] += data
        elif self.open == "td" and self.cells:
            self.cells[-1] += data


def browser_dom(path):
    result = subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--dump-dom",
                             "file://" + path], capture_output=True, text=True, timeout=120)
    return result.stdout


def run_with_reports():
    fresh_service(FOLDER)
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    reg_add(r"HKLM\Software\Veltrano\Options", "TrafficLogFile", "REG_SZ", windows_path("traffic.log"))
    reg_add(r"HKLM\Software\Veltrano\Options", "DateFormat", "REG_DWORD", "68")
    entries = [scheduled_report(1, 100, "", 2, windows_path("daily.html")),
               scheduled_report(3, 100, "", 2, windows_path("monthly.csv")),
               scheduled_report(2, 300, "{GONE-ADAPTER-0000}", 1, windows_path("gone.txt")),
               scheduled_report(7, 100, "", 0, windows_path("summary.txt"))]
    for number, entry in enumerate(entries, 1):
        reg_add(REPORTS, f"Report{number}", "REG_BINARY", entry.hex())
    wine("sc", "start", "VeltranoService", check=False)
    time.sleep(6.5)
    wine("sc", "stop", "VeltranoService", check=False)
    check(wait_for_state(1), "the service stops")


def check_logs_and_files():
    messages = service_messages()
    daily = sum(1 for m in messages if m == f"Generate daily report ({windows_path('daily.html')}) for All Connections successfully")
    monthly = sum(1 for m in messages if m == f"Generate monthly report ({windows_path('monthly.csv')}) for All Connections successfully")
    summary = sum(1 for m in messages if m == f"Generate summary report ({windows_path('summary.txt')}) for All Connections successfully")
    check(daily >= 2 and monthly >= 2, f"interval 2 reports ran {daily} and {monthly} times in about 6 ticks")
    check(summary >= 2 * daily - 1, f"interval 0 ran as 1: {summary} summaries")
    check(not any("gone.txt" in m or "GONE" in m for m in messages), "the gone adapter's entry logs nothing")
    check(not os.path.exists(os.path.join(FOLDER, "gone.txt")), "and writes nothing")
    check(not any(m.startswith("Failed") for m in messages), "no report failed")
    with open(os.path.join(FOLDER, "summary.txt"), "rb") as f:
        text = f.read().decode("latin-1")
    check("General Traffic Summary" in text and "\r\n Total: " in text, "type 7 wrote a summary")


def check_html_in_a_browser():
    dom = browser_dom(os.path.join(FOLDER, "daily.html"))
    page = TextOfTags()
    page.feed(dom)
    today = time.localtime()
    date = time.strftime("%Y-%m-%d", today)
    expect(page.title, "Daily Traffic Report", "the browser shows the page title")
    expect(page.headings[:2], ["Daily Traffic Report", f"All Connections [{date} --- {date}]"],
           "the heading and the range")
    expect(page.cells[:5], ["Date", "Day", "Downloaded", "Uploaded", "Both"], "the column headings")
    weekday = WEEKDAYS[(today.tm_wday + 1) % 7]
    check(page.cells[5:7] == [date, weekday] and all(re.fullmatch(r"\d+(\.\d+)? [KMGT]?B", c) for c in page.cells[7:10]),
          f"today's row: {page.cells[5:10]}")


def check_csv():
    with open(os.path.join(FOLDER, "monthly.csv"), newline="", encoding="latin-1") as f:
        rows = list(csv.reader(f))
    expect(rows[0], ["Monthly Traffic Report"], "the CSV title")
    heading = rows.index(["#", "Month", "Downloaded", "Uploaded", "Both"]) if ["#", "Month", "Downloaded", "Uploaded", "Both"] in rows else -1
    check(heading > 0, "the CSV column headings")
    today = time.localtime()
    first = time.strftime("%Y-%m-01", today)
    days = [31, 29 if today.tm_year % 4 == 0 else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][today.tm_mon - 1]
    last = time.strftime(f"%Y-%m-{days:02d}", today)
    row = rows[heading + 1] if heading > 0 else []
    check(len(row) == 5 and row[0] == str(today.tm_mon) and row[1] == f"{first} -- {last}", f"the current month: {row}")
    check(rows[heading + 2] == [] and rows[-1][0].startswith("The report was generated by Veltrano"),
          "one month, then the generator line")


try:
    run_with_reports()
    check_logs_and_files()
    check_html_in_a_browser()
    check_csv()
finally:
    run_service("/uninstall")
    reg_delete_tree(r"HKLM\Software\Veltrano")
finish()
