// Tokens of a resource source and the reader the type layouts pull them
// from. A bad source ends the compilation with a CompileError naming the
// file and the line.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace rescompile {

struct CompileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class TokenKind : uint8_t { Word, String, Type, Hex, Open, Close, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // a word as written; a string in Mac Roman; a type's four bytes; hex as bytes
    int line = 0;
};

class SourceReader {
public:
    // Splits the whole source into tokens; a lexical fault throws.
    SourceReader(const std::string& text, std::string fileName);

    const Token& Peek() const { return tokens_[pos_]; }
    Token Next();
    bool AtEnd() const { return Peek().kind == TokenKind::End; }

    // Consumes the word `keyword` when it comes next.
    bool Accept(const char* keyword);
    void Expect(TokenKind kind, const char* what);
    std::string Word(const char* what);

    int32_t Integer(int64_t min, int64_t max, const char* what);
    // A string of at most maxLength Mac Roman bytes.
    std::string String(size_t maxLength, const char* what);
    std::string Char(const char* what);
    uint32_t Type(const char* what);
    std::vector<uint8_t> Hex(const char* what);

    [[noreturn]] void Fail(const Token& at, const std::string& message) const;
    [[noreturn]] void Fail(const std::string& message) const { Fail(Peek(), message); }

private:
    void Tokenise(const std::string& text);
    [[noreturn]] void FailAtLine(int line, const std::string& message) const;

    std::string fileName_;
    std::vector<Token> tokens_;
    size_t pos_ = 0;
};

// The value of an integer word (decimal, -decimal, 0x hex); false when the
// word is not one.
bool ParseInteger(const std::string& word, int64_t* value);

}  // namespace rescompile
