#!/usr/bin/python3
"""Checks the zip that make-dist packs for running Quorrel without installing it: exactly the
program, its four sidecar files and the read-me, the program files identical to the build's
stripped ones (their symbols stay in the .debug files beside them), and a read-me with CRLF
line ends (older Notepads show LF-only text as one line).

Usage: check_zip.py PACKAGE_FOLDER BIN_FOLDER OBJDUMP"""
import glob
import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

PACKAGE, BIN, OBJDUMP = sys.argv[1], sys.argv[2], sys.argv[3]
del sys.argv[1:4]
PROGRAM_FILES = ["Quorrel.exe", "Res.dll", "Form.dll", "icon.dll", "Help.chm"]


class Zip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        found = glob.glob(os.path.join(PACKAGE, "Quorrel-*.zip"))
        assert len(found) == 1, f"expected one Quorrel-*.zip in {PACKAGE}, found {found}"
        cls.path = found[0]
        cls.archive = zipfile.ZipFile(cls.path)

    @classmethod
    def tearDownClass(cls):
        cls.archive.close()

    def test_holds_exactly_the_program_its_sidecars_and_the_read_me(self):
        self.assertEqual(sorted(self.archive.namelist()), sorted(PROGRAM_FILES + ["ReadMe.txt"]))
        self.assertIsNone(self.archive.testzip())
        for name in PROGRAM_FILES:
            with open(os.path.join(BIN, name), "rb") as built:
                self.assertEqual(self.archive.read(name), built.read(), name)

    def test_program_files_carry_no_debug_information(self):
        for name in PROGRAM_FILES:
            if not name.endswith((".exe", ".dll")):
                continue
            with tempfile.TemporaryDirectory() as folder:
                path = os.path.join(folder, name)
                with open(path, "wb") as f:
                    f.write(self.archive.read(name))
                headers = subprocess.run([OBJDUMP, "-h", path], check=True, capture_output=True, text=True).stdout
            sections = [line.split()[1] for line in headers.splitlines() if line.split()[:1] and line.split()[0].isdigit()]
            self.assertIn(".rsrc", sections, f"{name}: no resource section listed")
            self.assertEqual([s for s in sections if s.startswith(".debug")], [], name)
            # The symbols a backtrace needs are kept beside the built file, not shipped.
            if ".gnu_debuglink" in sections:
                self.assertTrue(os.path.isfile(os.path.join(BIN, name + ".debug")), name)

    def test_read_me_has_windows_line_ends_and_names_its_version(self):
        data = self.archive.read("ReadMe.txt")
        text = data.decode("cp1252")
        self.assertTrue(text.endswith("\r\n"))
        bare = text.replace("\r\n", "")
        self.assertFalse("\n" in bare or "\r" in bare, "a bare LF or CR")
        self.assertNotIn("@VERSION@", text)
        version = os.path.basename(self.path)[len("Quorrel-"):-len(".zip")]
        self.assertIn(f"Version {version}\r\n", text)
        self.assertIn(f"Quorrel-{version}-setup.exe", text)


if __name__ == "__main__":
    unittest.main(verbosity=2)
