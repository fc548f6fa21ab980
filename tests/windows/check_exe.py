#!/usr/bin/python3
"""Inspect a built Verondel.exe without running it.

Usage: /usr/bin/python3 tests/windows/check_exe.py path/to/Verondel.exe VERSION VERSION_TEXT
(the build passes the project's version: "1.0.0" and "1.00")

Checks that the exe is a self-contained 32-bit GUI program that imports only
DLLs Windows loads from its own folder (no MinGW runtime DLL, nothing that
could be planted on the drive), and that its icon, version record and
manifest made it into the file intact.  Prints a line per check, then "N passed, M failed".
"""

import struct
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

import pefile

MAX_SIZE = 400 * 1024
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24

# The DLLs the exe imports, exactly: a new import is a decision, made here.
# advapi32 seeds the stack canaries (-fstack-protector-strong).
EXPECTED_IMPORTS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll", "advapi32.dll"}

# Windows loads a KnownDLL from its system folder whatever the search order;
# any other DLL the exe imports could be planted beside it on the drive and
# load instead. These are the KnownDLLs of every Windows from 7 to 11.
# comctl32 is none, but the manifest's Common Controls dependency loads it
# from the side-by-side store.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll",
    "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "wldap32.dll",
    "ws2_32.dll",
}
LOADED_THROUGH_MANIFEST = {"comctl32.dll"}

SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10/11",
}

results = []


def check(name, ok, detail=""):
    results.append(bool(ok))
    print(f"{'ok  ' if ok else 'FAIL'} {name}" + (f": {detail}" if detail else ""))


def resource(pe, type_id, res_id):
    """Bytes of resource type_id/res_id (first language), or None."""
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return None
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if rtype.id != type_id:
            continue
        for entry in rtype.directory.entries:
            if entry.id == res_id:
                data = entry.directory.entries[0].data.struct
                return pe.get_data(data.OffsetToData, data.Size)
    return None


def check_headers(pe, path):
    check("PE32 for i386", pe.FILE_HEADER.Machine == 0x14C and pe.OPTIONAL_HEADER.Magic == 0x10B,
          f"machine {pe.FILE_HEADER.Machine:#x}, magic {pe.OPTIONAL_HEADER.Magic:#x}")
    check("GUI subsystem", pe.OPTIONAL_HEADER.Subsystem == 2, f"subsystem {pe.OPTIONAL_HEADER.Subsystem}")
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    check("DYNAMIC_BASE and NX_COMPAT set", flags & 0x40 and flags & 0x100, f"{flags:#06x}")
    # Terminal-server aware: on Remote Desktop hosts Windows then gives the
    # real Windows folder, where Explorer is started from.
    check("TERMINAL_SERVER_AWARE set", flags & 0x8000, f"{flags:#06x}")
    check("large address aware", pe.FILE_HEADER.Characteristics & 0x20, f"{pe.FILE_HEADER.Characteristics:#06x}")
    # Run from the page file, not the stick: a pulled stick cannot take code not yet loaded with it.
    check("REMOVABLE_RUN_FROM_SWAP set", pe.FILE_HEADER.Characteristics & 0x400, f"{pe.FILE_HEADER.Characteristics:#06x}")
    # ASLR needs relocations: without them Windows loads at the fixed base anyway.
    relocs = pe.OPTIONAL_HEADER.DATA_DIRECTORY[5].Size
    check("base relocations kept", relocs > 0 and not pe.FILE_HEADER.Characteristics & 1, f"{relocs} bytes")
    size = path.stat().st_size
    check(f"file under {MAX_SIZE // 1024} KB", size < MAX_SIZE, f"{size // 1024} KB")
    # Delay-loaded DLLs are looked up by the same search as imported ones.
    dlls = sorted({entry.dll.decode().lower() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])
                   + getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])})
    check(f"imports exactly {', '.join(sorted(EXPECTED_IMPORTS))}", set(dlls) == EXPECTED_IMPORTS, ", ".join(dlls))
    plantable = [d for d in dlls if d not in KNOWN_DLLS | LOADED_THROUGH_MANIFEST]
    check("every import loads from Windows only (KnownDLLs, comctl32 through the manifest)", not plantable,
          f"could be planted: {', '.join(plantable)}" if plantable else "")


