"""Under Wine on Xvfb, in a prefix of its own set to 120, 144 and 192 DPI in turn (LogPixels,
which Wine's desktop reads when it starts): the windows' own checks of their scaled fonts, bands,
margins, icons and captions (the Win32 test suites named Dpi*, which also run at 96 DPI with the
other desktop tests) pass at each scale."""

import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.environ.get("VELTRANO_ROOT", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
BUILD = os.environ.get("VELTRANO_BUILD", os.path.join(ROOT, "build", "win32"))
# Beside the project's prefix, 32- or 64-bit alike; kept between runs, as a first boot is slow.
PREFIX = os.environ.get("WINEPREFIX", os.path.join(ROOT, "build", "wineprefix")) + "-dpi"
os.environ["WINEPREFIX"] = PREFIX

from wine_helpers import SKIPPED_EXIT, WINE_RUN, check, finish  # noqa: E402

TESTS = os.path.join(BUILD, "tests", "veltrano_desktop_tests.exe")
SCALES = (120, 144, 192)


def wine_environment(commands):
    # No pipe: the persistent server and Wine's background processes would hold it open.
    script = f'source "{ROOT}/scripts/wine-env"; {commands}'
    subprocess.run(["bash", "-c", script], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)


def suites_pass_at(dpi):
    wine_environment(f"veltrano_start_display; veltrano_set_scale {dpi}")
    environment = dict(os.environ, VELTRANO_EXPECTED_DPI=str(dpi))
    with tempfile.TemporaryFile(mode="w+") as log:
        try:
            code = subprocess.run([WINE_RUN, TESTS, "--gtest_filter=Dpi*"], stdout=log, stderr=subprocess.STDOUT,
                                  timeout=300, env=environment).returncode
        except subprocess.TimeoutExpired:
            code = "a timeout"
        log.seek(0)
        output = log.read().replace("\r\n", "\n")
    ran = [line for line in output.split("\n") if line.startswith("[       OK ]") or line.startswith("[  FAILED  ]")]
    if code != 0 or not ran:
        print(output[-6000:])
    check(code == 0 and bool(ran), f"at {dpi} DPI the Dpi* suites pass ({len(ran)} tests, exit {code})")


def main():
    missing = [tool for tool in ("wine", "Xvfb") if shutil.which(tool) is None]
    if missing:
        print(f"skipped: the windows at other display scales ({', '.join(missing)} not installed)")
        sys.exit(SKIPPED_EXIT)
    if not check(os.path.isfile(TESTS), f"{os.path.relpath(TESTS, ROOT)} exists"):
        finish()
    try:
        for dpi in SCALES:
            suites_pass_at(dpi)
    finally:
        wine_environment("wineserver -k")
    finish()


if __name__ == "__main__":
    main()
