"""The application manifest a Windows program carries: resource type
RT_MANIFEST (24), id 1, read from the resource section of a PE file."""
import struct
import xml.etree.ElementTree as ET
from pathlib import Path

RT_MANIFEST = 24
MANIFEST_ID = 1


def _u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def _u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def read_manifest(path):
    """The manifest's bytes, or None when the program has none."""
    data = Path(path).read_bytes()
    pe = _u32(data, 0x3C)
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        raise ValueError(f"{path} is not a PE file")
    sections = _u16(data, pe + 6)
    optional = pe + 24
    magic = _u16(data, optional)
    directories = optional + (96 if magic == 0x10B else 112)
    rsrc_rva, rsrc_size = struct.unpack_from("<II", data, directories + 2 * 8)
    if rsrc_rva == 0 or rsrc_size == 0:
        return None
    table = optional + _u16(data, pe + 20)

    def offset(rva):
        for i in range(sections):
            s = table + 40 * i
            vsize, va, raw_size, raw_ptr = struct.unpack_from("<IIII", data, s + 8)
            if va <= rva < va + max(vsize, raw_size):
                return raw_ptr + rva - va
        raise ValueError(f"{path}: address {rva:#x} in no section")

    root = offset(rsrc_rva)

    def entries(directory):
        named, ids = _u16(data, directory + 12), _u16(data, directory + 14)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, directory + 16 + 8 * i)
            yield name, target

    def child(directory, wanted):
        for name, target in entries(directory):
            if not name & 0x80000000 and name == wanted and target & 0x80000000:
                return root + (target & 0x7FFFFFFF)
        return None

    types = child(root, RT_MANIFEST)
    names = child(types, MANIFEST_ID) if types is not None else None
    if names is None:
        return None
    for _, target in entries(names):  # the first language
        entry = root + (target & 0x7FFFFFFF)
        data_rva, size = struct.unpack_from("<II", data, entry)
        start = offset(data_rva)
        return data[start:start + size]
    return None


ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
WS2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
WS2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"

WINDOWS_VERSIONS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10 and 11",
}


def settings(manifest):
    """What the manifest asks for, as plain values."""
    root = ET.fromstring(manifest)
    level = root.find(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                      f"{ASM_V3}requestedExecutionLevel")
    ws = f"{ASM_V3}application/{ASM_V3}windowsSettings/"
    aware = root.find(f"{ws}{WS2005}dpiAware")
    awareness = root.find(f"{ws}{WS2016}dpiAwareness")
    versions = [WINDOWS_VERSIONS.get(e.get("Id"), e.get("Id")) for e in
                root.findall(f"{COMPAT}compatibility/{COMPAT}application/{COMPAT}supportedOS")]
    identity = root.find(f"{ASM_V1}assemblyIdentity")
    return {
        "level": level.get("level") if level is not None else None,
        "dpiAware": aware.text.strip() if aware is not None else None,
        "dpiAwareness": [w.strip() for w in awareness.text.split(",")] if awareness is not None else None,
        "versions": versions,
        "name": identity.get("name") if identity is not None else None,
    }
