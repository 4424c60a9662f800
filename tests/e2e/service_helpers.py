"""Shared steps of the service drivers: run the service program, switch it on, wait for the
service manager, and read the service's own log."""

import os
import re
import shutil
import subprocess

from wine_helpers import BUILD, WINE_RUN, finish, reg_add, reg_delete_tree, wait_for, windows_path, wine

SERVICE = os.path.join(BUILD, "src", "PellacorService.exe")
SERVICE_LOG = os.path.join(BUILD, "src", "pellacorservice.log")


def run_service(*args):
    """(exit code, standard output) of the service program run from a command line."""
    result = subprocess.run([WINE_RUN, SERVICE, *args], capture_output=True, text=True, timeout=120)
    return result.returncode, result.stdout


def fresh_service(folder, install=True):
    """No service, no machine settings, no service log, an empty test folder; then the service
    installed again unless told otherwise."""
    run_service("/uninstall")
    reg_delete_tree(r"HKLM\Software\Veltrano")
    if os.path.exists(SERVICE_LOG):
        os.remove(SERVICE_LOG)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    if install:
        run_service("/install")


def enable_service(log_path):
    """The service switched on in the machine's settings, logging to log_path (a Windows path)."""
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    reg_add(r"HKLM\Software\Veltrano\Options", "TrafficLogFile", "REG_SZ", log_path)


def enabled_service_and_pair(folder, log, pair):
    """A fresh service, installed and enabled, logging to log (a Unix path), and the veth pair up.
    Where network namespaces are refused there is nothing to check: the service is removed again
    and the driver ends as skipped."""
    fresh_service(folder)
    enable_service(windows_path(log))
    if not pair.create():
        print("network namespaces cannot be created here: nothing to check")
        run_service("/uninstall")
        finish()


def service_state():
    match = re.search(r"STATE\s*:\s*(\d)", wine("sc", "query", "VeltranoService", check=False))
    return int(match.group(1)) if match else None


def wait_for_state(wanted, seconds=30):
    return wait_for(lambda: service_state() == wanted, seconds)


def service_runs():
    """How many runs of the service its log tells of."""
    return service_messages().count("Service is running...")


def service_messages():
    """The messages of the service log, without their time stamps."""
    if not os.path.exists(SERVICE_LOG):
        return []
    with open(SERVICE_LOG, "rb") as f:
        return [line.split("]: ", 1)[1] for line in f.read().decode("latin-1").split("\r\n") if "]: " in line]
