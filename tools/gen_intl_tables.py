#!/usr/bin/env python3
"""Generates the international tables of the toolbox:

  resources/app/intl.r
      the dialect-code resource 'XDLC' 128, the case tables 'uprn', 'upra',
      'lwrn', 'lwra' (id 0), the character classes 'uset' 0-3, the Western
      converter resources 'macu', 'umac', 'winu', 'uwin' (id 0) and the
      time words 'STR#' 149;
  resources/extensions/Language Support/*.ucvt
      one converter file per character-set family the program ships;
  platform/text/CompositionPairs.cpp
      the canonical compositions of two BMP characters into one.

Character mappings come from Python's codecs, which carry the published
vendor mappings; the Western family reuses the tables of
tools/gen_text_tables.py so that it agrees with the platform text service.
The Mac sets of the Chinese and Korean families are the national standards
they are built on (Big5, GB 2312 and KS X 1001 in their EUC forms): the
vendor's few additions to those sets (a handful of single bytes above 0x7F)
have no published mapping among the codecs, so those bytes stay unmapped.
Mac Arabic is the mapping the codecs publish for it.
Case and diacritics come from the Unicode character database. Run from the
repository root:

    python3 tools/gen_intl_tables.py            # rewrite the committed files
    python3 tools/gen_intl_tables.py --check    # fail when they differ
"""

import os
import re
import struct
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_text_tables  # noqa: E402

RESOURCE_OUTPUT = "resources/app/intl.r"
CONVERTER_FOLDER = "resources/extensions/Language Support"
DIALECT_SOURCE = "toolbox/foundation/intl/DialectList.cpp"
COMPOSITION_OUTPUT = "platform/text/CompositionPairs.cpp"

# MultiByteCode -> (file name, Mac codec, Windows codec). "roman" takes the
# platform's tables.
FAMILIES = {
    0: ("mac_roman.ucvt", "roman", "roman"),
    1: ("mac_japanese.ucvt", "shift_jis", "cp932"),
    2: ("mac_chintrad.ucvt", "big5", "cp950"),
    3: ("mac_chinsimp.ucvt", "gb2312", "cp936"),
    4: ("mac_korean.ucvt", "euc_kr", "cp949"),
    5: ("mac_arabic.ucvt", "mac_arabic", "cp1256"),
    7: ("mac_greek.ucvt", "mac_greek", "cp1253"),
    8: ("mac_cyrillic.ucvt", "mac_cyrillic", "cp1251"),
    9: ("mac_centeuro.ucvt", "mac_centeuro", "cp1250"),
    10: ("mac_croatian.ucvt", "mac_croatian", "cp1250"),
    11: ("mac_iceland.ucvt", "mac_iceland", "cp1252"),
    13: ("mac_romanian.ucvt", "mac_romanian", "cp1250"),
    16: ("mac_turkish.ucvt", "mac_turkish", "cp1254"),
}
DOUBLE_BYTE = {1, 2, 3, 4}

# Dialects of each MultiByteCode other than 0, and the Mac script of each code.
FAMILY_DIALECTS = {
    1: [0x411], 2: [0x404, 0xC04, 0x1004], 3: [0x804], 4: [0x412, 0x812],
    5: [0x401, 0x801, 0xC01, 0x1001, 0x1401, 0x1801, 0x1C01, 0x2001, 0x2401,
        0x2801, 0x2C01, 0x3001, 0x3401, 0x3801, 0x3C01, 0x4001, 0x429],
    6: [0x40D], 7: [0x408], 8: [0x402, 0x419, 0x422, 0x423, 0xC1A],
    9: [0x405, 0x40E, 0x415, 0x41B, 0x425, 0x426, 0x427, 0x81A],
    10: [0x41A, 0x424], 11: [0x40F, 0x438], 13: [0x418], 14: [0x41E],
    15: [0x42A], 16: [0x41F],
}
MAC_SCRIPT = {0: 0, 1: 1, 2: 2, 3: 25, 4: 3, 5: 4, 6: 5, 7: 6, 8: 7, 9: 29,
              10: 0, 11: 0, 13: 0, 14: 21, 15: 30, 16: 0}
