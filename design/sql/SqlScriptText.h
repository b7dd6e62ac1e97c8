// The bytes of an SQL script as the Mac Roman text the scanner reads. The
// encoding is found for each script: UTF-8 (with or without its byte-order
// mark), UTF-16 little- or big-endian (by its mark, or by the zero bytes of
// its ASCII characters), else a single-byte text: Windows-1252 (Latin-1
// included), or Mac Roman when it holds a byte Windows-1252 does not define.
// Whatever cannot be read is named by its line and byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sql {

enum class ScriptEncoding : uint8_t { Utf8, Utf16LE, Utf16BE, Windows1252, MacRoman };

// A part of the script that could not be read as its encoding.
struct UnreadPart {
    enum class Kind : uint8_t {
        NotUtf8,   // a byte outside any UTF-8 sequence, read as Windows-1252
        NotUtf16,  // a surrogate without its pair, left out
        OddByte,   // the last byte of a UTF-16 script, without its pair, left out
        Nul,       // a NUL character, left out
    };
    Kind kind;
    int32_t line;   // from 1, lines ended by LF, CR or CR LF
    int32_t byte;   // the byte's place in its line, from 1
    uint32_t value; // the byte, or the UTF-16 unit
    bool operator==(const UnreadPart&) const = default;
};

struct ScriptText {
    // Mac Roman, lines ended as they were; a character Mac Roman lacks is
    // the byte `unheld` given.
    std::string text;
    ScriptEncoding encoding = ScriptEncoding::Utf8;
    std::vector<UnreadPart> unread;
};

ScriptText ReadScriptText(std::string_view bytes, uint8_t unheld);

}  // namespace sql
