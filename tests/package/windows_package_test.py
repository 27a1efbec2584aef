#!/usr/bin/env python3
"""The Windows packages as a user gets them: the portable ZIP unpacked and run, and the installer run
silently under Wine (in a Wine prefix of the test's own) for every user and for the current user, its
Start-menu entry and registration checked, the installed CLI run (against the Linux-native product lab
when one is named), an upgrade from an earlier version, and each installation removed again. Every
program is checked against the certificate it was signed with.

    windows_package_test.py --build-dir BUILD --version X.Y.Z.W --wine-run scripts/wine-run
        --older-installer SETUP --signing-certificate PEM [--lab LAB]
"""
import argparse
import hashlib
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

import yaml

import package_lab

TIMEOUT = 120  # seconds for any one command; Wine's first start in a new prefix takes some of it
PRODUCT = "Tarvo Check Tool"
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\TarvoCheckTool"
# No spaces: Wine quotes such an argument, and the installer takes "/D=" and "_?=" only unquoted.
INSTALL_DIR = r"C:\TarvoTest\CheckTool"
EARLIER_DIR = r"C:\TarvoEarlier\CheckTool"
INSTALLED = ["README.txt", "checktool-cli.exe", "checktool.exe", "uninstall.exe"]
EXIT_NEWER_INSTALLED = 3
EXIT_TOOL_RUNNING = 4

ARGS = None
OSSLSIGNCODE_VERIFY_HELP = subprocess.run(["osslsigncode", "verify", "--help"], capture_output=True, text=True).stdout


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


def signature_check(path):
    """osslsigncode's verdict on a file's Authenticode signature, against the build's certificate only.
    Revocation lists are never fetched (Debian 12's osslsigncode 2.5 fetches none and lacks the option)."""
    offline = ["-ignore-crl"] if "-ignore-crl" in OSSLSIGNCODE_VERIFY_HELP else []
    return subprocess.run(["osslsigncode", "verify", "-CAfile", ARGS.signing_certificate, *offline, "-in", path],
                          capture_output=True, text=True, timeout=TIMEOUT)


