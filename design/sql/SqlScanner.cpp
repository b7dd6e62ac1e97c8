#include "design/sql/SqlScanner.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "platform/text/SingleByteSets.h"

namespace sql {
namespace {

// Mac Roman's letters: those of ASCII, the accented ones and the other
// letters Unicode calls so (ß, æ, Œ, ƒ, µ, π, Ω, the ligatures).
bool IsRomanLetter(uint8_t c)
{
    static const std::array<bool, 256> kLetters = [] {
        std::array<bool, 256> letters{};
        for (int b = 0; b < 256; ++b) {
            const char16_t u = platform::MacRomanToUnicode(uint8_t(b));
            letters[size_t(b)] = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == 0xAA || u == 0xB5 ||
                                 u == 0xBA || (u >= 0xC0 && u <= 0x24F && u != 0xD7 && u != 0xF7) ||
                                 (u >= 0x370 && u <= 0x3FF) || u == 0x2126 || u == 0xFB01 || u == 0xFB02;
        }
        return letters;
    }();
    return kLetters[c];
}

bool IsLetter(int c) { return IsRomanLetter(uint8_t(c)) || c == kUnheldCharacter; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsPunct(int c)
{
    switch (c) {
    case '-': case '+': case '*': case '/': case ':': case '(': case ')': case ',': case '.': case ';': return true;
    default: return false;
    }
}

// A character that no token holds and that is more than a blank or the
// quotes other dialects put around names ("", ``, []): left out, and said
// (a "#" or "€" that someone meant as part of a name).
bool IsStray(int ch)
{
    const int c = uint8_t(ch);
    if (c <= ' ' || c == 0x7F || IsLetter(c) || IsDigit(c) || c == '_' || IsPunct(c)) return false;
    switch (c) {
    case '\'': case '<': case '>': case '=': case '"': case '`': case '[': case ']': return false;
    default: return true;
    }
}

constexpr size_t kLongestKeyword = 13;  // AUTHORIZATION

// The keywords in capitals.
const std::vector<std::pair<std::string_view, Tok>>& Keywords()
{
    static const std::vector<std::pair<std::string_view, Tok>> kWords = [] {
        std::vector<std::pair<std::string_view, Tok>> words = {
        {"ADA", Tok::ADA}, {"ALL", Tok::ALL}, {"AND", Tok::AND}, {"AVG", Tok::AMMSC}, {"MIN", Tok::AMMSC},
        {"MAX", Tok::AMMSC}, {"SUM", Tok::AMMSC}, {"COUNT", Tok::AMMSC}, {"ANY", Tok::ANY}, {"AS", Tok::AS},
        {"ASC", Tok::ASC}, {"AUTHORIZATION", Tok::AUTHORIZATION}, {"BETWEEN", Tok::BETWEEN}, {"BIT", Tok::BIT},
        {"BY", Tok::BY}, {"C", Tok::C}, {"CHAR", Tok::CHAR}, {"CHARACTER", Tok::CHAR}, {"CHECK", Tok::CHECK},
        {"CLOSE", Tok::CLOSE}, {"COBOL", Tok::COBOL}, {"COMMIT", Tok::COMMIT}, {"CONTINUE", Tok::CONTINUE},
        {"CREATE", Tok::CREATE}, {"CURRENT", Tok::CURRENT}, {"CURSOR", Tok::CURSOR}, {"DATE", Tok::DATE},
        {"DEC", Tok::DEC}, {"DECIMAL", Tok::DEC}, {"DECLARE", Tok::DECLARE}, {"DEFAULT", Tok::DEFAULT},
        {"DELETE", Tok::DELETE}, {"DESC", Tok::DESC}, {"DISTINCT", Tok::DISTINCT}, {"DOUBLE", Tok::DOUBLE},
        {"DROP", Tok::DROP}, {"ESCAPE", Tok::ESCAPE}, {"EXISTS", Tok::EXISTS}, {"FETCH", Tok::FETCH},
        {"FLOAT", Tok::FLOAT}, {"FOR", Tok::FOR}, {"FOREIGN", Tok::FOREIGN}, {"FORTRAN", Tok::FORTRAN},
        {"FOUND", Tok::FOUND}, {"FROM", Tok::FROM}, {"GOTO", Tok::GOTO}, {"GRANT", Tok::GRANT}, {"GROUP", Tok::GROUP},
        {"HAVING", Tok::HAVING}, {"IN", Tok::IN}, {"INDEX", Tok::INDEX}, {"INDICATOR", Tok::INDICATOR},
        {"INSERT", Tok::INSERT}, {"INT", Tok::INT}, {"INTEGER", Tok::INT}, {"INTO", Tok::INTO}, {"IS", Tok::IS},
        {"KEY", Tok::KEY}, {"LANGUAGE", Tok::LANGUAGE}, {"LIKE", Tok::LIKE}, {"MODULE", Tok::MODULE},
        {"NATIONAL", Tok::NATIONAL}, {"NCHAR", Tok::NCHAR}, {"NOT", Tok::NOT}, {"NULL", Tok::NULLX},
        {"NUMERIC", Tok::NUMERIC}, {"OF", Tok::OF}, {"ON", Tok::ON}, {"OPEN", Tok::OPEN}, {"OPTION", Tok::OPTION},
        {"OR", Tok::OR}, {"ORDER", Tok::ORDER}, {"PASCAL", Tok::PASCAL}, {"PLI", Tok::PLI},
        {"PRECISION", Tok::PRECISION}, {"PRIMARY", Tok::PRIMARY}, {"PRIVILEGES", Tok::PRIVILEGES},
        {"PROCEDURE", Tok::PROCEDURE}, {"PUBLIC", Tok::PUBLIC}, {"REAL", Tok::REAL}, {"REFERENCES", Tok::REFERENCES},
        {"ROLLBACK", Tok::ROLLBACK}, {"SCHEMA", Tok::SCHEMA}, {"SELECT", Tok::SELECT}, {"SET", Tok::SET},
        {"SMALLINT", Tok::SMALLINT}, {"SOME", Tok::SOME}, {"SQLCODE", Tok::SQLCODE}, {"TABLE", Tok::TABLE},
        {"TIME", Tok::TIME}, {"TIMESTAMP", Tok::TIMESTAMP}, {"TO", Tok::TO}, {"UNION", Tok::UNION},
        {"UNIQUE", Tok::UNIQUE}, {"UPDATE", Tok::UPDATE}, {"USER", Tok::USER}, {"VALUES", Tok::VALUES},
        {"VARCHAR", Tok::VARCHAR}, {"VARYING", Tok::VARYING}, {"VIEW", Tok::VIEW}, {"WHENEVER", Tok::WHENEVER},
        {"WHERE", Tok::WHERE}, {"WITH", Tok::WITH}, {"WORK", Tok::WORK}, {"ZONE", Tok::ZONE}, {"BIGINT", Tok::BIGINT},
        {"BINARY", Tok::BINARY}, {"LONG", Tok::LONG}, {"VARBINARY", Tok::VARBINARY}, {"TINYINT", Tok::TINYINT},
        };
        return words;
    }();
    return kWords;
}

}  // namespace

Tok KeywordOf(const std::string& word)
{
    if (word.empty() || word.size() > kLongestKeyword) return Tok::Name;
    bool upper = false, lower = false;
    char key[kLongestKeyword];
    for (size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        upper |= c >= 'A' && c <= 'Z';
        lower |= c >= 'a' && c <= 'z';
        key[i] = c >= 'a' && c <= 'z' ? char(c - 32) : c;
    }
    if (upper && lower) return Tok::Name;
    const std::string_view k(key, word.size());
    // An open table of the keywords by a hash of their capitals.
    struct Slot {
        std::string_view word;
        Tok tok = Tok::Name;
    };
    static constexpr size_t kSlots = 512;
    auto hash = [](std::string_view w) {
        size_t h = w.size();
        for (char c : w) h = h * 31 + uint8_t(c);
        return h % kSlots;
    };
    static const std::vector<Slot> table = [&] {
        std::vector<Slot> slots(kSlots);
        for (const auto& [w, tok] : Keywords()) {
            size_t at = hash(w);
            while (!slots[at].word.empty()) at = (at + 1) % kSlots;
            slots[at] = Slot{w, tok};
        }
        return slots;
    }();
    for (size_t at = hash(k);; at = (at + 1) % kSlots) {
        if (table[at].word.empty()) return Tok::Name;
        if (table[at].word == k) return table[at].tok;
    }
}

Scanner::Scanner(Reader read, std::function<void(const std::string&)> message)
    : read_(std::move(read)), message_(std::move(message))
{
}

bool Scanner::Fill()
{
    if (ended_) return false;
    char buffer[kBlockBytes];
    const int32_t n = read_(buffer, int32_t(kBlockBytes));
    if (n < 0) {
        Stop("read() in flex scanner failed");
        return false;
    }
    if (n == 0) {
        ended_ = true;
        return false;
    }
    block_.erase(0, at_);
    at_ = 0;
    block_.append(buffer, size_t(n));
    return true;
}

int Scanner::Peek(size_t ahead)
{
    while (at_ + ahead >= block_.size())
        if (!Fill()) return 0;
    return static_cast<unsigned char>(block_[at_ + ahead]);
}

int Scanner::Get()
{
    const int c = Peek();
    if (at_ < block_.size()) ++at_;
    // A line ends with LF, CR or CR LF.
    if (c == '\n' || (c == '\r' && Peek() != '\n')) ++line_;
    return c;
}

void Scanner::Stop(const char* message)
{
    if (message_) message_(std::string(message) + "\n");
    ended_ = true;
    block_.clear();
    at_ = 0;
}

Tok Scanner::Next()
{
    text_.clear();
    for (;;) {
        if (at_ >= block_.size() && !Fill()) return Tok::End;
        // Blanks, a block at a time.
        while (at_ < block_.size()) {
            const char b = block_[at_];
            if (b == '\n' || (b == '\r' && Peek(1) != '\n')) ++line_;
            else if (b != ' ' && b != '\t' && b != '\r') break;
            ++at_;
        }
        if (at_ >= block_.size()) continue;
        const int c = static_cast<unsigned char>(block_[at_]);
        // A token that does not fit the buffer ends the input.
        auto grow = [&](int ch) {
            if (text_.size() >= kMaxTokenBytes) return false;
            text_ += char(ch);
            return true;
        };
        auto overflow = [&] {
            Stop("flex input buffer overflowed");
            text_.clear();
            return Tok::End;
        };
        if (IsLetter(c) || StartsName()) {
            // The name's characters are taken a block at a time; keywords
            // are letters only. Characters no name holds, before a name's
            // first letter, inside it or after it, are left out of it and
            // said with the name as written.
            bool letters = true;
            std::string written;
            for (;;) {
                size_t end = at_;
                for (; end < block_.size(); ++end) {
                    const char ch = block_[end];
                    if (IsLetter(ch)) continue;
                    if (IsStray(ch) || (ch == '_' && text_.empty() && end == at_)) {
                        if (written.empty()) written = text_;
                        written.append(block_, at_, end + 1 - at_);
                        text_.append(block_, at_, end - at_);
                        at_ = end + 1;
                        continue;
                    }
                    if (!IsDigit(ch) && ch != '_') break;
                    letters = false;
                }
                if (text_.size() + (end - at_) > kMaxTokenBytes) return overflow();
                if (!written.empty()) written.append(block_, at_, end - at_);
                text_.append(block_, at_, end - at_);
                at_ = end;
                if (at_ < block_.size() || !Fill()) break;
            }
            if (!written.empty() && leftOut_) leftOut_(line_, written, text_);
            Tok t = letters ? KeywordOf(text_) : Tok::Name;
            // "GO TO" is GOTO, written with the same case.
            if ((text_ == "GO" || text_ == "go") && t == Tok::Name) {
                size_t k = 0;
                while (Peek(k) == ' ' || Peek(k) == '\t') ++k;
                const bool upper = text_ == "GO";
                if (k > 0 && Peek(k) == (upper ? 'T' : 't') && Peek(k + 1) == (upper ? 'O' : 'o') &&
                    !IsLetter(Peek(k + 2)) && !IsDigit(Peek(k + 2)) && Peek(k + 2) != '_') {
                    for (size_t i = 0; i < k + 2; ++i) Get();
                    text_ = upper ? "GO TO" : "go to";
                    t = Tok::GOTO;
                }
            }
            return t;
        }
        if (IsDigit(c) || (c == '.' && IsDigit(Peek(1)))) {
            bool approx = false;
            while (IsDigit(Peek()))
                if (!grow(Get())) return overflow();
            if (Peek() == '.') {
                approx = true;
                if (!grow(Get())) return overflow();
                while (IsDigit(Peek()))
                    if (!grow(Get())) return overflow();
            }
            if ((Peek() == 'e' || Peek() == 'E') &&
                (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
                approx = true;
                if (!grow(Get()) || !grow(Get())) return overflow();
                while (IsDigit(Peek()))
                    if (!grow(Get())) return overflow();
            }
            return approx ? Tok::ApproxNum : Tok::IntNum;
        }
        if (c == '\'') {
            // The closing quote must be there before the string is taken: a
            // quote never closed is skipped as a stray character.
            size_t k = 1;
            bool closed = false;
            for (;;) {
                const int d = Peek(k);
                if (d == 0 && at_ + k >= block_.size()) break;
                if (d == '\'') {
                    if (Peek(k + 1) == '\'') {
                        k += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                if (k > kMaxTokenBytes + 1) break;
                ++k;
            }
            if (!closed) {
                if (k > kMaxTokenBytes + 1) return overflow();
                Get();
                continue;
            }
            for (size_t i = 0; i <= k; ++i)
                if (!grow(Get())) return overflow();
            return Tok::String;
        }
        if (c == '<' || c == '>' || c == '=') {
            grow(Get());
            if ((c == '<' && (Peek() == '>' || Peek() == '=')) || (c == '>' && Peek() == '=')) grow(Get());
            return Tok::Comparison;
        }
        if (IsPunct(c)) {
            grow(Get());
            return Tok::Punct;
        }
        // A character no token begins with.
        Get();
        if (IsStray(c) && leftOut_) leftOut_(line_, std::string(1, char(c)), std::string());
    }
}

bool Scanner::StartsName()
{
    // Characters no name holds, or a "_", right before a letter.
    size_t k = 0;
    while (IsStray(Peek(k)) || (k == 0 && Peek(k) == '_')) ++k;
    return k > 0 && IsLetter(Peek(k));
}

}  // namespace sql
