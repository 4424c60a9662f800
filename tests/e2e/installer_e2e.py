"""Under Wine on Xvfb, in a fresh prefix of its own: the installer that scripts/package built. A
silent install puts the programs, the help file, the Start menu shortcut and the uninstall entry in
place; the installed program starts and F1 opens its help. Installing again over the running
program ends it through its Exit command (the day is written); over the running service, stops it
and starts it again, keeping the log and the settings; a program it cannot end makes it fail
without touching anything. A silent uninstall ends the program, removes the programs, the
shortcut, the entry, the Run value and the service, and keeps the log and the settings. /D= names
another folder.

Where this machine runs no 32-bit code, the 64-bit test build of the same installer script is
run (scripts/package --test-build); elsewhere the installer that ships."""

import filecmp
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.environ.get("VELTRANO_ROOT", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
PREFIX = os.path.join(ROOT, "build", "wineprefix-installer")
os.environ["WINEPREFIX"] = PREFIX

from day_records import read_records, today  # noqa: E402
from service_helpers import service_state  # noqa: E402
from wine_helpers import (WINE_RUN, check, expect, finish, reg_add, reg_query, SKIPPED_EXIT,  # noqa: E402
                          wait_for, wine, xdotool)

UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrano"
OPTIONS = r"HKCU\Software\Veltrano\Options"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
DEFAULT_FOLDER = r"C:\Program Files\Veltrano"
PROGRAM_FILES = ("Pellacor.exe", "PellacorService.exe", "Pellacor.chm", "uninstall.exe")
SHORTCUT = os.path.join(PREFIX, "drive_c", "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                        "Veltrano.lnk")
ALL_CONNECTIONS = 100


def wine_environment(commands):
    script = f'source "{ROOT}/scripts/wine-env"; {commands}'
    return subprocess.run(["bash", "-c", script], capture_output=True, text=True, timeout=300).stdout.strip()


def version():
    with open(os.path.join(ROOT, "CMakeLists.txt")) as f:
        return re.search(r"project\(Veltrano VERSION (\d+\.\d+\.\d+)", f.read()).group(1)


def installer_and_programs():
    """The installer this machine can run, and the folder of the programs it should hold."""
    if wine_environment('echo "$VELTRANO_WIN_PRESET"') == "win64":
        return (os.path.join(ROOT, "build", "package", f"Veltrano-Setup-{version()}-test64.exe"),
                os.path.join(ROOT, "build", "win64", "src"), "scripts/package --test-build")
    return (os.path.join(ROOT, "build", "package", f"Veltrano-Setup-{version()}.exe"),
            os.path.join(ROOT, "build", "release", "src"), "scripts/package")


def run_timed(*args, timeout=180):
    started = time.time()
    result = subprocess.run([WINE_RUN, *args], capture_output=True, text=True, timeout=timeout)
    return result.returncode, time.time() - started


def unix_path(windows_path):
    return wine("winepath", "-u", windows_path).strip()


def window_named(name):
    ids = xdotool("search", "--onlyvisible", "--name", f"^{name}$")
    return ids[0] if ids else None


def value(key, name):
    found = reg_query(key, name)
    return found[1] if found else None


def start_program(folder):
    desktop = subprocess.Popen([WINE_RUN, os.path.join(folder, "Pellacor.exe")], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    window = wait_for(lambda: window_named("Veltrano"), 30)
    return desktop, window


def exit_code(desktop, seconds=30):
    try:
        return desktop.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        desktop.kill()
        return None


def one_record_per_adapter_today(log, what):
    records = [r for r in read_records(log) or [] if r[0] == today()]
    keys = [(kind, ident) for _, kind, ident, _, _ in records]
    check((ALL_CONNECTIONS, "") in keys and len(keys) == len(set(keys)),
          f"{what}: one record of today per adapter, All Connections among them ({len(keys)} records)")


def installs_silently(installer, programs):
    code, seconds = run_timed(installer, "/S")
    expect(code, 0, "the silent install succeeds")
    location = value(UNINSTALL_KEY, "InstallLocation")
    expect(location, DEFAULT_FOLDER, "it installs into Program Files\\Veltrano")
    folder = unix_path(location or DEFAULT_FOLDER)
    present = [name for name in PROGRAM_FILES if os.path.isfile(os.path.join(folder, name))]
    expect(present, list(PROGRAM_FILES), "the programs, the help file and the uninstaller are there")
    check(all(filecmp.cmp(os.path.join(programs, name), os.path.join(folder, name), shallow=False)
              for name in ("Pellacor.exe", "PellacorService.exe") if name in present),
          f"the installed programs are the ones built in {os.path.relpath(programs, ROOT)}")
    with open(SHORTCUT, "rb") if os.path.exists(SHORTCUT) else open(os.devnull, "rb") as f:
        link = f.read()
    check(b"Pellacor.exe" in link or "Pellacor.exe".encode("utf-16-le") in link,
          "the all-users Start menu has a shortcut Veltrano to Pellacor.exe")

    quoted = f'"{DEFAULT_FOLDER}\\uninstall.exe"'
    expect({name: value(UNINSTALL_KEY, name) for name in
            ("DisplayName", "DisplayVersion", "Publisher", "DisplayIcon", "UninstallString", "QuietUninstallString")},
           {"DisplayName": "Veltrano", "DisplayVersion": version(), "Publisher": "Veltrano",
            "DisplayIcon": f"{DEFAULT_FOLDER}\\Pellacor.exe,0", "UninstallString": quoted,
            "QuietUninstallString": f"{quoted} /S"}, "the uninstall entry")
    installed_kb = sum(os.path.getsize(os.path.join(folder, name)) for name in present) / 1024
    estimated = reg_query(UNINSTALL_KEY, "EstimatedSize")
    estimated_kb = int(estimated[1], 16) if estimated and estimated[0] == "REG_DWORD" else 0
    check(abs(estimated_kb - installed_kb) <= 0.05 * installed_kb + 8,
          f"EstimatedSize {estimated_kb} KB matches the {installed_kb:.0f} KB installed")
    expect(value(RUN_KEY, "Veltrano"), None, "\"Start with Windows\" is not chosen by default")
    print(f"figures: installer {os.path.getsize(installer)} bytes, installed {installed_kb * 1024:.0f} bytes, "
          f"silent install {seconds:.1f} s under Wine")
    return folder


def program_starts_and_f1_opens_help(folder):
    reg_add(OPTIONS, "FirstRun", "REG_DWORD", "0")
    desktop, window = start_program(folder)
    if not check(window is not None, "the installed Pellacor.exe shows its window \"Veltrano\""):
        return desktop
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "--window", window, "F1")
    check(wait_for(lambda: window_named("Veltrano Help"), 20) is not None,
          "F1 opens the installed help file (\"Veltrano Help\")")
    wine("taskkill", "/im", "hh.exe", check=False)
    return desktop


def upgrade_ends_the_program_which_writes_the_day(installer, folder, desktop):
    os.remove(os.path.join(folder, "Pellacor.chm"))
    code, _ = run_timed(installer, "/S")
    expect(code, 0, "installing over the running program succeeds")
    expect(exit_code(desktop), 2, "the installer ended the program through its Exit command")
    check(os.path.isfile(os.path.join(folder, "Pellacor.chm")), "the upgrade wrote the files again")
    log = unix_path(value(OPTIONS, "TrafficLogFile") or "C:\\")
    one_record_per_adapter_today(log, "the program wrote the day before it ended")
    return log


def enable_service(folder, log):
    wine(os.path.join(folder, "PellacorService.exe"), "/install")
    # As the program's options sheet switches it on: for both programs, and the service gets the
    # program's log.
    reg_add(r"HKCU\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    reg_add(r"HKLM\Software\Veltrano\Service", "ServiceEnabled", "REG_DWORD", "1")
    reg_add(r"HKLM\Software\Veltrano\Options", "TrafficLogFile", "REG_SZ", value(OPTIONS, "TrafficLogFile"))
    wine("sc", "start", "VeltranoService", check=False)
    check(wait_for(lambda: service_state() == 4, 30), "the installed service runs")
    # As the program's own "Start with Windows" option would.
    reg_add(RUN_KEY, "Veltrano", "REG_SZ", f"{DEFAULT_FOLDER}\\Pellacor.exe")


def service_runs(folder):
    path = os.path.join(folder, "pellacorservice.log")
    if not os.path.exists(path):
        return 0
    with open(path, "rb") as f:
        return f.read().decode("latin-1").count("Service is running...")


def settings():
    return {"ServiceEnabled": value(r"HKLM\Software\Veltrano\Service", "ServiceEnabled"),
            "program's ServiceEnabled": value(r"HKCU\Software\Veltrano\Service", "ServiceEnabled"),
            "service log": value(r"HKLM\Software\Veltrano\Options", "TrafficLogFile"),
            "TrafficLogFile": value(OPTIONS, "TrafficLogFile"), "FirstRun": value(OPTIONS, "FirstRun"),
            "Run": value(RUN_KEY, "Veltrano")}


def upgrade_restarts_the_service_and_keeps_the_log(installer, folder, log):
    desktop, window = start_program(folder)
    check(window is not None, "the program runs beside the service")
    before, runs = settings(), service_runs(folder)
    code, _ = run_timed(installer, "/S")
    expect(code, 0, "installing over the running service succeeds")
    expect(exit_code(desktop), 2, "the installer ended the program again")
    check(wait_for(lambda: service_state() == 4, 15), "the service runs again after the upgrade")
    expect(service_runs(folder), runs + 1, "the upgrade stopped the service and started it once")
    expect(settings(), before, "the settings are kept")
    one_record_per_adapter_today(log, "the log is kept")


def refuses_a_program_it_cannot_end(installer, folder):
    """Returns the running program, whose window handle the installer was not told."""
    desktop, window = start_program(folder)
    check(window is not None, "the program runs before the uninstall")
    handle = value(OPTIONS, "HWND")
    wine("reg", "delete", OPTIONS, "/v", "HWND", "/f", check=False)
    code, _ = run_timed(installer, "/S")
    expect(code, 2, "an installer that cannot end the program fails")
    check(desktop.poll() is None and value(UNINSTALL_KEY, "DisplayName") == "Veltrano",
          "and leaves the program running and installed")
    reg_add(OPTIONS, "HWND", "REG_DWORD", handle or "0")
    return desktop


def uninstalls_silently_and_keeps_the_log(folder, log, desktop):
    kept = {name: value for name, value in settings().items() if name != "Run"}
    command = value(UNINSTALL_KEY, "QuietUninstallString") or ""
    expect(command, f'"{DEFAULT_FOLDER}\\uninstall.exe" /S', "the quiet uninstall command")
    # The uninstaller runs on from a copy of itself: it is done once it has removed its original.
    code, _ = run_timed(f"{DEFAULT_FOLDER}\\uninstall.exe", "/S")
    expect(code, 0, "the silent uninstall starts")
    gone = wait_for(lambda: not os.path.exists(os.path.join(folder, "uninstall.exe")), 60)
    check(gone, "the uninstaller finishes")
    expect(exit_code(desktop), 2, "the uninstaller ended the program through its Exit command")
    left = [name for name in PROGRAM_FILES + ("pellacorservice.log",) if os.path.exists(os.path.join(folder, name))]
    expect(left, [], "the programs, the help file and the service's own log are removed")
    check(not os.path.exists(SHORTCUT), "the shortcut is removed")
    check(reg_query(UNINSTALL_KEY, "DisplayName") is None, "the uninstall entry is removed")
    expect(value(RUN_KEY, "Veltrano"), None, "the Run value is removed")
    expect(service_state(), None, "the service is removed")
    expect({name: value for name, value in settings().items() if name != "Run"}, kept, "the settings are kept")
    one_record_per_adapter_today(log, "the traffic log is kept")


def installs_silently_into_a_chosen_folder(installer):
    code, _ = run_timed(installer, "/S", r"/D=C:\Tools\Meter")
    folder = os.path.join(PREFIX, "drive_c", "Tools", "Meter")
    check(code == 0 and value(UNINSTALL_KEY, "InstallLocation") == r"C:\Tools\Meter"
          and all(os.path.isfile(os.path.join(folder, name)) for name in PROGRAM_FILES),
          "/D= installs into the folder it names")


def main():
    missing = [tool for tool in ("wine", "xdotool", "Xvfb") if shutil.which(tool) is None]
    if missing:
        print(f"skipped: the installer under Wine ({', '.join(missing)} not installed)")
        sys.exit(SKIPPED_EXIT)
    installer, programs, command = installer_and_programs()
    if not check(os.path.isfile(installer), f"{os.path.relpath(installer, ROOT)} exists (built by {command})"):
        finish()

    shutil.rmtree(PREFIX, ignore_errors=True)
    wine_environment("veltrano_init_prefix; veltrano_start_wineserver")
    try:
        started = time.time()
        folder = installs_silently(installer, programs)
        desktop = program_starts_and_f1_opens_help(folder)
        log = upgrade_ends_the_program_which_writes_the_day(installer, folder, desktop)
        enable_service(folder, log)
        upgrade_restarts_the_service_and_keeps_the_log(installer, folder, log)
        desktop = refuses_a_program_it_cannot_end(installer, folder)
        uninstalls_silently_and_keeps_the_log(folder, log, desktop)
        installs_silently_into_a_chosen_folder(installer)
        print(f"install, upgrades and uninstall took {time.time() - started:.0f} s")
    finally:
        wine_environment("wineserver -k")
    finish()


if __name__ == "__main__":
    main()