class WindowsPackages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="checktool-windows-package-")
        cls.wine_root = os.path.join(cls.work, "wine")
        built = cls.run_command(["cmake", "--build", ARGS.build_dir, "--target", "windows_packages", "windows_older_installer"],
                                timeout=600)
        if built.returncode != 0:
            raise RuntimeError("the packages were not made:\n" + built.stdout.decode() + built.stderr.decode())
        cls.packages = os.path.join(ARGS.build_dir, "packages")
        cls.portable = f"checktool-{ARGS.version}-win64"
        cls.zip = os.path.join(cls.packages, cls.portable + ".zip")
        cls.setup = os.path.join(cls.packages, cls.portable + "-setup.exe")
        # One Wine server for the test's programs: each then starts in a fraction of a second.
        cls.wine_unheard(["--keep-server"])

    @classmethod
    def tearDownClass(cls):
        cls.wine_unheard(["--end-server"])
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

    def install(self, setup, *arguments):
        return self.wine_unheard([setup, "/S", *arguments]).returncode

    def uninstall_in_place(self, folder):
        """Runs the folder's uninstaller silently and waits for it: "_?=" keeps it in place (else it
        copies itself away and returns at once), where it cannot remove itself."""
        self.assertEqual(self.wine_unheard([folder + r"\uninstall.exe", "/S", "_?=" + folder]).returncode, 0)
        self.assertEqual(os.listdir(self.drive_c(folder)), ["uninstall.exe"], "nothing else is left")

    def drive_c(self, windows_path):
        self.assertTrue(windows_path.startswith("C:\\"))
        return os.path.join(self.wine_root, "prefix", "drive_c", *windows_path[3:].split("\\"))

    def windows_variable(self, name):
        answered = self.wine(["cmd", "/c", "echo", f"%{name}%"])
        return answered.stdout.decode().strip()

    def registration(self, root, view=64):
        """The values of the tool's Add/Remove Programs entry under root (HKLM or HKCU) in a registry
        view, or None when there is none."""
        answered = self.wine(["reg", "query", f"{root}\\{UNINSTALL_KEY}", f"/reg:{view}"])
        if answered.returncode != 0:
            return None
        values = {}
        for line in answered.stdout.decode(errors="replace").splitlines():
            fields = line.strip().split("    ")
            if len(fields) == 3:
                values[fields[0]] = fields[2]
        return values

    def assert_signed(self, path):
        checked = signature_check(path)
        self.assertEqual(checked.returncode, 0, f"{path}:\n{checked.stdout}{checked.stderr}")
        self.assertIn("Text description: " + PRODUCT, checked.stdout)
        self.assertRegex(checked.stdout, r"Message digest algorithm\s*:\s*SHA256")

    def assert_tells_version(self, program, name):
        answered = self.wine([program, "--version"])
        self.assertEqual(answered.returncode, 0, answered.stderr)
        self.assertEqual(answered.stdout.decode().replace("\r\n", "\n"), f"{name} {ARGS.version}\n")

    def test_portable_zip_holds_both_programs_signed_and_a_windows_read_me(self):
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
            self.assert_signed(path)
        self.assert_tells_version(os.path.join(unpacked, self.portable, "checktool-cli.exe"), "checktool-cli")
        self.assert_tells_version(os.path.join(unpacked, self.portable, "checktool.exe"), "checktool")

        # One changed byte in the middle of the program, and its signature no longer holds.
        tampered = os.path.join(self.work, "tampered.exe")
        shutil.copy(os.path.join(unpacked, self.portable, "checktool-cli.exe"), tampered)
        with open(tampered, "r+b") as program:
            program.seek(os.path.getsize(tampered) // 2)
            byte = program.read(1)
            program.seek(-1, os.SEEK_CUR)
            program.write(bytes([byte[0] ^ 0xFF]))
        self.assertNotEqual(signature_check(tampered).returncode, 0, "a tampered program is refused")

    def test_silent_install_for_every_user_run_and_uninstall(self):
        self.assertEqual(pe_machine(self.setup), 0x8664, "a 32-bit installer installs nothing under 64-bit Wine")
        self.assert_signed(self.setup)
        # /D must come last.
        self.assertEqual(self.install(self.setup, "/D=" + INSTALL_DIR), 0)
        folder = self.drive_c(INSTALL_DIR)
        self.assertEqual(sorted(os.listdir(folder)), INSTALLED)
        for program in INSTALLED:
            if program.endswith(".exe"):
                self.assert_signed(os.path.join(folder, program))
        menu = self.drive_c(r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs" + "\\" + PRODUCT)
        self.assertEqual(sorted(os.listdir(menu)), [f"{PRODUCT}.lnk", f"Uninstall {PRODUCT}.lnk"])

        entry = self.registration("HKLM")
        self.assertIsNotNone(entry, "registered in the 64-bit view")
        self.assertIsNone(self.registration("HKLM", view=32), "and not in the 32-bit one")
        self.assertIsNone(self.registration("HKCU"))
        self.assertEqual(entry["DisplayVersion"], ARGS.version)
        self.assertEqual(entry["InstallLocation"], INSTALL_DIR)
        self.assertEqual(entry["DisplayIcon"], INSTALL_DIR + r"\checktool.exe,0")
        self.assertEqual(entry["QuietUninstallString"], f'"{INSTALL_DIR}\\uninstall.exe" /S')
        self.assertTrue(entry["URLInfoAbout"].startswith("https://"))
        self.assertEqual((entry["NoModify"], entry["NoRepair"]), ("0x1", "0x1"))
        programs_size = sum(os.path.getsize(os.path.join(folder, p)) for p in INSTALLED)
        self.assertAlmostEqual(int(entry["EstimatedSize"], 16), programs_size / 1024, delta=programs_size / 1024 / 10)

        installed_cli = INSTALL_DIR + r"\checktool-cli.exe"
        self.assert_tells_version(installed_cli, "checktool-cli")
        if ARGS.lab:
            diagnosed = package_lab.diagnose_lab_product(
                ARGS.lab, self.work,
                lambda host, port: self.wine([installed_cli, "--web-host", host, "--web-port", str(port), "--json"]))
            diagnosed.stdout = diagnosed.stdout.decode()
            diagnosed.stderr = diagnosed.stderr.decode(errors="replace")
            package_lab.check_lab_diagnosis(self, diagnosed)
        # The programs keep their log beside themselves; it goes with them.
        os.makedirs(os.path.join(folder, "Log"), exist_ok=True)
        with open(os.path.join(folder, "Log", "checktool_20250101.log"), "w") as log:
            log.write("a log the tool wrote\n")

        self.uninstall_in_place(INSTALL_DIR)
        self.assertFalse(os.path.exists(menu), "the Start-menu entry is removed")
        self.assertIsNone(self.registration("HKLM"), "the registration is removed")

    def test_silent_install_for_the_current_user(self):
        self.assertEqual(self.install(self.setup, "/CurrentUser"), 0)
        installed = self.windows_variable("LOCALAPPDATA") + r"\Programs\Tarvo\CheckTool"
        self.assertEqual(sorted(os.listdir(self.drive_c(installed))), INSTALLED)
        menu = self.drive_c(self.windows_variable("APPDATA") + r"\Microsoft\Windows\Start Menu\Programs" + "\\" + PRODUCT)
        self.assertEqual(len(os.listdir(menu)), 2)
        entry = self.registration("HKCU")
        self.assertIsNotNone(entry, "registered for this user")
        self.assertEqual(entry["InstallLocation"], installed)
        self.assertIsNone(self.registration("HKLM"), "and not for the machine")

        self.uninstall_in_place(installed)
        self.assertFalse(os.path.exists(menu))
        self.assertIsNone(self.registration("HKCU"))

    def test_upgrade_over_an_earlier_version_and_no_downgrade(self):
        older_version = os.path.basename(ARGS.older_installer).split("-")[1]
        self.assertEqual(self.install(ARGS.older_installer, "/D=" + EARLIER_DIR), 0)
        folder = self.drive_c(EARLIER_DIR)
        os.makedirs(os.path.join(folder, "Log"))
        with open(os.path.join(folder, "Log", "checktool-cli_20250101.log"), "w") as log:
            log.write("kept across an upgrade\n")

        # A running checktool-cli.exe (waiting for a web server that never answers) holds the upgrade and
        # the removal back: both say so and leave the earlier version as it was, registered.
        with socket.create_server(("127.0.0.1", 0)) as silent_server:
            silent_server.settimeout(TIMEOUT)
            running = subprocess.Popen(
                [ARGS.wine_run, EARLIER_DIR + r"\checktool-cli.exe", "--web-host", "127.0.0.1", "--web-port",
                 str(silent_server.getsockname()[1])],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=self.wine_environment(), start_new_session=True)
            try:
                connection, _ = silent_server.accept()
                connection.close()
                self.assertEqual(self.install(self.setup), EXIT_TOOL_RUNNING)
                removal = self.wine_unheard([EARLIER_DIR + r"\uninstall.exe", "/S", "_?=" + EARLIER_DIR])
                self.assertEqual(removal.returncode, EXIT_TOOL_RUNNING)
            finally:
                os.killpg(running.pid, signal.SIGKILL)
                running.wait(timeout=TIMEOUT)
        self.assertEqual(self.registration("HKLM")["DisplayVersion"], older_version)
        self.assertEqual(sorted(os.listdir(folder)), ["Log"] + INSTALLED)

        # The earlier version goes, by its own uninstaller, wherever the new one is put; the tool's log stays.
        self.assertEqual(self.install(self.setup, "/D=" + INSTALL_DIR), 0)
        entry = self.registration("HKLM")
        self.assertEqual((entry["DisplayVersion"], entry["InstallLocation"]), (ARGS.version, INSTALL_DIR))
        self.assertEqual(sorted(os.listdir(self.drive_c(INSTALL_DIR))), INSTALLED)
        self.assertEqual(os.listdir(folder), ["Log"])
        self.assertIn("checktool-cli_20250101.log", os.listdir(os.path.join(folder, "Log")))

        self.assertEqual(self.install(ARGS.older_installer), EXIT_NEWER_INSTALLED, "a silent downgrade is refused")
        self.assertEqual(self.registration("HKLM")["DisplayVersion"], ARGS.version)

        self.uninstall_in_place(INSTALL_DIR)

    def test_winget_manifests_name_the_signed_installer(self):
        with open(self.setup, "rb") as setup:
            digest = hashlib.sha256(setup.read()).hexdigest().upper()
        manifests = {}
        for name in os.listdir(os.path.join(self.packages, "winget")):
            with open(os.path.join(self.packages, "winget", name), encoding="utf-8") as manifest:
                manifests[name] = yaml.safe_load(manifest)
        self.assertEqual({m["ManifestType"] for m in manifests.values()}, {"version", "installer", "defaultLocale"})
        self.assertEqual({(m["PackageIdentifier"], m["PackageVersion"]) for m in manifests.values()},
                         {("Tarvo.CheckTool", ARGS.version)})
        installer = manifests["Tarvo.CheckTool.installer.yaml"]
        self.assertEqual(installer["InstallerType"], "nullsoft")
        self.assertEqual({(i["Scope"], i["InstallerSha256"], i["InstallerSwitches"]["Custom"]) for i in installer["Installers"]},
                         {("machine", digest, "/AllUsers"), ("user", digest, "/CurrentUser")})
        self.assertTrue(all(i["InstallerUrl"].endswith(os.path.basename(self.setup)) for i in installer["Installers"]))


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--older-installer", required=True, help="the same installer calling itself an earlier version")
    parser.add_argument("--signing-certificate", required=True, help="the certificates the programs are signed with (PEM)")
    parser.add_argument("--lab", help="the Linux-native product-lab; without it the installed CLI is not run against it")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
