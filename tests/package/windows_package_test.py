#!/usr/bin/env python3
"""The Windows packages as a user gets them: the portable ZIP unpacked and run, and the installer run
silently under Wine (in a Wine prefix of the test's own), its Start-menu entry and registration checked,
the installed CLI run (against the Linux-native product lab when one is named) and the whole uninstalled.

    windows_package_test.py --build-dir BUILD --version X.Y.Z.W --wine-run scripts/wine-run [--lab LAB]
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

import package_lab

TIMEOUT = 120  # seconds for any one command; Wine's first start in a new prefix takes some of it
PRODUCT = "Tarvo Check Tool"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TarvoCheckTool"
# No spaces: Wine quotes such an argument, and the installer takes "/D=" and "_?=" only unquoted.
INSTALL_DIR = r"C:\TarvoTest\CheckTool"

ARGS = None


def pe_machine(path):
    """The machine field of a Windows program's PE header (0x8664 for x86-64)."""
    with open(path, "rb") as program:
        data = program.read(4096)
    if data[:2] != b"MZ":
        return None
    (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe_offset : pe_offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, pe_offset + 4)[0]


class WindowsPackages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="checktool-windows-package-")
        cls.wine_root = os.path.join(cls.work, "wine")
        built = cls.run_command(["cmake", "--build", ARGS.build_dir, "--target", "windows_packages"], timeout=600)
        if built.returncode != 0:
            raise RuntimeError("the packages were not made:\n" + built.stdout + built.stderr)
        packages = os.path.join(ARGS.build_dir, "packages")
        cls.portable = f"checktool-{ARGS.version}-win64"
        cls.zip = os.path.join(packages, cls.portable + ".zip")
        cls.setup = os.path.join(packages, cls.portable + "-setup.exe")
        # One Wine server for the test's programs: each then starts in a fraction of a second.
        cls.wine_unheard(["cmd", "/c", "exit", "0"])
        subprocess.run(["wineserver", "-p"], env=cls.wine_environment(), check=False)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["wineserver", "-k"], env=cls.wine_environment(), check=False)
        shutil.rmtree(cls.work, ignore_errors=True)

    @classmethod
    def run_command(cls, command, timeout=TIMEOUT, **kwargs):
        return subprocess.run(command, capture_output=True, timeout=timeout, **kwargs)

    @classmethod
    def wine_unheard(cls, command):
        """Runs a program whose output does not matter. Wine's helper services that it starts (for
        shortcuts, the registry) live on with the Wine server and keep any inherited pipe open, so
        nothing of theirs may be captured."""
        return subprocess.run([ARGS.wine_run] + command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              env=cls.wine_environment(), timeout=TIMEOUT)

    @classmethod
    def wine_environment(cls):
        return dict(os.environ, CHECKTOOL_WINE_ROOT=cls.wine_root, HOME=os.path.join(cls.wine_root, "home"),
                    WINEPREFIX=os.path.join(cls.wine_root, "prefix"), WINEDEBUG="-all")

    @classmethod
    def wine(cls, command):
        return cls.run_command([ARGS.wine_run] + command, env=cls.wine_environment())

    def drive_c(self, windows_path):
        self.assertTrue(windows_path.startswith("C:\\"))
        return os.path.join(self.wine_root, "prefix", "drive_c", *windows_path[3:].split("\\"))

    def assert_tells_version(self, program, name):
        answered = self.wine([program, "--version"])
        self.assertEqual(answered.returncode, 0, answered.stderr)
        self.assertEqual(answered.stdout.decode().replace("\r\n", "\n"), f"{name} {ARGS.version}\n")

    def test_portable_zip_holds_both_programs_and_a_windows_read_me(self):
        with zipfile.ZipFile(self.zip) as archive:
            self.assertIsNone(archive.testzip())
            names = sorted(n for n in archive.namelist() if not n.endswith("/"))
            self.assertEqual(names, [f"{self.portable}/{n}" for n in ("README.txt", "checktool-cli.exe", "checktool.exe")])
            readme = archive.read(f"{self.portable}/README.txt")
            unpacked = os.path.join(self.work, "portable")
            archive.extractall(unpacked)
        self.assertTrue(readme.startswith(b"\xef\xbb\xbf"), "Notepad reads UTF-8 only with a byte-order mark")
        self.assertNotIn(b"\n", readme.replace(b"\r\n", b""), "every line ends in CR LF")
        self.assertIn(ARGS.version.encode(), readme)
        self.assertIn("진단 시작".encode(), readme)
        for program in ("checktool.exe", "checktool-cli.exe"):
            path = os.path.join(unpacked, self.portable, program)
            self.assertEqual(pe_machine(path), 0x8664, program + " is a 64-bit Windows program")
        self.assert_tells_version(os.path.join(unpacked, self.portable, "checktool-cli.exe"), "checktool-cli")
        self.assert_tells_version(os.path.join(unpacked, self.portable, "checktool.exe"), "checktool")

    def test_silent_install_run_and_uninstall(self):
        self.assertEqual(pe_machine(self.setup), 0x8664, "a 32-bit installer installs nothing under 64-bit Wine")
        # /D must come last.
        installed = self.wine_unheard([self.setup, "/S", "/D=" + INSTALL_DIR])
        self.assertEqual(installed.returncode, 0)
        programs = ("checktool.exe", "checktool-cli.exe", "README.txt", "uninstall.exe")
        for name in programs:
            self.assertTrue(os.path.isfile(self.drive_c(INSTALL_DIR + "\\" + name)), name + " is installed")
        menu = self.drive_c(r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs" + "\\" + PRODUCT)
        self.assertEqual(sorted(os.listdir(menu)), [f"{PRODUCT}.lnk", f"Uninstall {PRODUCT}.lnk"])
        registered = self.wine(["reg", "query", UNINSTALL_KEY, "/v", "DisplayVersion"])
        self.assertEqual(registered.returncode, 0, registered.stderr)
        self.assertIn(ARGS.version, registered.stdout.decode(errors="replace"))

        installed_cli = INSTALL_DIR + r"\checktool-cli.exe"
        self.assert_tells_version(installed_cli, "checktool-cli")
        if ARGS.lab:
            diagnosed = package_lab.diagnose_lab_product(
                ARGS.lab, self.work,
                lambda host, port: self.wine([installed_cli, "--web-host", host, "--web-port", str(port), "--json"]))
            diagnosed.stdout = diagnosed.stdout.decode()
            diagnosed.stderr = diagnosed.stderr.decode(errors="replace")
            package_lab.check_lab_diagnosis(self, diagnosed)

        # "_?=" runs the uninstaller in place and waits for it (else it copies itself away and returns at
        # once); in place it cannot remove itself.
        removed = self.wine_unheard([INSTALL_DIR + r"\uninstall.exe", "/S", "_?=" + INSTALL_DIR])
        self.assertEqual(removed.returncode, 0)
        for name in programs[:-1]:
            self.assertFalse(os.path.exists(self.drive_c(INSTALL_DIR + "\\" + name)), name + " is removed")
        self.assertFalse(os.path.exists(menu), "the Start-menu entry is removed")
        self.assertNotEqual(self.wine(["reg", "query", UNINSTALL_KEY]).returncode, 0, "the registration is removed")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--lab", help="the Linux-native product-lab; without it the installed CLI is not run against it")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
