#!/usr/bin/env python3
"""Packs built Peerix programs into the archives a user downloads.

    package.py --epoch SECONDS --out DIR BUILD_DIR...

For each CMake build folder (build/win64, build/win32) it writes DIR/Peerix-<version>-<name>.zip
holding one folder Peerix-<version>/ with the stripped Peerix.exe, Peerix.hlp and the folder help/
of pages when the build made them, and README.txt (the user's part of README.md as plain text for
Notepad), then DIR/SHA256SUMS.

The same sources give the same bytes: every time stamp (the PE header's, each zip entry's) is
the given epoch, entries come in a fixed order with fixed attributes, and nothing of the build
folder's path or of the clock reaches the archive.
"""
import argparse
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import textwrap
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The user's part of the README ends where the build instructions begin.
BUILD_HEADING = "## Building"
# MS-DOS attributes, as Windows' own zip folders write them.
ATTR_DIRECTORY = 0x10
ATTR_ARCHIVE = 0x20
# The earliest time a zip entry can hold.
ZIP_EPOCH = 315532800  # 1980-01-01


def fail(message):
    print(f"package: {message}", file=sys.stderr)
    sys.exit(1)


def read_cache(build_dir):
    values = {}
    try:
        with open(os.path.join(build_dir, "CMakeCache.txt"), encoding="utf-8") as f:
            for line in f:
                name, sep, value = line.rstrip("\n").partition("=")
                if sep and not line.startswith(("#", "//")):
                    values[name.split(":")[0]] = value
    except OSError:
        fail(f"{build_dir} is not configured")
    return values


def plain_inline(text):
    """A line of Markdown as plain text: code and bold marks dropped, a link as its text (with its
    address when that is a web address a reader may want to type)."""
    def link(m):
        label, target = m.group(1), m.group(2)
        return f"{label} ({target})" if re.match(r"https?:", target) and target != label else label
    text = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", link, text)
    text = text.replace("**", "")
    return text.replace("`", "")


def plain_text(lines):
    """The user's part of the README as plain text: headings as lines of their own, tables as
    lists of "first cell: the others", code blocks indented, no Markdown marks left."""
    out = []
    in_code = False
    previous = ""
    for line in lines:
        header, previous = not previous.startswith("|"), line
        if line.startswith("```"):
            in_code = not in_code
            continue
        if in_code:
            out.append("    " + line)
            continue
        heading = re.match(r"#+ (.*)", line)
        if heading:
            out.append(plain_inline(heading.group(1)))
            continue
        if line.startswith("|"):
            cells = [plain_inline(c.strip()) for c in line.strip().strip("|").split("|")]
            # The header row and the rule below it say nothing a list needs.
            if header or all(re.fullmatch(r":?-+:?", c) for c in cells):
                continue
            out.extend(textwrap.wrap(f"{cells[0]}: {', '.join(cells[1:])}", 100, initial_indent="- ",
                                     subsequent_indent="  ", break_on_hyphens=False))
            continue
        out.append(plain_inline(line))
    return out


def readme_text(path):
    """The README up to the build instructions, without the developers' parts, as plain text with
    CRLF line ends and a UTF-8 mark, so that every Notepad shows its lines and its few non-ASCII
    signs (×, −) right."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    try:
        end = lines.index(BUILD_HEADING)
    except ValueError:
        fail(f'{path} has no "{BUILD_HEADING}" heading ending the user\'s part')
    while end > 0 and not lines[end - 1].strip():
        end -= 1
    user = []
    developers = False
    for line in lines[:end]:
        # The build commands at the top are for developers; a user of the zip has no use for them.
        if line.startswith("<!-- developers"):
            developers = line != "<!-- developers end -->"
            if not developers and user and not user[-1].strip():
                user.pop()
            continue
        if not developers:
            user.append(line)
    return ("\ufeff" + "\r\n".join(plain_text(user)) + "\r\n").encode("utf-8")


def stripped(strip_tool, exe, epoch):
    """Peerix.exe without symbols and debug sections; strip writes the PE header's time stamp
    from SOURCE_DATE_EPOCH (else from the clock)."""
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "Peerix.exe")
        env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch))
        subprocess.run([strip_tool, "--strip-all", "-o", out, exe], check=True, env=env)
        with open(out, "rb") as f:
            return f.read()


def entry(name, epoch, attributes):
    info = zipfile.ZipInfo(name, time.gmtime(max(epoch, ZIP_EPOCH))[:6])
    info.create_system = 0  # MS-DOS: the attributes below are what Windows reads
    info.external_attr = attributes
    return info


def write_zip(path, folder, files, epoch):
    """files: (name, data) in order; data None makes a folder entry."""
    partial = path + ".partial"
    with zipfile.ZipFile(partial, "w") as z:
        z.writestr(entry(folder + "/", epoch, ATTR_DIRECTORY), b"", zipfile.ZIP_STORED)
        for name, data in files:
            if data is None:
                z.writestr(entry(f"{folder}/{name}/", epoch, ATTR_DIRECTORY), b"", zipfile.ZIP_STORED)
            else:
                z.writestr(entry(f"{folder}/{name}", epoch, ATTR_ARCHIVE), data, zipfile.ZIP_DEFLATED, 9)
    os.replace(partial, path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--epoch", type=int, required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("builds", nargs="+")
    args = parser.parse_args()

    readme = readme_text(os.path.join(ROOT, "README.md"))
    packs = []
    for build in args.builds:
        cache = read_cache(build)
        version = cache.get("CMAKE_PROJECT_VERSION", "")
        if not version:
            fail(f"{build} has no project version")
        packs.append((build, cache, version))
    versions = {version for _, _, version in packs}
    if len(versions) != 1:
        fail(f"the builds disagree on the version: {sorted(versions)}")
    version = versions.pop()
    folder = f"Peerix-{version}"

    os.makedirs(args.out, exist_ok=True)
    for name in os.listdir(args.out):
        if name == "SHA256SUMS" or (name.startswith("Peerix-") and name.endswith(".zip")):
            os.remove(os.path.join(args.out, name))

    zips = []
    for build, cache, _ in packs:
        bin_dir = os.path.join(build, "bin")
        exe = os.path.join(bin_dir, "Peerix.exe")
        if not os.path.isfile(exe):
            fail(f"{exe} is not built")
        files = [("Peerix.exe", stripped(cache["CMAKE_STRIP"], exe, args.epoch))]
        for place in (bin_dir, build):
            help_file = os.path.join(place, "Peerix.hlp")
            if os.path.isfile(help_file):
                with open(help_file, "rb") as f:
                    files.append(("Peerix.hlp", f.read()))
                break
        files.append(("README.txt", readme))
        pages = os.path.join(bin_dir, "help")
        if os.path.isdir(pages):
            files.append(("help", None))
            for page in sorted(os.listdir(pages)):
                with open(os.path.join(pages, page), "rb") as f:
                    files.append((f"help/{page}", f.read()))
        name = f"{folder}-{os.path.basename(os.path.normpath(build))}.zip"
        write_zip(os.path.join(args.out, name), folder, files, args.epoch)
        zips.append(name)
        print(f"{name}: {os.path.getsize(os.path.join(args.out, name))} bytes; "
              + ", ".join(f"{n} {len(d)}" for n, d in files if d is not None))

    with open(os.path.join(args.out, "SHA256SUMS"), "w", newline="\n") as sums:
        for name in sorted(zips):
            with open(os.path.join(args.out, name), "rb") as f:
                sums.write(f"{hashlib.sha256(f.read()).hexdigest()}  {name}\n")


if __name__ == "__main__":
    main()
