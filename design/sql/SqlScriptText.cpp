#include "design/sql/SqlScriptText.h"

#include "platform/text/SingleByteSets.h"
#include "platform/text/Utf8.h"

namespace sql {
namespace {

using Kind = UnreadPart::Kind;

// The length of the UTF-8 sequence at `p` (at most `n` bytes), its
// character in *c; 0 when no character begins there.
size_t Utf8Sequence(const uint8_t* p, size_t n, uint32_t* c)
{
    const uint8_t b = p[0];
    if (b < 0x80) {
        *c = b;
        return 1;
    }
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;  // the second byte's range
    if (b >= 0xC2 && b <= 0xDF) length = 2;
    else if (b >= 0xE0 && b <= 0xEF) length = 3, low = b == 0xE0 ? 0xA0 : 0x80, high = b == 0xED ? 0x9F : 0xBF;
    else if (b >= 0xF0 && b <= 0xF4) length = 4, low = b == 0xF0 ? 0x90 : 0x80, high = b == 0xF4 ? 0x8F : 0xBF;
    if (length == 0 || n < length || p[1] < low || p[1] > high) return 0;
    uint32_t value = b & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if (i > 1 && (p[i] & 0xC0) != 0x80) return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    *c = value;
    return length;
}

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Reads the script character by character: keeps the line and where it
// began, and notes what could not be read.
class Reading {
public:
    explicit Reading(ScriptText& out) : out_(out) {}
    // The character `c` of `size` bytes at byte `at` of the file.
    void Character(uint32_t c, size_t at, size_t size, std::string& utf8)
    {
        if (c == 0) Unread(Kind::Nul, at, 0);
        else AppendUtf8(utf8, c);
        const bool lf = c == '\n', cr = c == '\r';
        if ((lf && !afterCr_) || cr) ++line_;
        if (lf || cr) lineStart_ = at + size;
        afterCr_ = cr;
    }
    void Unread(Kind kind, size_t at, uint32_t value)
    {
        out_.unread.push_back({kind, line_, int32_t(at - lineStart_ + 1), value});
        afterCr_ = false;
    }

private:
    ScriptText& out_;
    int32_t line_ = 1;
    size_t lineStart_ = 0;
    bool afterCr_ = false;
};

// A script of UTF-16 without its mark: the zero high bytes of its ASCII
// characters stand on one side of at least a quarter of the byte pairs,
// and on that side more than on the other.
ScriptEncoding ByZeroBytes(std::string_view bytes, ScriptEncoding otherwise)
{
    const size_t pairs = bytes.size() / 2;
    size_t evenZeros = 0, oddZeros = 0;
    for (size_t i = 0; i < pairs; ++i) {
        evenZeros += bytes[2 * i] == 0;
        oddZeros += bytes[2 * i + 1] == 0;
    }
    if (oddZeros * 4 >= pairs && oddZeros > evenZeros) return ScriptEncoding::Utf16LE;
    if (evenZeros * 4 >= pairs && evenZeros > oddZeros) return ScriptEncoding::Utf16BE;
    return otherwise;
}

// UTF-8 unless its bytes outside UTF-8 outnumber its sequences beyond
// ASCII: a script with a stray byte or two stays UTF-8.
bool MostlyUtf8(const uint8_t* p, size_t n)
{
    size_t sequences = 0, stray = 0;
    for (size_t at = 0; at < n;) {
        uint32_t c = 0;
        const size_t length = Utf8Sequence(p + at, n - at, &c);
        sequences += length > 1;
        stray += length == 0;
        at += length ? length : 1;
    }
    return stray <= sequences;
}

// The bytes Windows-1252 leaves undefined, which its texts never hold.
bool NotWindows1252(const uint8_t* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (p[i] == 0x81 || p[i] == 0x8D || p[i] == 0x8F || p[i] == 0x90 || p[i] == 0x9D) return true;
    return false;
}

void ReadUtf8(const uint8_t* p, size_t n, size_t from, Reading& reading, std::string& utf8)
{
    for (size_t at = from; at < n;) {
        uint32_t c = 0;
        size_t length = Utf8Sequence(p + at, n - at, &c);
        if (length == 0) {
            // A stray byte: an older tool's character among UTF-8 ones.
            reading.Unread(Kind::NotUtf8, at, p[at]);
            c = platform::Windows1252ToUnicode(p[at]);
            length = 1;
        }
        reading.Character(c, at, length, utf8);
        at += length;
    }
}

void ReadUtf16(const uint8_t* p, size_t n, size_t from, bool little, Reading& reading, std::string& utf8)
{
    auto unit = [&](size_t at) -> uint32_t {
        return little ? p[at] | (p[at + 1] << 8) : (p[at] << 8) | p[at + 1];
    };
    size_t at = from;
    for (; at + 1 < n;) {
        const uint32_t u = unit(at);
        if (u >= 0xD800 && u <= 0xDBFF && at + 3 < n && unit(at + 2) >= 0xDC00 && unit(at + 2) <= 0xDFFF) {
            reading.Character(0x10000 + ((u - 0xD800) << 10) + (unit(at + 2) - 0xDC00), at, 4, utf8);
            at += 4;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            reading.Unread(Kind::NotUtf16, at, u);
            at += 2;
        } else {
            reading.Character(u, at, 2, utf8);
            at += 2;
        }
    }
    if (at < n) reading.Unread(Kind::OddByte, at, p[at]);
}

}  // namespace

ScriptText ReadScriptText(std::string_view bytes, uint8_t unheld)
{
    ScriptText out;
    Reading reading(out);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t n = bytes.size();
    size_t from = 0;
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        out.encoding = ScriptEncoding::Utf8;
        from = 3;
    } else if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        out.encoding = ScriptEncoding::Utf16LE;
        from = 2;
    } else if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
        out.encoding = ScriptEncoding::Utf16BE;
        from = 2;
    } else {
        const ScriptEncoding single = NotWindows1252(p, n) ? ScriptEncoding::MacRoman : ScriptEncoding::Windows1252;
        out.encoding = ByZeroBytes(bytes, MostlyUtf8(p, n) ? ScriptEncoding::Utf8 : single);
    }

    if (out.encoding == ScriptEncoding::Windows1252 || out.encoding == ScriptEncoding::MacRoman) {
        std::string utf8;  // scratch: the line ends are all that is looked at
        out.text.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            reading.Character(p[i], i, 1, utf8);
            utf8.clear();
            if (p[i] == 0) continue;
            uint8_t roman = p[i];
            if (out.encoding == ScriptEncoding::Windows1252 &&
                !platform::UnicodeToMacRoman(platform::Windows1252ToUnicode(p[i]), &roman))
                roman = unheld;
            out.text += char(roman);
        }
        return out;
    }
    std::string utf8;
    utf8.reserve(n);
    if (out.encoding == ScriptEncoding::Utf8) ReadUtf8(p, n, from, reading, utf8);
    else ReadUtf16(p, n, from, out.encoding == ScriptEncoding::Utf16LE, reading, utf8);
    out.text = platform::Utf8ToMacRomanString(utf8, nullptr, unheld);
    return out;
}

}  // namespace sql