# The first record of a script names the dialect that script stands for.
SCRIPT_REPRESENTATIVES = [0x409, 0x411, 0x404, 0x412, 0x401, 0x40D, 0x408,
                          0x419, 0x41E, 0x804, 0x405, 0x42A]

HEADER_SIZE = 44
TABLE_HEADER_SIZE = 12


# --- data -----------------------------------------------------------------

def dialects():
    """(code, kchr) of every record of the C++ dialect list, in its order."""
    pattern = re.compile(r'\{"DC_\w+", (0x[0-9A-Fa-f]+), "[^"]*", (-?\d+), \d\}')
    with open(DIALECT_SOURCE, encoding="utf-8") as f:
        rows = [(int(m.group(1), 16), int(m.group(2))) for m in pattern.finditer(f.read())]
    if len(rows) != 105:
        sys.exit(f"{DIALECT_SOURCE}: expected 105 dialects, found {len(rows)}")
    return rows


def family_of(code):
    for family, codes in FAMILY_DIALECTS.items():
        if code in codes:
            return family
    return 0


def decode_table(codec):
    """Byte -> Unicode for a single-byte set; an undefined byte in 80-9F
    becomes the C1 control of the same value, elsewhere U+FFFD."""
    if codec == "roman":
        raise ValueError
    table = []
    for b in range(256):
        try:
            table.append(ord(bytes([b]).decode(codec)))
        except UnicodeDecodeError:
            table.append(b if 0x80 <= b <= 0x9F else 0xFFFD)
    return table


def single_byte_table(codec, windows):
    if codec == "roman":
        return gen_text_tables.windows_1252() if windows else gen_text_tables.mac_roman()
    return decode_table(codec)


def be16(values):
    return b"".join(struct.pack(">H", v & 0xFFFF) for v in values)


def table_header(tag, width):
    return tag.encode("ascii") + struct.pack(">IhH", 0, width, 0)


# --- converter files --------------------------------------------------------

def single_byte_tables(codec, windows):
    to_uni = single_byte_table(codec, windows)
    from_uni = bytearray(65536)
    for byte in range(255, -1, -1):  # the lowest byte wins for a shared character
        if to_uni[byte] != 0xFFFD:
            from_uni[to_uni[byte]] = byte
    return (table_header("MTOU", 1) + be16(to_uni),
            table_header("UTOM", 1) + bytes(from_uni))


def double_byte_tables(codec):
    lead = bytearray(256)
    trail = bytearray(256)
    to_uni = [0] * 65536
    for b in range(256):
        try:
            to_uni[b] = ord(bytes([b]).decode(codec))
            continue
        except UnicodeDecodeError:
            pass
        for t in range(0x40, 0x100):
            try:
                text = bytes([b, t]).decode(codec)
            except UnicodeDecodeError:
                continue
            if len(text) == 1:
                lead[b] = 1
                trail[t] = 1
                to_uni[(b << 8) | t] = ord(text)
    from_uni = [0] * 65536
    for code in range(0x80, 0x10000):
        if 0xD800 <= code <= 0xDFFF:
            continue
        try:
            encoded = chr(code).encode(codec)
        except UnicodeEncodeError:
            continue
        if len(encoded) == 1:
            from_uni[code] = encoded[0]
        elif len(encoded) == 2 and lead[encoded[0]]:
            from_uni[code] = (encoded[0] << 8) | encoded[1]
    return (table_header("MTOU", 2) + bytes(lead) + bytes(trail) + be16(to_uni),
            table_header("UTOM", 2) + be16(from_uni))