def check_icon(pe):
    group = resource(pe, RT_GROUP_ICON, 1)
    check("icon group 1 present", group is not None)
    if group is None:
        return
    found, problems = set(), []
    count = struct.unpack_from("<HHH", group)[2]
    for i in range(count):
        w, h, _, _, _, bpp, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        image = resource(pe, RT_ICON, icon_id) or b""
        if image[:4] == b"\x89PNG" or len(image) < 40:
            problems.append(f"image {icon_id} is not a BMP")
            continue
        # The bitmap itself is what Windows draws, so trust it over the group entry.
        _, bw, bh, _, bbpp = struct.unpack_from("<IiiHH", image)
        if (bw, bh, bbpp) != (w or 256, 2 * (h or 256), bpp):
            problems.append(f"image {icon_id} is {bw}x{bh // 2} {bbpp} bpp, group says {w}x{h} {bpp} bpp")
        found.add((bw, bh // 2, bbpp))
    check("icon images are BMPs matching the group", not problems, "; ".join(problems))
    for size, bpp in [(16, 4), (16, 8), (16, 32), (32, 32), (48, 32)]:
        check(f"icon has {size}x{size} at {bpp} bpp", (size, size, bpp) in found)


def check_version(pe, version, version_text):
    major, minor, patch = (int(part) for part in version.split("."))
    ms, ls = major << 16 | minor, patch << 16
    fixed = getattr(pe, "VS_FIXEDFILEINFO", [None])[0]
    check(f"fixed version {version}.0, NT Win32 app", fixed is not None
          and (fixed.FileVersionMS, fixed.FileVersionLS) == (ms, ls)
          and (fixed.ProductVersionMS, fixed.ProductVersionLS) == (ms, ls)
          and fixed.FileOS == 0x40004 and fixed.FileType == 1)
    tables, translations = {}, []
    for info in (getattr(pe, "FileInfo", None) or [[]])[0]:
        for table in getattr(info, "StringTable", []):
            tables[table.LangID.decode().upper()] = {
                k.decode(): v.decode("utf-8", "replace") for k, v in table.entries.items()}
        for var in getattr(info, "Var", []):
            translations.append(var.entry.get(b"Translation", ""))
    strings = tables.get("080404B0")
    check('string table "080404B0"', strings is not None, f"found {sorted(tables)}")
    strings = strings or {}
    for key in ("FileVersion", "ProductVersion"):
        check(f'{key} is "{version_text}"', strings.get(key) == version_text, repr(strings.get(key)))
    for key in ("ProductName", "FileDescription"):
        check(f"{key} not empty", strings.get(key, "").strip(), repr(strings.get(key)))
    # Explorer looks the strings up through this pair; a mismatch hides them all.
    check("Translation is 0804/1200", "0x0804 0x04b0" in translations, repr(translations))


def check_manifest(pe, version):
    data = resource(pe, RT_MANIFEST, 1)
    check("manifest resource 24/1 present", data is not None)
    if data is None:
        return
    try:
        root = ET.fromstring(data)
    except ET.ParseError as error:
        check("manifest is well-formed XML", False, str(error))
        return
    check("manifest is well-formed XML", True)

    def named(local):  # elements by name, whatever their namespace
        return [e for e in root.iter() if e.tag.rsplit("}", 1)[-1] == local]

    own = [e for e in named("assemblyIdentity") if e.get("name") == "Verondel"]
    check("own identity is x86", own and own[0].get("processorArchitecture") == "x86")
    check(f"own identity is version {version}.0", own and own[0].get("version") == f"{version}.0")
    check("depends on Common Controls 6.0.0.0", any(
        e.get("name") == "Microsoft.Windows.Common-Controls" and e.get("version") == "6.0.0.0"
        for e in named("assemblyIdentity")))
    check("runs asInvoker", [e.get("level") for e in named("requestedExecutionLevel")] == ["asInvoker"])
    awareness = [e.text.split(",")[0].strip() for e in named("dpiAwareness") if e.text]
    check("dpiAwareness prefers PerMonitorV2", awareness == ["PerMonitorV2"], repr(awareness))
    ids = {e.get("Id", "").lower() for e in named("supportedOS")}
    missing = [name for guid, name in SUPPORTED_OS.items() if guid not in ids]
    check("supportedOS for Windows 7 to 11", not missing, f"missing {', '.join(missing)}" if missing else "")
    # activeCodePage would switch the process to UTF-8 instead of the system ANSI code page.
    check("no activeCodePage", not named("activeCodePage"))


def main():
    if len(sys.argv) != 4:
        sys.exit(f"usage: {sys.argv[0]} path/to/Verondel.exe VERSION VERSION_TEXT")
    path, version, version_text = Path(sys.argv[1]), sys.argv[2], sys.argv[3]
    try:
        pe = pefile.PE(str(path))
    except (OSError, pefile.PEFormatError) as error:
        check("readable PE file", False, str(error))
    else:
        check_headers(pe, path)
        check_icon(pe)
        check_version(pe, version, version_text)
        check_manifest(pe, version)
    failed = results.count(False)
    print(f"{len(results) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
