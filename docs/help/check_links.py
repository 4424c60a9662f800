#!/usr/bin/env python3
"""Checks the help file's sources before they are compiled.

Every link and picture in the pages, the table of contents and the index must point at a file of
this folder (and at an anchor that exists, when it names one); every page must be listed in the
project file and reachable from the table of contents; the topics the program opens by name must
exist. Prints each problem and exits with 1 when there is any.

Usage: check_links.py [help folder]   (default: the folder of this script)
"""
import os
import re
import sys
from html.parser import HTMLParser
from urllib.parse import unquote, urlsplit

PROJECT = "Pellacor.hhp"
TITLE = "Veltrano Help"

# The program opens these by name: renaming one breaks a button or a key of the program.
REQUIRED_TOPICS = [
    "index.htm", "getting_started.htm", "main_window.htm", "options_general.htm",
    "options_graph_text.htm", "options_adapters.htm", "options_notification.htm",
    "options_service.htm", "email_settings.htm", "report_dialog.htm", "traffic_reports.htm",
    "stopwatch.htm", "rates_recorder.htm", "notification.htm", "alert_window.htm", "service.htm",
    "log_and_settings.htm", "questions.htm",
]

# The windows' own list of the topics they open on F1 and "Help".
PROGRAM_TOPICS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "desktop",
                              "help_topics.h")


def program_topics():
    if not os.path.exists(PROGRAM_TOPICS):
        return []
    with open(PROGRAM_TOPICS, encoding="utf-8") as header:
        return re.findall(r'L"([^"]+\.htm)"', header.read())


PAGE_SUFFIXES = (".htm", ".html")
# Files of this folder that are tools, not part of the compiled help.
NOT_COMPILED = (".py", ".hhp", ".pyc")


class _LinkCollector(HTMLParser):
    """Gathers the links, pictures and anchors of one page or sitemap."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []  # (line, target)
        self.anchors = set()
        self.locals = []  # (line, target) of sitemap entries

    def handle_starttag(self, tag, attrs):
        values = dict(attrs)
        line = self.getpos()[0]
        for name in ("href", "src"):
            if values.get(name):
                self.links.append((line, values[name]))
        for name in ("name", "id"):
            if values.get(name) and tag != "param" and tag != "meta":
                self.anchors.add(values[name])
        if tag == "param" and (values.get("name") or "").lower() == "local" and values.get("value"):
            self.locals.append((line, values["value"]))


def _parse(path):
    collector = _LinkCollector()
    with open(path, encoding="windows-1252") as source:
        collector.feed(source.read())
    collector.close()
    return collector


def _read_project(path):
    """The options and the file list of an .hhp file (an INI file whose [FILES] has bare lines)."""
    options, windows, files, section = {}, {}, [], None
    with open(path, encoding="windows-1252") as source:
        for raw in source:
            line = raw.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].upper()
            elif section == "OPTIONS" and "=" in line:
                key, value = line.split("=", 1)
                options[key.strip().lower()] = value.strip()
            elif section == "WINDOWS" and "=" in line:
                key, value = line.split("=", 1)
                windows[key.strip()] = value.strip()
            elif section == "FILES":
                files.append(line.replace("\\", "/"))
    return options, windows, files


def check(folder):
    """Returns the list of problems found in the help folder; empty when all is well."""
    problems = []
    folder = os.path.abspath(folder)
    project_path = os.path.join(folder, PROJECT)
    if not os.path.isfile(project_path):
        return [f"{PROJECT}: the project file is missing"]
    options, windows, listed = _read_project(project_path)

    if options.get("title") != TITLE:
        problems.append(f"{PROJECT}: Title must be '{TITLE}' (the program finds the help window by it)")
    for name, value in windows.items():
        caption = value.split(",", 1)[0].strip().strip('"')
        if caption != TITLE:
            problems.append(f"{PROJECT}: window '{name}' must be captioned '{TITLE}', not '{caption}'")
    for key in ("contents file", "index file", "default topic"):
        target = options.get(key)
        if not target:
            problems.append(f"{PROJECT}: '{key}' is not set")
        elif not os.path.isfile(os.path.join(folder, target)):
            problems.append(f"{PROJECT}: {key} '{target}' does not exist")
    for entry in listed:
        if not os.path.isfile(os.path.join(folder, entry)):
            problems.append(f"{PROJECT}: listed file '{entry}' does not exist")

    present = []
    for root, _, names in os.walk(folder):
        for name in names:
            relative = os.path.relpath(os.path.join(root, name), folder).replace(os.sep, "/")
            if "__pycache__" not in relative:
                present.append(relative)
    pages = sorted(p for p in present if p.lower().endswith(PAGE_SUFFIXES))
    compiled = sorted(p for p in present if not p.lower().endswith(NOT_COMPILED)
                      and p not in (options.get("contents file"), options.get("index file")))

    for topic in REQUIRED_TOPICS + program_topics():
        if topic not in pages:
            problems.append(f"required topic '{topic}' is missing")
    for name in compiled:
        if name not in listed:
            problems.append(f"{PROJECT}: '{name}' is not listed under [FILES]")

    parsed = {}
    for name in pages + [options.get("contents file"), options.get("index file")]:
        if name and os.path.isfile(os.path.join(folder, name)):
            parsed[name] = _parse(os.path.join(folder, name))

    def check_target(source, line, target):
        parts = urlsplit(target)
        if parts.scheme or target.startswith("//"):
            return  # a web address: not ours to check
        path = unquote(parts.path)
        resolved = source if not path else os.path.normpath(
            os.path.join(os.path.dirname(source), path)).replace(os.sep, "/")
        where = f"{source}:{line}"
        if resolved.startswith("../") or os.path.isabs(resolved):
            problems.append(f"{where}: '{target}' points outside the help folder")
            return
        if not os.path.isfile(os.path.join(folder, resolved)):
            problems.append(f"{where}: '{target}' points at a file that does not exist")
            return
        if parts.fragment:
            anchors = parsed[resolved].anchors if resolved in parsed else set()
            if parts.fragment not in anchors:
                problems.append(f"{where}: '{target}' names an anchor that '{resolved}' does not have")

    for source, page in parsed.items():
        for line, target in page.links + page.locals:
            check_target(source, line, target)

    toc = parsed.get(options.get("contents file"))
    if toc is not None:
        in_toc = {urlsplit(target).path for _, target in toc.locals}
        for page in pages:
            if page not in in_toc:
                problems.append(f"{options['contents file']}: page '{page}' is not in the table of contents")
    return problems


def main(argv):
    folder = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    problems = check(folder)
    for problem in problems:
        print(f"check_links: {problem}", file=sys.stderr)
    if problems:
        print(f"check_links: {len(problems)} problem(s) in {folder}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
