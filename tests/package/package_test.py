#!/usr/bin/env python3
"""The Debian package as a user gets it: built from this build folder, checked by Debian's own tools,
unpacked into a throw-away root and run from there against the product lab.

    package_test.py --build-dir BUILD --version X.Y.Z.W --lab PATH/product-lab
"""
import argparse
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

import package_lab

APP_ID = "com.tarvo.CheckTool"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
EXPECTED_FILES = sorted(
    [
        "usr/bin/checktool",
        "usr/bin/checktool-cli",
        f"usr/share/applications/{APP_ID}.desktop",
        f"usr/share/metainfo/{APP_ID}.metainfo.xml",
        f"usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg",
        "usr/share/man/man1/checktool.1.gz",
        "usr/share/man/man1/checktool-cli.1.gz",
        "usr/share/bash-completion/completions/checktool-cli",
        "usr/share/doc/checktool/changelog.gz",
        "usr/share/doc/checktool/copyright",
    ]
    + [f"usr/share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png" for n in ICON_SIZES]
)
TIMEOUT = 60  # seconds for any one command; the whole test stays well under ctest's limit

ARGS = None


def run(command, **kwargs):
    kwargs.setdefault("timeout", TIMEOUT)
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="checktool-package-")
        built = run(["cpack", "--config", os.path.join(ARGS.build_dir, "CPackConfig.cmake"), "-B", cls.work],
                    timeout=180)
        if built.returncode != 0:
            raise RuntimeError("cpack failed:\n" + built.stdout + built.stderr)
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        cls.deb = os.path.join(cls.work, f"checktool_{ARGS.version}_{arch}.deb")
        cls.root = os.path.join(cls.work, "root")
        unpacked = run(["dpkg-deb", "-x", cls.deb, cls.root])
        if unpacked.returncode != 0:
            raise RuntimeError("dpkg-deb -x failed: " + unpacked.stderr)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def installed(self, path):
        return os.path.join(self.root, path)

    def control_field(self, name):
        return run(["dpkg-deb", "-f", self.deb, name]).stdout.strip()

    def test_contents_are_the_programs_and_their_desktop_files_only(self):
        listing = run(["dpkg-deb", "-c", self.deb]).stdout.splitlines()
        files = sorted(line.split()[-1].lstrip("./") for line in listing if line.startswith("-"))
        self.assertEqual(files, EXPECTED_FILES)
        for size in ICON_SIZES:
            with open(self.installed(f"usr/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"), "rb") as icon:
                header = icon.read(24)
            self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual(struct.unpack(">II", header[16:24]), (size, size), "the icon's size is its folder's")
        modes = {line.split()[-1].lstrip("./"): line.split()[0] for line in listing if line.startswith("-")}
        self.assertEqual(modes["usr/bin/checktool"], "-rwxr-xr-x")
        self.assertEqual(modes[f"usr/share/metainfo/{APP_ID}.metainfo.xml"], "-rw-r--r--")

    def test_control_fields(self):
        self.assertEqual(self.control_field("Package"), "checktool")
        self.assertEqual(self.control_field("Version"), ARGS.version)
        self.assertEqual(self.control_field("Section"), "utils")
        self.assertRegex(self.control_field("Maintainer"), r"^[^<>]+ <[^@<>]+@[^@<>]+>$")
        depends = self.control_field("Depends")
        for library in ("libqt6widgets6", "libcurl4", "libcrypto++", "zlib1g", "libc6"):
            self.assertIn(library, depends, "Depends is computed from the programs' shared libraries")
        self.assertTrue(self.control_field("Description").strip())

    def test_lintian_reports_no_error(self):
        checked = run(["lintian", "--fail-on", "error", "--no-tag-display-limit", self.deb], timeout=120)
        tags = [line for line in checked.stdout.splitlines() if re.match(r"^[EW]: ", line)]
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        self.assertEqual([t for t in tags if t.startswith("E: ")], [])

    def test_desktop_entry_and_metainfo_validate(self):
        desktop = self.installed(f"usr/share/applications/{APP_ID}.desktop")
        validated = run(["desktop-file-validate", desktop])
        self.assertEqual(validated.returncode, 0, validated.stdout + validated.stderr)
        with open(desktop, encoding="utf-8") as entry:
            text = entry.read()
        for line in ("Name=", "Name[ko]=", "Exec=checktool", f"Icon={APP_ID}", "Categories=Utility;"):
            self.assertRegex(text, re.compile("^" + re.escape(line), re.M))

        metainfo = self.installed(f"usr/share/metainfo/{APP_ID}.metainfo.xml")
        validated = run(["appstreamcli", "validate", "--no-net", metainfo])
        self.assertEqual(validated.returncode, 0, validated.stdout + validated.stderr)
        with open(metainfo, encoding="utf-8") as component:
            xml = component.read()
        newest = re.search(r'<release version="([^"]+)"', xml)
        self.assertEqual(newest.group(1) if newest else None, ARGS.version, "the newest release is this version")
        shots = re.findall(r"<image>[^<]*/docs/images/([^<]+)</image>", xml)
        self.assertTrue(shots)
        source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs", "images")
        for shot in shots:
            self.assertTrue(os.path.isfile(os.path.join(source, shot)), shot + " is not in docs/images")

    def test_installed_programs_tell_their_version_without_writing_a_log(self):
        logs_before = self.log_files()
        for program in ("checktool", "checktool-cli"):
            answered = run([self.installed("usr/bin/" + program), "--version"], env=self.environment())
            self.assertEqual(answered.returncode, 0, answered.stderr)
            self.assertEqual(answered.stdout, f"{program} {ARGS.version}\n")
        self.assertEqual(self.log_files(), logs_before)

    def test_manual_and_completion_know_every_flag_of_help(self):
        helped = run([self.installed("usr/bin/checktool-cli"), "--help"], env=self.environment())
        self.assertEqual(helped.returncode, 0, helped.stderr)
        flags = re.findall(r"^  (--[a-z-]+)", helped.stdout, re.M)
        self.assertIn("--web-host", flags)
        self.assertIn("--version", flags)

        with gzip.open(self.installed("usr/share/man/man1/checktool-cli.1.gz"), "rt", encoding="utf-8") as page:
            roff = page.read()
        options = roff[roff.index(".SH OPTIONS") : roff.index(".SH EXIT STATUS")]
        for flag in flags:
            self.assertIn(flag.replace("-", "\\-"), options, flag + " is missing from the manual page")
        for status in re.findall(r"^  (\d+) ", helped.stdout[helped.stdout.index("Exit status:") :], re.M):
            self.assertRegex(roff, re.compile(r"^\.B " + status + "$", re.M), "exit status " + status)
        rendered = run(["man", "--warnings", "-l", "-Tutf8", "-Z",
                        self.installed("usr/share/man/man1/checktool-cli.1.gz")], env=self.environment())
        self.assertEqual(rendered.stderr, "", "the page renders without warnings")

        completion = self.installed("usr/share/bash-completion/completions/checktool-cli")
        cli = self.installed("usr/bin/checktool-cli")
        script = (f'source "{completion}"; COMP_WORDS=("{cli}" ""); COMP_CWORD=1; _checktool_cli; '
                  'printf "%s\\n" "${COMPREPLY[@]}"; '
                  f'COMPREPLY=(); COMP_WORDS=("{cli}" --web-host ""); COMP_CWORD=2; _checktool_cli; '
                  'echo "after a value flag: ${#COMPREPLY[@]}"')
        completed = run(["bash", "-c", script], env=self.environment())
        self.assertEqual(completed.stdout.splitlines(), flags + ["after a value flag: 0"], completed.stderr)

    def test_installed_cli_diagnoses_the_lab(self):
        diagnosed = package_lab.diagnose_lab_product(
            ARGS.lab, self.work,
            lambda host, port: run([self.installed("usr/bin/checktool-cli"), "--web-host", host, "--web-port",
                                    str(port), "--json"], env=self.environment()))
        package_lab.check_lab_diagnosis(self, diagnosed)

        state_logs = os.path.join(self.work, "home", "state", "TarvoCheckTool", "Log")
        self.assertEqual([os.path.dirname(f) for f in self.log_files()], [state_logs],
                         "an installed program logs to the state folder, never among the system's programs")

    def environment(self):
        home = os.path.join(self.work, "home")
        return dict(os.environ, HOME=home, XDG_STATE_HOME=os.path.join(home, "state"),
                    XDG_DATA_HOME=os.path.join(home, "data"), LC_ALL="C.UTF-8")

    def log_files(self):
        return sorted(os.path.join(folder, name) for folder, _, names in os.walk(self.work)
                      for name in names if name.endswith(".log"))


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--lab", required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