def converter_file(code, mac_codec, win_codec):
    if code in DOUBLE_BYTE:
        mac_to_uni, uni_to_mac = double_byte_tables(mac_codec)
        win_to_uni, uni_to_win = double_byte_tables(win_codec)
    else:
        mac_to_uni, uni_to_mac = single_byte_tables(mac_codec, False)
        win_to_uni, uni_to_win = single_byte_tables(win_codec, True)
    offsets = []
    position = HEADER_SIZE
    for table in (mac_to_uni, uni_to_mac, win_to_uni, uni_to_win):
        offsets.append(position)
        position += len(table)
    header = b"UCVT" + struct.pack(">II4I", 1, code, *offsets) + bytes(16)
    assert len(header) == HEADER_SIZE
    return header + mac_to_uni + uni_to_mac + win_to_uni + uni_to_win


# --- resources ----------------------------------------------------------------

def xdlc():
    rows = dialects()
    order = {code: i for i, code in enumerate(SCRIPT_REPRESENTATIVES)}
    rows.sort(key=lambda row: order.get(row[0], len(order)))
    data = struct.pack(">h", len(rows))
    for code, kchr in rows:
        script = MAC_SCRIPT.get(family_of(code), -1)
        data += struct.pack(">ihhh", code, script, 0, kchr) + bytes(12)
    return data


def ranges_table(mapping, gap=8):
    """Case-table layout: count, then first, last and the replacements; the
    characters inside a range that do not change map to themselves."""
    codes = sorted(mapping)
    ranges = []
    for code in codes:
        if ranges and code - ranges[-1][1] <= gap:
            ranges[-1][1] = code
        else:
            ranges.append([code, code])
    data = struct.pack(">h", len(ranges))
    for first, last in ranges:
        data += struct.pack(">HH", first, last)
        data += be16(mapping.get(c, c) for c in range(first, last + 1))
    return data


def bmp_characters():
    for code in range(0x10000):
        if not 0xD800 <= code <= 0xDFFF:
            yield chr(code)


def case_mapping(convert, strip):
    mapping = {}
    for ch in bmp_characters():
        result = ch
        if strip:
            result = gen_text_tables.base_letter(result)
        converted = convert(result)
        if len(converted) == 1:
            result = converted
        if strip and len(result) == 1:
            result = gen_text_tables.base_letter(result)
        if result != ch and len(result) == 1:
            mapping[ord(ch)] = ord(result)
    return mapping


def character_class(test):
    """'uset' layout: a count, then first and last of each run of members."""
    runs = []
    for ch in bmp_characters():
        if test(ch):
            code = ord(ch)
            if runs and runs[-1][1] == code - 1:
                runs[-1][1] = code
            else:
                runs.append([code, code])
    return struct.pack(">h", len(runs)) + b"".join(struct.pack(">HH", a, b) for a, b in runs)


USETS = [
    ("letters", lambda ch: unicodedata.category(ch).startswith("L")),
    ("decimal digits", lambda ch: unicodedata.category(ch) == "Nd"),
    ("white space", lambda ch: ch.isspace()),
    ("punctuation", lambda ch: unicodedata.category(ch).startswith("P")),
]


def to_unicode_resource(table):
    return struct.pack(">h", 1) + be16(table)


def from_unicode_resource(table):
    mapping = {}
    for byte in range(255, 0x7F, -1):
        if table[byte] >= 0x80 and table[byte] != 0xFFFD:
            mapping[table[byte]] = byte
    codes = sorted(mapping)
    ranges = []
    for code in codes:
        if ranges and code - ranges[-1][1] <= 4:
            ranges[-1][1] = code
        else:
            ranges.append([code, code])
    data = struct.pack(">hh", 1, len(ranges))
    for first, last in ranges:
        data += struct.pack(">HH", first, last)
        data += b"".join(bytes([mapping.get(c, 0), 0]) for c in range(first, last + 1))
    return data


def hex_body(data):
    lines = []
    for i in range(0, len(data), 32):
        lines.append('    $"' + data[i:i + 32].hex().upper() + '"')
    return "\n".join(lines) if lines else '    $""'


def resource(comment, rtype, rid, data, name=None):
    label = f' "{name}"' if name else ""
    return f"# {comment}\n'{rtype}' {rid}{label} {{\n{hex_body(data)}\n}}\n"


