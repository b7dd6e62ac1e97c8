#include "tools/docbuilder/DescriptionText.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace docbuilder::text {
namespace {

// Splits a line into words; a double-quoted word keeps its spaces and
// takes \" \\ \n \r \t \xHH escapes.
void SplitWords(const std::string& text, int line, Node* node)
{
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\r') {
            ++i;
            continue;
        }
        if (text[i] == '#') break;
        std::string word;
        if (text[i] == '"') {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                char c = text[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\') {
                    if (i >= text.size()) break;
                    char e = text[i++];
                    if (e == 'n') word += '\n';
                    else if (e == 'r') word += '\r';
                    else if (e == 't') word += '\t';
                    else if (e == 'x') {
                        if (i + 2 > text.size() || !std::isxdigit(uint8_t(text[i])) || !std::isxdigit(uint8_t(text[i + 1])))
                            Refuse(line, "a \\x escape needs two hexadecimal digits");
                        word += char(std::strtol(text.substr(i, 2).c_str(), nullptr, 16));
                        i += 2;
                    } else word += e;
                } else word += c;
            }
            if (!closed) Refuse(line, "a quoted text is not closed");
            node->words.push_back(word);
            node->quoted.push_back(true);
            continue;
        }
        while (i < text.size() && text[i] != ' ' && text[i] != '\r') word += text[i++];
        node->words.push_back(word);
        node->quoted.push_back(false);
    }
}

}  // namespace

void Refuse(int line, const std::string& message) { throw Refusal{line, message}; }

std::vector<Node> BuildTree(const std::string& text)
{
    struct Open {
        size_t indent;
        Node* node;
    };
    std::vector<Node> roots;
    std::vector<Open> stack;
    size_t at = 0;
    int line = 0;
    while (at <= text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(at, end - at);
        at = end + 1;
        ++line;
        if (raw.find('\0') != std::string::npos) Refuse(line, "the line holds a zero byte");
        size_t indent = 0;
        while (indent < raw.size() && raw[indent] == ' ') ++indent;
        if (indent < raw.size() && raw[indent] == '\t') Refuse(line, "indent with spaces, not tabs");
        Node node;
        node.line = line;
        SplitWords(raw.substr(indent), line, &node);
        if (node.words.empty()) {
            if (end == text.size()) break;
            continue;
        }
        while (!stack.empty() && stack.back().indent >= indent) stack.pop_back();
        std::vector<Node>& into = stack.empty() ? roots : stack.back().node->children;
        into.push_back(std::move(node));
        stack.push_back({indent, &into.back()});
        if (end == text.size()) break;
    }
    return roots;
}

int64_t Number(const Node& n, size_t i, int64_t low, int64_t high)
{
    if (i >= n.words.size()) Refuse(n.line, "'" + n.words[0] + "' needs a number");
    const std::string& w = n.words[i];
    errno = 0;
    char* end = nullptr;
    // Decimal, or hexadecimal after "0x": a leading zero is no octal mark.
    const bool hex = w.size() > 2 && (w.compare(0, 2, "0x") == 0 || w.compare(0, 2, "0X") == 0);
    const long long v = std::strtoll(w.c_str(), &end, hex ? 16 : 10);
    if (w.empty() || *end != '\0' || errno) Refuse(n.line, "'" + w + "' is not a number");
    if (v < low || v > high)
        Refuse(n.line, w + " is outside " + std::to_string(low) + " to " + std::to_string(high));
    return v;
}

const std::string& Word(const Node& n, size_t i, const char* what)
{
    if (i >= n.words.size()) Refuse(n.line, "'" + n.words[0] + "' needs " + what);
    return n.words[i];
}

// Text of Mac Roman bytes: the description's bytes stand as they are, so
// a name must fit its record.
std::string Name(const Node& n, size_t i, size_t maxLength)
{
    const std::string& w = Word(n, i, "a name");
    if (w.empty()) Refuse(n.line, "a name may not be empty");
    if (w.size() > maxLength) Refuse(n.line, "'" + w + "' is longer than " + std::to_string(maxLength) + " characters");
    return w;
}

