"""Under Wine: the service program with Wine's service manager. It installs itself as the manager
expects, logs real traffic that crosses a veth pair into a network namespace of this driver's own
(traffic never leaves the machine), writes its text log line by line, refuses a second process,
stops by itself when it is not enabled, survives being killed at random moments, and uninstalls
itself while running by stopping first."""

import os
import random
import re
import time

from day_records import dumped_records, kill_service_process, totals_of_today
from service_helpers import SERVICE, SERVICE_LOG, enable_service, fresh_service, run_service, wait_for_state
from veth import VethPair
from wine_helpers import BUILD, check, expect, finish, probe, reg_add, reg_delete_tree, skip, windows_path, wine

FOLDER = os.path.join(BUILD, "service-e2e")
PAIR = VethPair("s", 78)
LINE = re.compile(r"^\[(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 1-3]\d "
                  r"\d\d:\d\d:\d\d \d{4}\]: (.*)$")


def service_messages():
    """The messages of the service log, and whether every line had the stamped form."""
    if not os.path.exists(SERVICE_LOG):
        return [], True
    with open(SERVICE_LOG, "rb") as f:
        text = f.read().decode("latin-1")
    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    messages, stamped = [], True
    for line in lines:
        match = LINE.match(line)
        if match:
            messages.append(match.group(3))
        else:
            stamped = stamped and line == "" and messages and messages[-1].endswith("stopped.")
            messages.append(line)
    return messages, stamped


def wait_for_message(text, seconds=30, count=1):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if service_messages()[0].count(text) >= count:
            return True
        time.sleep(0.2)
    return False


def today_totals(windows_path):
    opened, records = dumped_records(windows_path)
    return opened, totals_of_today(records)


def installs_as_the_manager_expects():
    code, out = run_service("/install")
    expect((code, out), (0, "Install service...success\n"), "/install")
    config = probe("service-config")
    expect(config.get("Type"), "16", "own process")
    expect(config.get("Start"), "2", "automatic start")
    expect(config.get("ErrorControl"), "1", "normal error control")
    expect(config.get("BinaryPath"), '"' + windows_path(SERVICE) + '"', "quoted executable path")
    expect(config.get("Account"), "LocalSystem", "local system account")
    expect(config.get("DisplayName"), "Veltrano Service", "display name")
    expect(run_service("install")[1], "Invalid parameters.\n", "install without the slash")
    expect(run_service("/install", "/install")[1], "Invalid parameters.\n", "two arguments")


def logs_real_traffic(log_path):
    enable_service(log_path)
    have_pair = PAIR.create()
    if not have_pair:
        print("network namespaces cannot be created here: the service logs the interfaces it finds, "
              "and no traffic is sent")
        no_pair = "network namespaces cannot be created here, so no traffic is sent"
    else:
        # Start the service once the pair shows up under its lasting id.
        near = PAIR.lasting_id()
    os.remove(SERVICE_LOG)
    wine("sc", "start", "VeltranoService", check=False)
    check(wait_for_message("Service is running..."), "the service reports it is running")
    check(wait_for_state(4), "the manager shows it running")
    time.sleep(1.5)
    sent = PAIR.send(400, 1000) if have_pair else 0
    time.sleep(1.5)

    code, _ = run_service()
    expect(code, 0, "a second service process exits")
    check("Err: service is running." in service_messages()[0], "a second service process writes that one is running")

    wine("sc", "stop", "VeltranoService", check=False)
    check(wait_for_state(1), "the service stops")
    # The stopped state comes after the last write: the day is on disk now.
    opened, totals = today_totals(log_path)
    check(opened, "the log has a valid header")
    check((100, "") in totals, "All Connections has a record of today")
    if have_pair:
        all_sent = totals.get((100, ""), (0, 0))[1]
        check(all_sent >= sent, f"All Connections sent {all_sent} bytes today, at least the {sent} sent")
        near_sent = totals.get((300, near), (0, 0))[1]
        check(near_sent >= sent, f"{PAIR.near} ({near}) sent {near_sent} bytes, at least the {sent} sent"
              + ("" if near_sent >= sent else f"; today's records: {totals}"))
    else:
        skip("the service logs the traffic sent through an interface", no_pair)

    messages, stamped = service_messages()
    check(stamped, "every line is stamped with the ctime text; the stopped line is followed by an empty one")
    expected = ["Veltrano Service start up...", f"Traffic log file: {log_path}", "Service is running...",
                "Veltrano Service start up...", "Err: service is running.", "Veltrano Service stopped.", "",
                "Veltrano Service stopped.", ""]
    expect(messages, expected, "the service's lines in order, the second process's among them")
    return have_pair


