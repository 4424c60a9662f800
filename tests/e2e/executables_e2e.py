"""The two deliverables: 32-bit PE files of the right subsystems that import only DLLs shipped
with Windows; the desktop program starts under Wine with default settings, shows its window,
registers its window handle, and saves its window and adapters when closed; the service
program runs its start-up reads and exits cleanly."""

import os
import subprocess
import time

from wine_helpers import BUILD, ROOT, WINE_RUN, check, expect, finish, reg_delete_tree, reg_query, reg_subkeys, skip, wine

DESKTOP = os.path.join(BUILD, "src", "Pellacor.exe")
SERVICE = os.path.join(BUILD, "src", "PellacorService.exe")
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "msvcrt.dll",
                "ws2_32.dll", "winmm.dll", "comctl32.dll", "comdlg32.dll", "ole32.dll"}
OPTIONS = r"HKCU\Software\Veltrano\Options"
# What ships is the 32-bit tree, also where this machine runs the tests on the 64-bit one.
SHIPPED = os.path.join(ROOT, "build", "win32", "src")


def pe_headers(path):
    return subprocess.run(["i686-w64-mingw32-objdump", "-p", path], capture_output=True, text=True).stdout


def are_static_32_bit_programs():
    for name, subsystem in (("Pellacor.exe", "(Windows GUI)"), ("PellacorService.exe", "(Windows CUI)")):
        path = os.path.join(SHIPPED, name)
        headers = pe_headers(path)
        check("file format pei-i386" in headers, f"{name} is a 32-bit PE")
        check(subsystem in headers, f"{name} subsystem {subsystem}")
        dlls = {line.split(":", 1)[1].strip().lower() for line in headers.split("\n") if "DLL Name:" in line}
        check(dlls <= WINDOWS_DLLS, f"{name} imports only Windows DLLs: {sorted(dlls)}")
        check("iphlpapi.dll" not in dlls, f"{name} binds the IP helper at run time")


def has_network_interface():
    return any(name != "lo" for name in os.listdir("/sys/class/net"))


def window_ids(title):
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    return [line.split()[0] for line in tree.split("\n") if f'"{title}"' in line]


def desktop_starts_shows_its_window_and_saves_on_close():
    reg_delete_tree(r"HKCU\Software\Veltrano")
    desktop = subprocess.Popen([WINE_RUN, DESKTOP], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.time() + 60
        while time.time() < deadline and not window_ids("Veltrano"):
            time.sleep(0.5)
        check(bool(window_ids("Veltrano")), "the desktop window titled Veltrano appears")
        time.sleep(2)  # a few sampling ticks
        handle = reg_query(OPTIONS, "HWND")
        check(handle is not None and handle[0] == "REG_DWORD" and handle[1] != "0x0",
              f"the running instance stores its window handle: {handle}")
        expect(reg_query(OPTIONS, "FirstRun"), ("REG_DWORD", "0x0"), "the first run is recorded")
        shot = os.path.join(BUILD, "desktop-window.png")
        subprocess.run(["import", "-window", "root", shot], capture_output=True)
        check(os.path.getsize(shot) > 0 if os.path.exists(shot) else False, f"screenshot written to {shot}")
        wine("taskkill", "/im", "Pellacor.exe", check=False)
        desktop.wait(timeout=30)
    finally:
        if desktop.poll() is None:
            desktop.kill()
    position = reg_query(OPTIONS, "WndPosition")
    check(position is not None and position[0] == "REG_BINARY" and len(position[1]) == 32,
          f"closing saves the window rectangle: {position}")
    subkeys = reg_subkeys(r"HKCU\Software\Veltrano\AdaptersEx")
    check("100-" in subkeys and "200-" in subkeys, f"closing saves both aggregates: {subkeys}")
    if has_network_interface():
        check(any(k.startswith("300-{") for k in subkeys), f"closing saves the interfaces too: {subkeys}")
    else:
        skip("closing saves the interfaces too", "this machine has no network interface besides loopback")
    expect(reg_query(r"HKCU\Software\Veltrano\AdaptersEx\100-", "Monitored"), ("REG_DWORD", "0x1"),
           "All Connections is the monitored adapter by default")
    reg_delete_tree(r"HKCU\Software\Veltrano")


def service_program_reads_its_settings_and_exits():
    result = subprocess.run([WINE_RUN, SERVICE], capture_output=True, text=True, timeout=60)
    expect(result.returncode, 0, "the service program exits cleanly")


are_static_32_bit_programs()
desktop_starts_shows_its_window_and_saves_on_close()
service_program_reads_its_settings_and_exits()
finish()