void ParseDate(const Node& n, const std::string& text, int16_t out[3])
{
    int y = 0, m = 0, d = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d%c", &y, &m, &d, &extra) != 3 || y < 1904 || y > 2040 || m < 1 ||
        m > 12 || d < 1 || d > 31)
        Refuse(n.line, "'" + text + "' is not a date (YYYY-MM-DD, 1904 to 2040)");
    out[0] = int16_t(d);
    out[1] = int16_t(m);
    out[2] = int16_t(y);
}

std::vector<uint8_t> Hex(const Node& n, size_t from)
{
    std::vector<uint8_t> bytes;
    for (size_t i = from; i < n.words.size(); ++i) {
        const std::string& w = n.words[i];
        if (w.size() % 2) Refuse(n.line, "hexadecimal bytes come in pairs: '" + w + "'");
        for (size_t k = 0; k < w.size(); k += 2) {
            auto digit = [&](char c) -> int {
                if (c >= '0' && c <= '9') return c - '0';
                if (c >= 'a' && c <= 'f') return c - 'a' + 10;
                if (c >= 'A' && c <= 'F') return c - 'A' + 10;
                Refuse(n.line, "'" + w + "' is not hexadecimal");
            };
            bytes.push_back(uint8_t(digit(w[k]) * 16 + digit(w[k + 1])));
        }
    }
    return bytes;
}

Options::Options(const Node& n, size_t from) : n_(n), used_(n.words.size(), false)
{
    for (size_t i = 0; i < from && i < used_.size(); ++i) used_[i] = true;
}

bool Options::Flag(const char* name)
{
    for (size_t i = 0; i < n_.words.size(); ++i)
        if (!used_[i] && !n_.quoted[i] && n_.words[i] == name) {
            used_[i] = true;
            return true;
        }
    return false;
}

std::optional<size_t> Options::Key(const char* name)
{
    for (size_t i = 0; i + 1 < n_.words.size(); ++i)
        if (!used_[i] && !n_.quoted[i] && n_.words[i] == name) {
            used_[i] = used_[i + 1] = true;
            return i + 1;
        }
    for (size_t i = 0; i < n_.words.size(); ++i)
        if (!used_[i] && !n_.quoted[i] && n_.words[i] == name) Refuse(n_.line, std::string("'") + name + "' needs a value");
    return std::nullopt;
}

int64_t Options::Num(const char* name, int64_t dflt, int64_t low, int64_t high)
{
    auto at = Key(name);
    return at ? Number(n_, *at, low, high) : dflt;
}

std::string Options::Text(const char* name, const std::string& dflt, size_t maxLength)
{
    auto at = Key(name);
    if (!at) return dflt;
    if (n_.words[*at].size() > maxLength)
        Refuse(n_.line, std::string("the ") + name + " is longer than " + std::to_string(maxLength) + " characters");
    return n_.words[*at];
}

void Options::Done()
{
    for (size_t i = 0; i < n_.words.size(); ++i)
        if (!used_[i]) Refuse(n_.line, "unknown option '" + n_.words[i] + "' of '" + n_.words[0] + "'");
}

std::optional<std::string> Options::Quoted()
{
    for (size_t i = 0; i < n_.words.size(); ++i)
        if (!used_[i] && n_.quoted[i]) {
            used_[i] = true;
            return n_.words[i];
        }
    return std::nullopt;
}

std::vector<std::string> Dotted(const std::string& text)
{
    std::vector<std::string> parts;
    size_t at = 0;
    while (true) {
        const size_t dot = text.find('.', at);
        parts.push_back(text.substr(at, dot == std::string::npos ? std::string::npos : dot - at));
        if (dot == std::string::npos) break;
        at = dot + 1;
    }
    return parts;
}

}  // namespace docbuilder::text
