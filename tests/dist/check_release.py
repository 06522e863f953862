#!/usr/bin/env python3
"""Checks the release in dist/ as a user and a Windows loader see it, for both programs.

    check_release.py --dist DIR --epoch SECONDS BUILD_DIR...

The archives are read back with the standard tools (sha256sum, unzip), the programs' headers
byte by byte, their imports with objdump and their resources with windres from each build's
toolchain. The version is the one CMake was given.
"""
import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from package import read_cache  # noqa: E402

# Windows' own DLLs; a static Peerix.exe needs nothing else (no libstdc++, libgcc or pthreads).
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll", "comdlg32.dll",
               "shell32.dll", "ole32.dll", "msvcrt.dll"}
MACHINES = {"win64": (0x8664, 0x20B), "win32": (0x14C, 0x10B)}
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
IMAGE_DIRECTORY_ENTRY_DEBUG = 6

R = None  # the Release under check, set by main()


class Release:
    """What the checks share: the builds, the version and the archives' entries."""

    def __init__(self, dist, epoch, builds):
        self.dist, self.epoch = dist, epoch
        self.builds = {os.path.basename(os.path.normpath(b)): (b, read_cache(b)) for b in builds}
        self.version = next(iter(self.builds.values()))[1]["CMAKE_PROJECT_VERSION"]
        self.folder = f"Peerix-{self.version}"

    def zip_path(self, arch):
        return os.path.join(self.dist, f"{self.folder}-{arch}.zip")

    def read(self, arch, name):
        with zipfile.ZipFile(self.zip_path(arch)) as z:
            return z.read(f"{self.folder}/{name}")

    def tool(self, arch, name):
        """A binutils program of the build's toolchain, found beside its objdump."""
        objdump = self.builds[arch][1]["CMAKE_OBJDUMP"]
        return objdump[:-len("objdump")] + name

    def built_help(self, arch):
        """The help file the build made (beside Peerix.exe or at the build's top), or None."""
        build = self.builds[arch][0]
        found = [p for p in (f"{build}/bin/Peerix.hlp", f"{build}/Peerix.hlp") if os.path.isfile(p)]
        return found[0] if found else None

    def built_pages(self, arch):
        """The names of the pages in the help folder the build made beside Peerix.exe, sorted."""
        folder = f"{self.builds[arch][0]}/bin/help"
        return sorted(os.listdir(folder)) if os.path.isdir(folder) else []


