#include "tools/rescompile/SourceReader.h"

#include <cctype>

#include "platform/text/SingleByteSets.h"
#include "platform/text/Utf8.h"

namespace rescompile {

namespace {

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == '+';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseInteger(const std::string& word, int64_t* value)
{
    size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '-' || word[i] == '+')) negative = word[i++] == '-';
    int base = 10;
    if (word.size() > i + 2 && word[i] == '0' && (word[i + 1] == 'x' || word[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= word.size()) return false;
    int64_t v = 0;
    for (; i < word.size(); ++i) {
        int d = HexDigit(word[i]);
        if (d < 0 || d >= base) return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFLL) return false;
    }
    *value = negative ? -v : v;
    return true;
}

SourceReader::SourceReader(const std::string& text, std::string fileName) : fileName_(std::move(fileName))
{
    Tokenise(text);
}

void SourceReader::FailAtLine(int line, const std::string& message) const
{
    throw CompileError(fileName_ + ":" + std::to_string(line) + ": " + message);
}

void SourceReader::Fail(const Token& at, const std::string& message) const
{
    FailAtLine(at.line, at.kind == TokenKind::End ? message + " (at the end of the file)" : message);
}

void SourceReader::Tokenise(const std::string& text)
{
    int line = 1;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '#') {
            while (i < n && text[i] != '\n') ++i;
        } else if (c == '{' || c == '}') {
            tokens_.push_back({c == '{' ? TokenKind::Open : TokenKind::Close, std::string(1, c), line});
            ++i;
        } else if (c == '\'') {
            size_t end = text.find('\'', i + 1);
            if (end == std::string::npos || end - i - 1 != 4) FailAtLine(line, "a type is four characters in single quotes");
            tokens_.push_back({TokenKind::Type, text.substr(i + 1, 4), line});
            i = end + 1;
        } else if (c == '"' || (c == '$' && i + 1 < n && text[i + 1] == '"')) {
            bool hex = c == '$';
            i += hex ? 2 : 1;
            int startLine = line;
            std::string raw;
            while (true) {
                if (i >= n || text[i] == '\n') FailAtLine(startLine, "the string is not closed on its line");
                if (text[i] == '"') break;
                if (!hex && text[i] == '\\') {
                    if (i + 1 >= n) FailAtLine(line, "a lone backslash ends the string");
                    char e = text[i + 1];
                    if (e == 'x') {
                        int hi = i + 2 < n ? HexDigit(text[i + 2]) : -1;
                        int lo = i + 3 < n ? HexDigit(text[i + 3]) : -1;
                        if (hi < 0 || lo < 0) FailAtLine(line, "\\x takes two hex digits");
                        // Marked so that the byte is taken as Mac Roman, not as UTF-8.
                        raw += '\x01';
                        raw += char(hi * 16 + lo);
                        i += 4;
                        continue;
                    }
                    char out = e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
                    if (out != '\n' && out != '\r' && out != '\t' && out != '"' && out != '\\')
                        FailAtLine(line, std::string("unknown escape \\") + e);
                    raw += out;
                    i += 2;
                    continue;
                }
                if (static_cast<unsigned char>(text[i]) < 0x20 && text[i] != '\t')
                    FailAtLine(line, "write control characters as \\xHH");
                raw += text[i++];
            }
            ++i;
            if (hex) {
                std::string bytes;
                int pending = -1;
                for (char h : raw) {
                    if (std::isspace(static_cast<unsigned char>(h))) continue;
                    int d = HexDigit(h);
                    if (d < 0) FailAtLine(startLine, std::string("'") + h + "' is not a hex digit");
                    if (pending < 0) {
                        pending = d;
                    } else {
                        bytes += char(pending * 16 + d);
                        pending = -1;
                    }
                }
                if (pending >= 0) FailAtLine(startLine, "hex data has an odd number of digits");
                tokens_.push_back({TokenKind::Hex, bytes, startLine});
            } else {
                // UTF-8 source text to Mac Roman; \x escapes are taken as they are.
                std::string roman;
                for (size_t k = 0; k < raw.size();) {
                    if (raw[k] == '\x01' && k + 1 < raw.size()) {
                        roman += raw[k + 1];
                        k += 2;
                        continue;
                    }
                    size_t run = k;
                    while (run < raw.size() && raw[run] != '\x01') ++run;
                    std::u16string units(run - k, u'\0');
                    auto r = platform::Utf8ToUtf16(reinterpret_cast<const uint8_t*>(raw.data() + k), int32_t(run - k),
                                                   units.data(), int32_t(units.size()));
                    for (int32_t u = 0; u < r.produced; ++u) {
                        uint8_t b = 0;
                        if (units[u] == platform::kReplacementCharacter || !platform::UnicodeToMacRoman(units[u], &b))
                            FailAtLine(startLine, "the string holds a character Mac Roman lacks");
                        roman += char(b);
                    }
                    k = run;
                }
                tokens_.push_back({TokenKind::String, roman, startLine});
            }
        } else if (IsWordChar(c)) {
            size_t start = i;
            while (i < n && IsWordChar(text[i])) ++i;
            tokens_.push_back({TokenKind::Word, text.substr(start, i - start), line});
        } else {
            FailAtLine(line, std::string("unexpected character '") + c + "'");
        }
    }
    tokens_.push_back({TokenKind::End, "", line});
}