def resource_source():
    mac = gen_text_tables.mac_roman()
    win = gen_text_tables.windows_1252()
    parts = [
        "# International tables. Generated by tools/gen_intl_tables.py from the\n"
        "# published character mappings and the Unicode character database; do not\n"
        "# edit: run `python3 tools/gen_intl_tables.py` from the repository root.\n",
        "# Time words of the kernel's time text (strtime): hour, minute, second,\n"
        "# their plurals, the time separator, the morning and afternoon suffixes.\n"
        "'STR#' 149 \"Time words\" {\n"
        '    "hour"\n    "minute"\n    "second"\n    "hours"\n    "minutes"\n'
        '    "seconds"\n    ":"\n    " AM"\n    " PM"\n}\n',
        resource("Dialect codes with their Mac script and keyboard: VIntlMgr script look-ups",
                 "XDLC", 128, xdlc()),
        resource("Upper case: VIntlMgr::ToUpperCase", "uprn", 0, ranges_table(case_mapping(str.upper, False))),
        resource("Upper case without diacritics: VIntlMgr::ToUpperCase with the accent flag",
                 "upra", 0, ranges_table(case_mapping(str.upper, True))),
        resource("Lower case: VIntlMgr::ToLowerCase", "lwrn", 0, ranges_table(case_mapping(str.lower, False))),
        resource("Lower case without diacritics: VIntlMgr::ToLowerCase with the accent flag",
                 "lwra", 0, ranges_table(case_mapping(str.lower, True))),
    ]
    for rid, (what, test) in enumerate(USETS):
        parts.append(resource(f"Character class {rid}, {what}: kept by every VIntlMgr", "uset", rid,
                              character_class(test)))
    parts += [
        resource("Western converter tables without a converter file: VIntlConverterData",
                 "macu", 0, to_unicode_resource(mac)),
        resource("Western converter tables without a converter file: VIntlConverterData",
                 "umac", 0, from_unicode_resource(mac)),
        resource("Western converter tables without a converter file: VIntlConverterData",
                 "winu", 0, to_unicode_resource(win)),
        resource("Western converter tables without a converter file: VIntlConverterData",
                 "uwin", 0, from_unicode_resource(win)),
    ]
    return "\n".join(parts).encode("utf-8")


def composition_source():
    pairs = []
    for ch in bmp_characters():
        fields = unicodedata.decomposition(ch).split()
        if len(fields) != 2 or fields[0].startswith("<"):
            continue
        first, second = (int(f, 16) for f in fields)
        if first > 0xFFFF or second > 0xFFFF:
            continue
        if unicodedata.normalize("NFC", chr(first) + chr(second)) == ch:
            pairs.append((first, second, ord(ch)))
    pairs.sort()
    rows = "\n".join(f"    {{0x{a:04X}, 0x{b:04X}, 0x{c:04X}}}," for a, b, c in pairs)
    return ("// Generated by tools/gen_intl_tables.py from the Unicode character database.\n"
            "// Do not edit: run `python3 tools/gen_intl_tables.py` from the repository root.\n"
            "#include \"platform/text/CompositionPairs.h\"\n\n"
            f"const CompositionPair kCompositionPairs[kCompositionPairCount] = {{\n{rows}\n}};\n"
            f"static_assert(kCompositionPairCount == {len(pairs)});\n").encode("utf-8")


def outputs():
    files = {RESOURCE_OUTPUT: resource_source(), COMPOSITION_OUTPUT: composition_source()}
    for code, (name, mac_codec, win_codec) in FAMILIES.items():
        files[os.path.join(CONVERTER_FOLDER, name)] = converter_file(code, mac_codec, win_codec)
    return files


def main(argv):
    files = outputs()
    if len(argv) == 2 and argv[1] == "--check":
        stale = []
        for path, data in files.items():
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(path)
            except OSError:
                stale.append(path)
        if stale:
            sys.exit("differ from the generator's output: " + ", ".join(stale) +
                     "; run python3 tools/gen_intl_tables.py")
        return
    if len(argv) > 1:
        sys.exit(__doc__)
    for path in files:
        os.makedirs(os.path.dirname(path), exist_ok=True)
    for path, data in files.items():
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv)