def pe_header(data):
    """The COFF header, the optional header's magic and subsystem, the debug directory and the
    section names of a PE image."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "no PE signature"
    machine, sections, stamp, symbols_at, symbols, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    debug_size = struct.unpack_from("<II", data, directories + 8 * IMAGE_DIRECTORY_ENTRY_DEBUG)[1]
    table = optional + optional_size
    strings = symbols_at + 18 * symbols

    def name(raw):
        # A name longer than eight characters is "/offset" into the string table after the symbols.
        text = raw.rstrip(b"\0").decode("latin-1")
        if text.startswith("/") and symbols_at:
            start = strings + int(text[1:])
            text = data[start:data.index(b"\0", start)].decode("latin-1")
        return text

    names = [name(data[table + 40 * i:table + 40 * i + 8]) for i in range(sections)]
    return dict(machine=machine, stamp=stamp, symbols_at=symbols_at, symbols=symbols, magic=magic,
                subsystem=subsystem, debug_size=debug_size, sections=names)


class Archives(unittest.TestCase):
    def test_dist_holds_the_two_zips_and_their_sums(self):
        names = sorted(os.listdir(R.dist))
        self.assertEqual(names, sorted([f"{R.folder}-win32.zip", f"{R.folder}-win64.zip", "SHA256SUMS"]))
        with open(os.path.join(R.dist, "SHA256SUMS"), "rb") as f:
            sums = f.read()
        self.assertNotIn(b"\r", sums)
        self.assertEqual(sorted(line.split(b"  ")[1] for line in sums.splitlines()),
                         [f"{R.folder}-win32.zip".encode(), f"{R.folder}-win64.zip".encode()])
        check = subprocess.run(["sha256sum", "--check", "--strict", "SHA256SUMS"], cwd=R.dist, capture_output=True,
                               text=True)
        self.assertEqual(check.returncode, 0, check.stdout + check.stderr)

    def test_each_zip_is_one_folder_with_fixed_entries_times_and_attributes(self):
        # Zip entries keep local time to two seconds; the packer writes the commit's time in UTC.
        when = list(time.gmtime(R.epoch)[:6])
        when[5] -= when[5] % 2
        for arch in R.builds:
            with self.subTest(arch=arch), zipfile.ZipFile(R.zip_path(arch)) as z:
                infos = z.infolist()
                pages = R.built_pages(arch)
                expected = (["", "Peerix.exe"] + (["Peerix.hlp"] if R.built_help(arch) else []) + ["README.txt"] +
                            (["help/"] + [f"help/{p}" for p in pages] if pages else []))
                self.assertEqual([i.filename for i in infos], [f"{R.folder}/{n}" for n in expected])
                for info in infos:
                    self.assertEqual(list(info.date_time), when, info.filename)
                    self.assertEqual(info.create_system, 0, info.filename)
                    self.assertEqual(info.external_attr, 0x10 if info.is_dir() else 0x20, info.filename)
                    self.assertEqual(info.extra, b"", info.filename)
                self.assertEqual(z.comment, b"")
            with self.subTest(arch=arch, reader="unzip"), tempfile.TemporaryDirectory() as tmp:
                # Another reader than the writer's own library must take every byte.
                unzip = subprocess.run(["unzip", "-q", R.zip_path(arch), "-d", tmp], capture_output=True, text=True)
                self.assertEqual(unzip.returncode, 0, unzip.stderr)
                self.assertEqual(sorted(os.listdir(os.path.join(tmp, R.folder))),
                                 sorted(n for n in expected[1:] if "/" not in n) + (["help"] if pages else []))
                if pages:
                    self.assertEqual(sorted(os.listdir(os.path.join(tmp, R.folder, "help"))), pages)
                with open(os.path.join(tmp, R.folder, "Peerix.exe"), "rb") as f:
                    self.assertEqual(f.read(), R.read(arch, "Peerix.exe"))

    def test_help_file_and_pages_ship_as_built(self):
        for arch in R.builds:
            with self.subTest(arch=arch):
                built = R.built_help(arch)
                with zipfile.ZipFile(R.zip_path(arch)) as z:
                    shipped = f"{R.folder}/Peerix.hlp" in z.namelist()
                self.assertEqual(shipped, built is not None)
                if built:
                    with open(built, "rb") as f:
                        self.assertEqual(R.read(arch, "Peerix.hlp"), f.read())
                # A page per topic and the index, with the main topic's page that F1 opens.
                pages = R.built_pages(arch)
                self.assertTrue({"index.html", "main.html"} <= set(pages), pages)
                for page in pages:
                    with open(f"{R.builds[arch][0]}/bin/help/{page}", "rb") as f:
                        self.assertEqual(R.read(arch, f"help/{page}"), f.read(), page)
                print(f"\n  {arch}: {len(pages)} pages in help/")


class Readme(unittest.TestCase):
    def test_user_part_for_notepad(self):
        texts = {arch: R.read(arch, "README.txt") for arch in R.builds}
        self.assertEqual(len(set(texts.values())), 1, "the two zips' README.txt differ")
        raw = next(iter(texts.values()))
        self.assertTrue(raw.startswith(b"\xef\xbb\xbf"), "no UTF-8 mark: older Notepads would read it as ANSI")
        text = raw[3:].decode("utf-8")
        self.assertTrue(text.endswith("\r\n"))
        self.assertEqual(text.count("\n"), text.count("\r\n"), "a line without CR shows joined in old Notepads")
        self.assertEqual(text.count("\r"), text.count("\r\n"))
        lines = text.split("\r\n")
        # Plain text: headings as lines of their own, no Markdown marks of any kind.
        for mark in ("`", "**", "](", "|", "<!--"):
            self.assertNotIn(mark, text)
        # A "#" may be text (a colour, #FA0AC8), never a heading's mark.
        self.assertEqual([l for l in lines if l.lstrip().startswith("#")], [])
        for heading in ("Download and run", "Using Peerix", "Help", "Known not to work"):
            at = lines.index(heading)
            self.assertEqual((lines[at - 1], lines[at + 1]), ("", ""), heading)
        for developers in ("Building", "Tests", "Benchmarks", "Layout", "The help: how it is made and how to edit it"):
            self.assertNotIn(developers, lines)
        self.assertNotIn("make test", text)
        self.assertIn("HKEY_CURRENT_USER\\Software\\Tarnwell\\Peerix", text)
        # The tables as lists, one entry per row.
        self.assertIn("- Alt+F4: quit", lines)


class Programs(unittest.TestCase):
    def test_headers_stripped_and_stamped_with_the_commit(self):
        for arch, (build, _) in R.builds.items():
            with self.subTest(arch=arch):
                data = R.read(arch, "Peerix.exe")
                h = pe_header(data)
                self.assertEqual((h["machine"], h["magic"]), MACHINES[arch])
                self.assertEqual(h["subsystem"], IMAGE_SUBSYSTEM_WINDOWS_GUI)
                self.assertEqual(h["stamp"], R.epoch)
                self.assertEqual(h["symbols"], 0)
                self.assertEqual(h["debug_size"], 0)
                self.assertFalse([s for s in h["sections"] if s.startswith(".debug")], h["sections"])
                self.assertIn(".rsrc", h["sections"])
                built = os.path.getsize(os.path.join(build, "bin", "Peerix.exe"))
                print(f"\n  {arch}: Peerix.exe {built} bytes as built, {len(data)} shipped")

    def test_imports_only_system_dlls(self):
        for arch in R.builds:
            with self.subTest(arch=arch), tempfile.TemporaryDirectory() as tmp:
                exe = os.path.join(tmp, "Peerix.exe")
                with open(exe, "wb") as f:
                    f.write(R.read(arch, "Peerix.exe"))
                dump = subprocess.run([R.tool(arch, "objdump"), "-p", exe], capture_output=True, text=True,
                                      check=True).stdout
                dlls = {d.lower() for d in re.findall(r"DLL Name: (\S+)", dump)}
                self.assertTrue({"kernel32.dll", "user32.dll", "gdi32.dll"} <= dlls, dlls)
                self.assertEqual(dlls - SYSTEM_DLLS, set())

    def test_version_block_and_about_box_follow_the_project_version(self):
        major, minor, patch = R.version.split(".")
        numbers = f"{major}, {minor}, {patch}, 0"
        for arch in R.builds:
            with self.subTest(arch=arch), tempfile.TemporaryDirectory() as tmp:
                exe = os.path.join(tmp, "Peerix.exe")
                with open(exe, "wb") as f:
                    f.write(R.read(arch, "Peerix.exe"))
                rc = subprocess.run([R.tool(arch, "windres"), "-i", exe, "-O", "rc"], capture_output=True,
                                    text=True, check=True).stdout
                self.assertRegex(rc, rf"\n FILEVERSION {numbers}\n PRODUCTVERSION {numbers}\n")
                for key in ("FileVersion", "ProductVersion"):
                    self.assertIn(f'VALUE "{key}", "{R.version}.0"', rc)
                self.assertIn(f'CONTROL "Peerix Version {major}.{minor}", 1017, "STATIC"', rc)


def main():
    global R
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--epoch", type=int, required=True)
    parser.add_argument("builds", nargs="+")
    args, rest = parser.parse_known_args()
    R = Release(args.dist, args.epoch, args.builds)
    result = unittest.main(argv=[sys.argv[0], "-v"] + rest, exit=False).result
    # A test with failing subtests counts once.
    failed = len({getattr(test, "test_case", test).id() for test, _ in result.failures + result.errors})
    print(f"release: {result.testsRun - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
