#!/usr/bin/env python3
"""The help sources pass their check, and the check refuses each kind of broken source."""
import os
import shutil
import tempfile
import unittest

import check_links

HERE = os.path.dirname(os.path.abspath(__file__))


class CheckLinksTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        shutil.copytree(HERE, self.folder, dirs_exist_ok=True,
                        ignore=shutil.ignore_patterns("__pycache__"))

    def tearDown(self):
        shutil.rmtree(self.folder)

    def edit(self, name, old, new):
        path = os.path.join(self.folder, name)
        with open(path, encoding="windows-1252") as source:
            text = source.read()
        self.assertIn(old, text)
        with open(path, "w", encoding="windows-1252") as target:
            target.write(text.replace(old, new, 1))

    def assertRefused(self, fragment):
        problems = check_links.check(self.folder)
        self.assertTrue(any(fragment in p for p in problems), problems)

    def test_the_help_sources_pass(self):
        self.assertEqual(check_links.check(HERE), [])

    def test_refuses_broken_links_anchors_and_pictures(self):
        self.edit("index.htm", 'href="getting_started.htm"', 'href="getting_startd.htm"')
        self.edit("questions.htm", 'href="#move_log"', 'href="#moving_log"')
        self.edit("main_window.htm", 'src="images/main_window.png"', 'src="images/main.png"')
        self.edit("Pellacor.hhk", 'value="log_and_settings.htm#registry"', 'value="log_and_settings.htm#reg"')
        self.assertRefused("index.htm:")
        self.assertRefused("'#moving_log' names an anchor")
        self.assertRefused("'images/main.png' points at a file that does not exist")
        self.assertRefused("'log_and_settings.htm#reg' names an anchor")

    def test_refuses_pages_missing_from_project_or_contents_and_missing_topics(self):
        self.edit("Pellacor.hhp", "stopwatch.htm\n", "")
        self.edit("Pellacor.hhc", 'value="questions.htm"', 'value="index.htm"')
        os.remove(os.path.join(self.folder, "alert_window.htm"))
        self.assertRefused("'stopwatch.htm' is not listed under [FILES]")
        self.assertRefused("page 'questions.htm' is not in the table of contents")
        self.assertRefused("required topic 'alert_window.htm' is missing")

    def test_refuses_a_title_the_program_would_not_find(self):
        self.edit("Pellacor.hhp", "Title=Veltrano Help", "Title=Help")
        self.edit("Pellacor.hhp", 'main="Veltrano Help"', 'main="Veltrano"')
        self.assertRefused("Title must be 'Veltrano Help'")
        self.assertRefused("window 'main' must be captioned 'Veltrano Help'")


if __name__ == "__main__":
    unittest.main()