Token SourceReader::Next()
{
    Token t = tokens_[pos_];
    if (t.kind != TokenKind::End) ++pos_;
    return t;
}

bool SourceReader::Accept(const char* keyword)
{
    if (Peek().kind == TokenKind::Word && Peek().text == keyword) {
        ++pos_;
        return true;
    }
    return false;
}

void SourceReader::Expect(TokenKind kind, const char* what)
{
    if (Peek().kind != kind) Fail(std::string("expected ") + what);
    Next();
}

std::string SourceReader::Word(const char* what)
{
    if (Peek().kind != TokenKind::Word) Fail(std::string("expected ") + what);
    return Next().text;
}

int32_t SourceReader::Integer(int64_t min, int64_t max, const char* what)
{
    const Token& t = Peek();
    int64_t v = 0;
    if (t.kind != TokenKind::Word || !ParseInteger(t.text, &v)) Fail(std::string("expected a number for ") + what);
    if (v < min || v > max)
        Fail(std::string(what) + " must lie between " + std::to_string(min) + " and " + std::to_string(max));
    Next();
    return int32_t(v);
}

std::string SourceReader::String(size_t maxLength, const char* what)
{
    if (Peek().kind != TokenKind::String) Fail(std::string("expected a string for ") + what);
    if (Peek().text.size() > maxLength)
        Fail(std::string(what) + " is longer than " + std::to_string(maxLength) + " bytes");
    return Next().text;
}

std::string SourceReader::Char(const char* what)
{
    if (Peek().kind != TokenKind::String || Peek().text.size() != 1)
        Fail(std::string("expected one character in quotes for ") + what);
    return Next().text;
}

uint32_t SourceReader::Type(const char* what)
{
    if (Peek().kind != TokenKind::Type) Fail(std::string("expected ") + what);
    std::string t = Next().text;
    return (uint32_t(uint8_t(t[0])) << 24) | (uint32_t(uint8_t(t[1])) << 16) | (uint32_t(uint8_t(t[2])) << 8) |
           uint32_t(uint8_t(t[3]));
}

std::vector<uint8_t> SourceReader::Hex(const char* what)
{
    if (Peek().kind != TokenKind::Hex) Fail(std::string("expected hex data $\"...\" for ") + what);
    std::string b = Next().text;
    return std::vector<uint8_t>(b.begin(), b.end());
}

}  // namespace rescompile
