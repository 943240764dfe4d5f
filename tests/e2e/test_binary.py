"""What updater.exe is made of: machine, size, imports, hardening flags and
resources. Needs no Wine: runs for both builds on every machine."""

import os
import re
import struct
import subprocess
import unittest

from harness import BIN_DIR, HERE, UPDATER

# The mingw-w64 target of the build under test, e.g. "x86_64-w64-mingw32".
TOOLCHAIN = os.environ.get("UPDATER_TOOLCHAIN", "i686-w64-mingw32")
IS_64 = TOOLCHAIN.startswith("x86_64")
MAX_SIZE = 64 * 1024
ICON = os.path.join(HERE, "..", "..", "res", "updater.ico")

SYSTEM_DLLS = {"advapi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
               "shell32.dll", "user32.dll"}


def objdump(*args, program=UPDATER):
    return subprocess.run([TOOLCHAIN + "-objdump"] + list(args) + [program],
                          capture_output=True, text=True, timeout=60,
                          check=True).stdout


def pe_layout(program):
    """The sections (name, address, size, characteristics) and the data
    directories (address, size) of a PE file."""
    with open(program, "rb") as f:
        data = f.read()
    (pe,) = struct.unpack_from("<I", data, 0x3C)
    count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    magic_64 = struct.unpack_from("<H", data, pe + 24)[0] == 0x20B
    first = pe + 24 + (112 if magic_64 else 96)
    directories = [struct.unpack_from("<II", data, first + 8 * i) for i in range(16)]
    sections = []
    for i in range(count):
        at = pe + 24 + optional_size + 40 * i
        name, size, address = struct.unpack_from("<8sII", data, at)
        (flags,) = struct.unpack_from("<I", data, at + 36)
        sections.append((name.rstrip(b"\0").decode(), address, size, flags))
    return sections, directories


class Binary(unittest.TestCase):
    def test_machine_and_size(self):
        self.assertIn("file format pei-x86-64" if IS_64 else "file format pei-i386",
                      objdump("-f"))
        self.assertLessEqual(os.path.getsize(UPDATER), MAX_SIZE)

    def test_imports_system_dlls_only(self):
        dlls = {d.lower() for d in re.findall(r"DLL Name: (\S+)", objdump("-p"))}
        self.assertTrue(dlls)
        self.assertLessEqual(dlls, SYSTEM_DLLS)

    def test_gui_executable_with_aslr_and_dep(self):
        headers = objdump("-p")
        self.assertRegex(headers, r"Subsystem\s+00000002")  # Windows GUI
        flags = int(re.search(r"DllCharacteristics\s+([0-9a-fA-F]+)", headers).group(1), 16)
        self.assertTrue(flags & 0x40, "dynamic base")
        self.assertTrue(flags & 0x100, "NX compatible")
        self.assertIn(".reloc", objdump("-h"))

    def test_no_section_both_writable_and_executable_imports_read_only(self):
        sections, directories = pe_layout(UPDATER)
        for name, _, _, flags in sections:
            self.assertFalse(flags & 0x20000000 and flags & 0x80000000, name)

        def holder(rva):
            return next(s for s in sections if s[1] <= rva < s[1] + s[2])
        for index in (1, 12):  # the import directory, the import address table
            rva, size = directories[index]
            self.assertTrue(size, index)
            name, _, _, flags = holder(rva)
            self.assertEqual((name, flags & 0xA0000000), (".rdata", 0), index)

    def test_manifest_asks_for_administrator_and_declares_os_support(self):
        with open(UPDATER, "rb") as f:
            data = f.read()
        self.assertIn(b'requestedExecutionLevel level="requireAdministrator"', data)
        # Windows 10/11 and Vista entries stop legacy file virtualisation.
        self.assertIn(b"8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a", data)
        self.assertIn(b"e2011457-1546-43c5-a5fe-008deee3d3f0", data)
        # One manifest serves both widths: it names no processor.
        self.assertNotIn(b"processorArchitecture", data)

    def test_version_info_and_japanese_string_table(self):
        with open(UPDATER, "rb") as f:
            data = f.read()
        self.assertIn("VS_VERSION_INFO".encode("utf-16-le"), data)
        # The first message as the string table stores it (UTF-16).
        self.assertIn("ファイルが見つかりません。".encode("utf-16-le"), data)

    def test_icon(self):
        with open(UPDATER, "rb") as f:
            data = f.read()
        with open(ICON, "rb") as f:
            icon = f.read()
        # Every image of the icon file, byte for byte.
        (count,) = struct.unpack_from("<H", icon, 4)
        self.assertTrue(count)
        for i in range(count):
            size, offset = struct.unpack_from("<II", icon, 6 + 16 * i + 8)
            self.assertIn(icon[offset:offset + size], data)


class CheckerBinary(unittest.TestCase):
    """updater-check.exe: a console program of its own, system DLLs only."""
    CHECKER = os.path.join(BIN_DIR, "updater-check.exe")

    def test_console_program_importing_system_dlls_only(self):
        headers = objdump("-p", program=self.CHECKER)
        self.assertRegex(headers, r"Subsystem\s+00000003")  # Windows CUI
        dlls = {d.lower() for d in re.findall(r"DLL Name: (\S+)", headers)}
        self.assertTrue(dlls)
        self.assertLessEqual(dlls, SYSTEM_DLLS)


if __name__ == "__main__":
    unittest.main()
