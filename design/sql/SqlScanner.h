// The scanner of SQL schema scripts: keywords (all capitals or all small
// letters), names, whole and decimal numbers, quoted strings, comparison
// operators and single punctuation characters, read from the script's Mac
// Roman text in blocks of 1,024 bytes, a line ending with LF, CR or CR LF.
// Names are made of letters (those of Mac Roman, accented ones too),
// digits and "_"; they begin with a letter.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace sql {

enum class Tok : uint8_t {
    End,         // the end of the input
    Name,
    IntNum,      // a whole number
    ApproxNum,   // a number with a decimal point or an exponent
    String,      // between single quotes, the doubled quotes kept
    Comparison,  // =, <>, <, >, <=, >=
    Punct,       // one of - + * / : ( ) , . ;
    // Keywords.
    ADA, ALL, AND, AMMSC /* AVG MIN MAX SUM COUNT */, ANY, AS, ASC, AUTHORIZATION, BETWEEN, BIGINT, BINARY, BIT, BY,
    C, CHAR, CHECK, CLOSE, COBOL, COMMIT, CONTINUE, CREATE, CURRENT, CURSOR, DATE, DEC, DECLARE, DEFAULT, DELETE,
    DESC, DISTINCT, DOUBLE, DROP, ESCAPE, EXISTS, FETCH, FLOAT, FOR, FOREIGN, FORTRAN, FOUND, FROM, GOTO, GRANT,
    GROUP, HAVING, IN, INDEX, INDICATOR, INSERT, INT, INTO, IS, KEY, LANGUAGE, LIKE, LONG, MODULE, NATIONAL, NCHAR,
    NOT, NULLX, NUMERIC, OF, ON, OPEN, OPTION, OR, ORDER, PASCAL, PLI, PRECISION, PRIMARY, PRIVILEGES, PROCEDURE,
    PUBLIC, REAL, REFERENCES, ROLLBACK, SCHEMA, SELECT, SET, SMALLINT, SOME, SQLCODE, TABLE, TIME, TIMESTAMP, TINYINT,
    TO, UNION, UNIQUE, UPDATE, USER, VALUES, VARBINARY, VARCHAR, VARYING, VIEW, WHENEVER, WHERE, WITH, WORK, ZONE,
};

// How the script's text holds a character Mac Roman lacks (a control
// character no script holds). It counts as a letter, so that a name
// holding such characters stays whole and can be refused.
constexpr char kUnheldCharacter = '\x1A';

// The longest token the scanner's buffer holds.
constexpr size_t kMaxTokenBytes = 1024;
constexpr size_t kBlockBytes = 1024;

// The keyword of a word written all in capitals or all in small letters
// ("CHARACTER", "DECIMAL" and "INTEGER" are twins of "CHAR", "DEC", "INT");
// Tok::Name otherwise.
Tok KeywordOf(const std::string& word);

class Scanner {
public:
    // `read` fills up to `size` bytes and answers how many (0 at the end,
    // below 0 when reading fails); `message` takes the scanner's messages.
    using Reader = std::function<int32_t(char* buffer, int32_t size)>;
    Scanner(Reader read, std::function<void(const std::string&)> message);

    // Told of each character left out that no token holds (other than
    // blanks and the quotes of names): (line, the name as written, the
    // name as read), or (line, the character, "") for one outside names.
    using LeftOut = std::function<void(int32_t line, const std::string& written, const std::string& read)>;
    void OnLeftOut(LeftOut leftOut) { leftOut_ = std::move(leftOut); }

    // The next token; its text in Text(). After a token that does not fit
    // in the buffer, or a failed read, only the end follows.
    Tok Next();
    const std::string& Text() const { return text_; }
    // Exchanges the token's text with `other` (whose text the next token
    // overwrites): no copy.
    void SwapText(std::string& other) { text_.swap(other); }
    int32_t Line() const { return line_; }

private:
    bool StartsName();
    int Peek(size_t ahead = 0);
    int Get();
    bool Fill();
    void Stop(const char* message);

    Reader read_;
    std::function<void(const std::string&)> message_;
    LeftOut leftOut_;
    std::string block_;
    size_t at_ = 0;
    bool ended_ = false;
    std::string text_;
    int32_t line_ = 1;
};

}  // namespace sql