def survives_being_killed(log_path, have_pair):
    """Wine's service manager learns of a killed service process only when it is next started."""
    _, before = today_totals(log_path)
    rounds_ok = 0
    for round_number in range(10):
        runs = service_messages()[0].count("Service is running...")
        wine("sc", "start", "VeltranoService", check=False)
        if not wait_for_message("Service is running...", count=runs + 1):
            print(f"round {round_number}: the service did not start")
            continue
        if have_pair:
            PAIR.send(100, 1000)
        time.sleep(random.uniform(0.2, 5.0))
        kill_service_process()
        time.sleep(0.3)
        opened, after = today_totals(log_path)
        if opened and all(after.get(key, (0, 0)) >= value for key, value in before.items()):
            rounds_ok += 1
        else:
            print(f"round {round_number}: opened {opened}, totals before {before}, after {after}")
        before = after
    if have_pair:
        expect(rounds_ok, 10, "after each of ten kills the log is valid and today's totals never went back")
    else:
        expect(rounds_ok, 10, "after each of ten kills the log is valid")
        skip("today's totals never go back across kills while traffic flows",
             "network namespaces cannot be created here, so no traffic is sent")

    runs = service_messages()[0].count("Service is running...")
    wine("sc", "start", "VeltranoService", check=False)
    wait_for_message("Service is running...", count=runs + 1)
    wine("sc", "stop", "VeltranoService", check=False)
    wait_for_state(1)
    _, final = today_totals(log_path)
    check(all(final.get(key, (0, 0)) >= value for key, value in before.items()),
          "the next start continues today's totals from the last write")


def stops_by_itself_when_not_enabled():
    os.remove(SERVICE_LOG)
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "0")
    wine("sc", "start", "VeltranoService", check=False)
    check(wait_for_message("Veltrano Service stopped."), "the disabled service ends its run")
    check(wait_for_state(1), "and the manager shows it stopped")
    messages, _ = service_messages()
    expected = ["Veltrano Service start up...",
                'Service isn\'t enabled. You may enable service at "Options" -> "Serice" -> "Enable Serice"',
                "Err: 0x0101000", "Veltrano Service stopped.", ""]
    expect(messages, expected, "the disabled service's lines")


def uninstalls_a_running_service(log_path):
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    os.remove(SERVICE_LOG)
    wine("sc", "start", "VeltranoService", check=False)
    check(wait_for_message("Service is running..."), "the service runs again")
    code, out = run_service("/uninstall")
    expect((code, out), (0, "Uninstall service...success\n"), "/uninstall")
    config = wine(os.path.join(BUILD, "tests", "settings_probe.exe"), "service-config", check=False)
    check("Installed=0" in config, "the service is gone from the manager")
    check(wait_for_message("Veltrano Service stopped."), "the running service was stopped first")
    messages, _ = service_messages()
    check(messages.index("Service is running...") < messages.index("Veltrano Service stopped."),
          "the service stopped after running")


fresh_service(FOLDER, install=False)
log_path = windows_path(os.path.join(FOLDER, "traffic.log"))
try:
    installs_as_the_manager_expects()
    have_pair = logs_real_traffic(log_path)
    survives_being_killed(log_path, have_pair)
    stops_by_itself_when_not_enabled()
    uninstalls_a_running_service(log_path)
finally:
    PAIR.remove()
    run_service("/uninstall")
    reg_delete_tree(r"HKLM\Software\Veltrano")
finish()
