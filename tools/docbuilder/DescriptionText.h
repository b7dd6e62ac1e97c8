// The description's text: lines in a tree by indentation, words with
// quoted texts, and the checks of numbers, names, dates and options that
// every statement shares. A refusal is thrown as a Refusal; the reader
// turns it into a result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace docbuilder::text {

// One line of the description with the lines indented below it.
struct Node {
    int line = 0;
    std::vector<std::string> words;
    std::vector<bool> quoted;
    std::vector<Node> children;
};

struct Refusal {
    int line;
    std::string message;
};

[[noreturn]] void Refuse(int line, const std::string& message);

std::vector<Node> BuildTree(const std::string& text);

// Word i of the line read as a number within [low, high]: decimal, or
// hexadecimal after "0x".
int64_t Number(const Node& n, size_t i, int64_t low, int64_t high);
const std::string& Word(const Node& n, size_t i, const char* what);
// A name of 1 to maxLength characters.
std::string Name(const Node& n, size_t i, size_t maxLength);
// YYYY-MM-DD into day, month, year.
void ParseDate(const Node& n, const std::string& text, int16_t out[3]);
// The line's words from `from` on as hexadecimal byte pairs.
std::vector<uint8_t> Hex(const Node& n, size_t from);
// "A.B.C" into its parts.
std::vector<std::string> Dotted(const std::string& text);

// Options after the fixed words: "key value" pairs and lone flags. Every
// word must be consumed by the statement, so a misspelt option is refused.
class Options {
public:
    Options(const Node& n, size_t from);
    bool Flag(const char* name);
    std::optional<size_t> Key(const char* name);
    int64_t Num(const char* name, int64_t dflt, int64_t low, int64_t high);
    std::string Text(const char* name, const std::string& dflt, size_t maxLength);
    // The first quoted word not yet taken.
    std::optional<std::string> Quoted();
    void Done();

private:
    const Node& n_;
    std::vector<bool> used_;
};

}  // namespace docbuilder::text
