#!/usr/bin/python3
"""Checks of the help file: it was compiled, it holds every page of the project, and every link
of the pages, the contents and the index leads to a page (and anchor) that exists.

Usage: check_help.py HELP_FOLDER COMPILED_CHM"""
import configparser
import os
import subprocess
import sys
import unittest
from html.parser import HTMLParser
from urllib.parse import urldefrag, urlparse

HELP, CHM = sys.argv[1], sys.argv[2]
del sys.argv[1:3]


class Page(HTMLParser):
    """The links, anchors and title of one HTML or sitemap file."""

    def __init__(self, path):
        super().__init__(convert_charrefs=True)
        self.links, self.ids, self.title, self._in_title = [], set(), "", False
        with open(path, encoding="cp1252") as f:
            self.feed(f.read())

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        for name in ("href", "src"):
            if attrs.get(name):
                self.links.append(attrs[name])
        if tag == "param" and (attrs.get("name") or "").lower() == "local":
            self.links.append(attrs.get("value", ""))
        for name in ("id", "name"):
            if attrs.get(name) and tag != "param":
                self.ids.add(attrs[name])
        self._in_title = tag == "title"

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def project():
    """The options and the file list of Help.hhp."""
    parser = configparser.ConfigParser(allow_no_value=True, delimiters=("=",), interpolation=None)
    parser.optionxform = str
    with open(os.path.join(HELP, "Help.hhp"), encoding="cp1252") as f:
        parser.read_file(f)
    return dict(parser["OPTIONS"]), list(parser["FILES"])


class HelpFile(unittest.TestCase):
    def setUp(self):
        self.options, self.files = project()
        self.sitemaps = [self.options["Contents file"], self.options["Index file"]]

    def test_project_lists_every_page_and_every_listed_file_exists(self):
        pages = sorted(f for f in os.listdir(HELP) if f.endswith(".html"))
        self.assertEqual(sorted(f for f in self.files if f.endswith(".html")), pages)
        for name in self.files + self.sitemaps + [self.options["Default topic"]]:
            self.assertTrue(os.path.isfile(os.path.join(HELP, name)), name)

    def test_every_internal_link_resolves(self):
        parsed = {name: Page(os.path.join(HELP, name)) for name in self.files if name.endswith(".html")}
        parsed.update({name: Page(os.path.join(HELP, name)) for name in self.sitemaps})
        broken = []
        for name, page in parsed.items():
            for link in page.links:
                if urlparse(link).scheme:
                    continue  # addresses outside the help file
                target, anchor = urldefrag(link)
                target = target or name
                if target not in self.files:
                    broken.append(f"{name}: {link} (no such page in the project)")
                elif anchor and anchor not in parsed.get(target, Page(os.path.join(HELP, target))).ids:
                    broken.append(f"{name}: {link} (no such anchor)")
        self.assertEqual(broken, [])

    def test_every_page_has_a_title_and_the_stylesheet(self):
        for name in self.files:
            if name.endswith(".html"):
                page = Page(os.path.join(HELP, name))
                self.assertTrue(page.title.strip(), name)
                self.assertIn("style.css", page.links, name)

    def test_contents_reach_every_page(self):
        contents = Page(os.path.join(HELP, self.options["Contents file"]))
        reached = {urldefrag(link)[0] for link in contents.links}
        self.assertEqual(reached, {f for f in self.files if f.endswith(".html")})

    def test_compiled_file_holds_every_file(self):
        with open(CHM, "rb") as f:
            self.assertEqual(f.read(4), b"ITSF")
        listing = subprocess.run(["chmls", "--no-page", "-n", "list", CHM], capture_output=True, text=True,
                                 check=True).stdout.split()
        inside = {line.lstrip("/") for line in listing}
        for name in self.files + self.sitemaps:
            self.assertIn(name, inside)


if __name__ == "__main__":
    unittest.main(verbosity=1)
