"""Footprint of the running service under Wine: CPU seconds and resident memory of the
PellacorService.exe process over five minutes with this machine's interfaces, read from /proc.
Runs in a Wine prefix of its own, so it does not disturb the test prefix. By hand:
    python3 bench/service_footprint.py [seconds]"""

import os
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
BUILD = os.path.join(ROOT, "build", "win32")
SERVICE = os.path.join(BUILD, "src", "PellacorService.exe")
PREFIX = os.path.join(ROOT, "build", "footprint-prefix")
DURATION = int(sys.argv[1]) if len(sys.argv) > 1 else 300

env = dict(os.environ, WINEPREFIX=PREFIX, WINEARCH="win32", WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")


def wine(*args):
    return subprocess.run(["wine", *args], env=env, capture_output=True, text=True, timeout=300).stdout


def service_pid():
    out = subprocess.run(["pgrep", "-f", "PellacorService.exe$"], capture_output=True, text=True).stdout.split()
    for pid in out:
        with open(f"/proc/{pid}/environ", "rb") as f:
            if f"WINEPREFIX={PREFIX}".encode() in f.read():
                return int(pid)
    return None


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


if not os.path.exists(os.path.join(PREFIX, "system.reg")):
    subprocess.run(["wineboot", "-i"], env=env, capture_output=True)
subprocess.run(["wineserver", "-p"], env=env)
# Wine's own background processes start here, detached: started by a captured call below, they
# would inherit its pipe and the call would never return.
subprocess.run(["wine", "wineboot"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
               stderr=subprocess.DEVNULL)
wine(SERVICE, "/uninstall")
wine(SERVICE, "/install")
wine("reg", "add", r"HKLM\Software\Veltrano\Service", "/v", "ServiceEnabled", "/t", "REG_DWORD", "/d", "1", "/f")
wine("reg", "add", r"HKLM\Software\Veltrano\Options", "/v", "TrafficLogFile", "/t", "REG_SZ", "/d",
     r"C:\footprint.log", "/f")
wine("sc", "start", "VeltranoService")
time.sleep(3)
pid = service_pid()
if pid is None:
    sys.exit("the service did not start")
start_cpu = cpu_seconds(pid)
samples = []
for elapsed in range(0, DURATION + 1, 30):
    if elapsed:
        time.sleep(30)
    samples.append((elapsed, cpu_seconds(pid) - start_cpu, resident_kib(pid)))
    print(f"{elapsed:4d} s  cpu {samples[-1][1]:6.2f} s  rss {samples[-1][2]} KiB", flush=True)
wine("sc", "stop", "VeltranoService")
wine(SERVICE, "/uninstall")
subprocess.run(["wineserver", "-k"], env=env)
after_first_minute = [rss for elapsed, _, rss in samples if elapsed >= 60]
print(f"cpu over {DURATION} s: {samples[-1][1]:.2f} s; rss after the first minute: "
      f"{min(after_first_minute)}..{max(after_first_minute)} KiB")
