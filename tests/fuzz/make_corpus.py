#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora under tests/fuzz/corpus/<target>/ and their
dictionaries under tests/fuzz/dict/<target>.dict: valid examples
of each input and the hostile cases the unit and tool tests already hold. Run it again
after changing it; it replaces only the files it writes (regression cases that a fuzz run
found are kept beside them, named regression-*). Images are made with oiiotool; the
registration resource is corpus/registration_fuzz/effect.pipl, the bytes the build embeds
in the module (its encoder's output)."""

import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode()
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def presets():
    write("preset_fuzz", "controls.json",
          '{ "controls": { "Mode": "Zoom", "Position": "240,135", "Threshold": 40,\n'
          '  "Repeat Edges": true, "Style/Amount": 90, "Aberration/Amount": -20,\n'
          '  "Quality": "Custom", "Samples": 300 } }\n')
    write("preset_fuzz", "keys.json",
          '{ "keys": [ { "control": "Position", "frame": 0, "value": "40,60" },\n'
          '  { "control": "Position", "frame": 24, "value": "1880,1020" },\n'
          '  { "control": "Direction", "frame": 3, "value": "In & Out" },\n'
          '  { "control": "Exposure", "frame": 12, "value": 2.5 } ] }\n')
    write("preset_fuzz", "saved.json",
          '{\n  "controls": {\n    "Blend Mode": "Add",\n    "View": "Rays Solo",\n'
          '    "Unmult": "off",\n    "Decay": 1.25\n  },\n  "keys": []\n}\n')
    write("preset_fuzz", "deep.json", '{"controls": ' + '{"a": ' * 40 + "1" + "}" * 41)
    write("preset_fuzz", "broken.json", '{\n  "controls": {\n    "Length": 300,\n  }\n}\n')
    write("preset_fuzz", "wraps.json",
          '{"keys": [{"control": "Exposure", "frame": 4294967297, "value": 2}]}')
    write("preset_fuzz", "unknown.json", '{"control": {"Length": 3}, "keys": {}}')
    write("preset_fuzz", "index.json", '{"controls": {"99999999999": 1, "8": "1e400"}}')


def param_values():
    write("param_value_fuzz", "every_kind.txt",
          "Mode=Spin\nPosition=960,540\nThreshold=40\nStyle/Amount=45\nRepeat Edges=off\n"
          "Quality=Custom\nSamples=1000\nBlend Mode=add\nView=3\n")
    write("param_value_fuzz", "keys.txt",
          "key Position@0=0,0\nkey Position@50=1920,1080\nkey Exposure@10=3\n"
          "key Direction@5=In & Out\nkey Unmult@2=on\nkey Quality@1=Draft\n")
    write("param_value_fuzz", "hostile.txt",
          "99999999999=1\nExposure=nan\nExposure=inf\nPosition=1e308,-1e308\nMode=0\n"
          "Mode=-1\nThreshold= \nkey Exposure@99999999999=1\nkey Exposure@2147483647=1\n"
          "=\nkey @=\n8=1e-320\n")


def frame_patterns():
    write("frame_pattern_fuzz", "hashes.txt", "1-100\nout_####.png\nframe_#.exr\n")
    write("frame_pattern_fuzz", "printf.txt", "0-9\nout_%04d.png\n%d\n%%d_%3d\n")
    write("frame_pattern_fuzz", "single.txt", "7\nstill.png\n")
    write("frame_pattern_fuzz", "hostile.txt",
          "0-" + "9" * 309 + "\nf_%99999999999d.png\nf_%33d.png\n" + "#" * 200 + "\n")
    write("frame_pattern_fuzz", "time_range.txt", "0-999999999\n%032d\n")


def images():
    with tempfile.TemporaryDirectory() as tmp:
        for ext, extra in (("png", []), ("tif", ["-d", "uint16"]), ("exr", ["-d", "half"]),
                           ("jpg", [])):
            path = os.path.join(tmp, "small." + ext)
            channels = "3" if ext == "jpg" else "4"
            subprocess.run(["oiiotool", "--pattern", "fill:topleft=1,0,0,1:topright=0,1,0,1:"
                            "bottomleft=0,0,1,1:bottomright=1,1,1,0.5", "8x6", channels]
                           + extra + ["-o", path], check=True)
            with open(path, "rb") as f:
                write("image_header_fuzz", "small." + ext, f.read())

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff))

    def declaring_png(width, height):
        header = struct.pack(">II", width, height) + b"\x08\x06\0\0\0"
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", b"\x78\x9c\x03\x00\x00\x00\x00\x01") + chunk(b"IEND", b""))

    write("image_header_fuzz", "declares_16384.png", declaring_png(16384, 16384))
    write("image_header_fuzz", "declares_40000x8.png", declaring_png(40000, 8))
    with open(os.path.join(CORPUS, "image_header_fuzz", "small.tif"), "rb") as f:
        tif = f.read()
    write("image_header_fuzz", "cut.tif", tif[:len(tif) // 2])


def registration():
    with open(os.path.join(CORPUS, "registration_fuzz", "effect.pipl"), "rb") as f:
        pipl = f.read()
    write("registration_fuzz", "truncated.pipl", pipl[:len(pipl) // 2])
    write("registration_fuzz", "huge_count.pipl", pipl[:6] + b"\xff\xff\xff\xff" + pipl[10:])
    # The first property's length says 4 GiB.
    write("registration_fuzz", "huge_length.pipl", pipl[:22] + b"\xff\xff\xff\xff" + pipl[26:])
    write("registration_fuzz", "trailing.pipl", pipl + b"\0\0\0\0")
    write("registration_fuzz", "version2.pipl", b"\x02" + pipl[1:])
    return pipl


def elf(sections):
    """A little-endian ELF64 relocatable file with the named sections and .shstrtab."""
    names = b"\0"
    offsets = []
    for name, _ in sections + [(".shstrtab", b"")]:
        offsets.append(len(names))
        names += name.encode() + b"\0"
    body = b""
    placed = []
    at = 64
    for (_, data) in sections:
        placed.append((at + len(body), len(data)))
        body += data + b"\0" * ((8 - len(data) % 8) % 8)
    placed.append((at + len(body), len(names)))
    body += names + b"\0" * ((8 - len(names) % 8) % 8)
    shoff = at + len(body)
    count = len(sections) + 2
    header = (b"\x7fELF\x02\x01\x01" + b"\0" * 9 +
              struct.pack("<HHIQQQIHHHHHH", 1, 62, 1, 0, 0, shoff, 0, 64, 0, 0, 64, count,
                          count - 1))
    table = b"\0" * 64
    for i, (offset, size) in enumerate(placed):
        kind = 3 if i == len(placed) - 1 else 1
        table += struct.pack("<IIQQQQIIQQ", offsets[i], kind, 0, 0, offset, size, 0, 0, 1, 0)
    return header + body + table


def pe(resources):
    """A PE32+ DLL with one .rsrc section holding (type, id, language, data) resources; a
    type is a name or an int."""
    types = {}
    for kind, rid, lang, data in resources:
        types.setdefault(kind, {}).setdefault(rid, []).append((lang, data))
    # Layout: directories, then data entries, then names, then data.
    dirs = []  # (entries) per directory, built breadth first

    def directory(entries):
        named = sum(1 for e in entries if isinstance(e[0], str))
        return struct.pack("<IIHHHH", 0, 0, 0, 0, named, len(entries) - named)

    root = sorted(types.items(), key=lambda t: (not isinstance(t[0], str), str(t[0])))
    size_dir = lambda n: 16 + 8 * n
    at = size_dir(len(root))
    type_dirs = []
    for kind, ids in root:
        type_dirs.append(at)
        at += size_dir(len(ids))
    id_dirs = []
    for kind, ids in root:
        for rid, langs in sorted(ids.items()):
            id_dirs.append(at)
            at += size_dir(len(langs))
    data_entries_at = at
    leaves = [(lang, data) for _, ids in root for _, langs in sorted(ids.items())
              for lang, data in langs]
    at += 16 * len(leaves)
    names_at = {}
    names = b""
    for kind, _ in root:
        if isinstance(kind, str):
            names_at[kind] = at + len(names)
            names += struct.pack("<H", len(kind)) + kind.encode("utf-16-le")
    at += len(names)
    at += (8 - at % 8) % 8
    data_at = at
    rva = 0x1000
    tree = directory(root)
    for (kind, _), d in zip(root, type_dirs):
        name = (names_at[kind] | 0x80000000) if isinstance(kind, str) else kind
        tree += struct.pack("<II", name, d | 0x80000000)
    k = 0
    for (kind, ids), d in zip(root, type_dirs):
        tree += directory(list(ids.items()))
        for rid, _ in sorted(ids.items()):
            tree += struct.pack("<II", rid, id_dirs[k] | 0x80000000)
            k += 1
    leaf = 0
    blobs = b""
    for (kind, ids) in root:
        for rid, langs in sorted(ids.items()):
            tree += directory(langs)
            for lang, _ in langs:
                tree += struct.pack("<II", lang, data_entries_at + 16 * leaf)
                leaf += 1
    for lang, data in leaves:
        tree += struct.pack("<IIII", rva + data_at + len(blobs), len(data), 0, 0)
        blobs += data + b"\0" * ((8 - len(data) % 8) % 8)
    tree += names
    tree += b"\0" * (data_at - len(tree))
    section = tree + blobs
    raw = 0x200
    dos = b"MZ" + b"\0" * 58 + struct.pack("<I", 64)
    coff = struct.pack("<HHIIIHH", 0x8664, 1, 0, 0, 0, 240, 0x2022)
    optional = struct.pack("<HBB", 0x20b, 14, 0) + b"\0" * 104
    optional = optional[:108] + struct.pack("<I", 16)
    dirs16 = [(0, 0)] * 16
    dirs16[2] = (rva, len(section))
    optional += b"".join(struct.pack("<II", *d) for d in dirs16)
    header = dos + b"PE\0\0" + coff + optional
    header += b".rsrc\0\0\0" + struct.pack("<IIIIIIHHI", len(section), rva, len(section), raw,
                                           0, 0, 0, 0, 0x40000040)
    header += b"\0" * (raw - len(header))
    return header + section


def modules(pipl):
    manifest = b'<?xml version="1.0"?><assembly manifestVersion="1.0"/>'
    write("module_resource_fuzz", "effect.elf", elf([(".text", b"\xc3"), (".pipl", pipl)]))
    write("module_resource_fuzz", "no_pipl.elf", elf([(".text", b"\xc3")]))
    bad = bytearray(elf([(".pipl", pipl)]))
    bad[0x3E:0x40] = struct.pack("<H", 9)  # the name table index beyond the section count
    write("module_resource_fuzz", "bad_strndx.elf", bytes(bad))
    write("module_resource_fuzz", "effect.dll",
          pe([("PIPL", 16000, 1033, pipl), (24, 2, 1033, manifest)]))
    write("module_resource_fuzz", "other_language.dll", pe([("PIPL", 16000, 1031, pipl)]))
    write("module_resource_fuzz", "no_resources.dll", pe([(24, 1, 1033, manifest)])[:0x200])


def frei0r():
    # One byte of index (parameter = byte % 23 - 1), then a NUL-ended string for the popups
    # (parameters 0, 3, 10, 12, 13, 18 and 20) or eight bytes of double.
    def index(i):
        return bytes([i + 1])

    def number(i, v):
        return index(i) + struct.pack("<d", v)

    def text(i, s):
        return index(i) + s.encode() + b"\0"

    write("frei0r_param_fuzz", "every_kind.bin",
          text(0, "Spin") + number(1, 0.25) + number(2, 0.75) + text(3, "chroma") +
          number(4, 0.4) + number(7, 0.125) + text(10, "in & out") + text(12, "Red-Green") +
          text(13, "custom") + number(16, 1.0) + text(18, "2") + number(19, 0.0) +
          text(20, "Rays Solo"))
    write("frei0r_param_fuzz", "hostile.bin",
          number(4, float("nan")) + number(4, float("inf")) + number(1, -1e308) +
          number(7, 1e300) + text(13, "(-") + text(13, "5") + text(0, "") + text(0, " 2 ") +
          number(21, 1.0) + bytes([0]) + struct.pack("<d", 1.0) + text(10, "\xff" * 64))


CONTROLS = ["Mode", "Position", "Threshold Mode", "Threshold", "Threshold Smooth", "Length",
            "Amount", "Style/Amount", "Aberration/Amount", "Exposure", "Decay", "Direction",
            "Channels", "Quality", "Samples", "Noise", "Repeat Edges", "Buffer Expansion",
            "Input Opacity", "Blend Mode", "Unmult", "View", "Left", "Top", "Right", "Bottom",
            "Debug/Left"]
ITEMS = ["Spin", "Zoom", "Luma", "Chroma", "Out", "In", "In & Out", "Red & Blue", "Red & Green",
         "Green & Blue", "Draft", "Moderate", "High", "Extreme", "(-", "Custom", "Screen", "Add",
         "Input (Processed)", "Rays Solo", "Final Composite"]
WORDS = ["on", "off", "true", "false", "yes", "no", "nan", "inf", "1e308", "-0", "0x1p-1074",
         "2147483647", "4294967296", ","]


def dictionary(target, about, tokens):
    def quoted(token):
        out = ""
        for byte in token.encode("latin-1"):
            c = chr(byte)
            if c in '"\\':
                out += "\\" + c
            elif 32 <= byte < 127:
                out += c
            else:
                out += "\\x%02X" % byte
        return '"' + out + '"'

    os.makedirs(os.path.join(HERE, "dict"), exist_ok=True)
    with open(os.path.join(HERE, "dict", target + ".dict"), "w") as f:
        f.write("# " + about + "\n" + "".join(quoted(t) + "\n" for t in tokens))


def dictionaries():
    dictionary("param_value_fuzz", "Control names, popup items and value words of --param and --key.",
               CONTROLS + ITEMS + WORDS + ["key ", "@", "=", "Position=", "@0=", "@24="])
    dictionary("preset_fuzz", "JSON structure, preset entries, the effect's control names and items.",
               ["{", "}", "[", "]", ":", '"controls"', '"keys"', '"control"', '"frame"', '"value"',
                "true", "false", "null", "\\u0000", "\\ud800", "1e400", "-1",
                "18446744073709551616"] + ['"%s"' % c for c in CONTROLS + ITEMS])
    dictionary("frame_pattern_fuzz", "Frame ranges and the frame-number patterns of file names.",
               ["-", "#", "####", "%d", "%04d", "%0", "d", "%%", "2147483647", "4294967296", "0-",
                "\n"])
    dictionary("frei0r_param_fuzz", "The filter's popup items as hosts spell them.",
               ITEMS + ["in-out", "INOUT", "red-blue", "final-composite", " "])
    dictionary("registration_fuzz", "Vendor and property keys as stored (reversed four-character codes).",
               ["MIB8", "dnik", "eman", "gtac", "ANMe", "4668", "RVPe", "RVSe", "REVe", "FNIe",
                "OLGe", "2LGe", "LFea", "TKFe"])
    dictionary("module_resource_fuzz", "ELF and PE markers, section and resource names.",
               ["\x7fELF\x02\x01", ".pipl", ".shstrtab", ".rsrc", "MZ", "PE\0\0", "\x0b\x02",
                "\x64\x86", "P\0I\0P\0L\0", "MIB8", "\x80\0\0\0"])
    dictionary("image_header_fuzz", "Image signatures and chunk names of PNG, TIFF, EXR and JPEG.",
               ["\x89PNG\r\n\x1a\n", "IHDR", "IDAT", "IEND", "tEXt", "II*\0", "MM\0*",
                "\x76\x2f\x31\x01", "channels", "compression", "dataWindow", "displayWindow",
                "lineOrder", "\xff\xd8", "\xff\xc0", "\xff\xda", "\xff\xd9"])


def main():
    dictionaries()
    presets()
    param_values()
    frame_patterns()
    images()
    modules(registration())
    frei0r()


if __name__ == "__main__":
    sys.exit(main())
