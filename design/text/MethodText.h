// A method's tokens turned back into text: each token's text and style
// index, the indentation of the control structures, the escapes of string
// literals. The text goes into a styled buffer and from there into a text
// record (preview, search, printing), or line by line into a file (export,
// which has no length limit).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/textedit/TextEdit.h"

class TObjQz;
class TFileObjQz;

// Style indices of method text (entries of the MyTEInitStyles table).
enum MethodStyle : int16_t {
    kStylePlain = 0,          // operators, literals, punctuation
    kStyleProcessVar = 1,
    kStyleLocalVar = 2,
    kStyleInterprocessVar = 3,
    kStyleParameter = 4,
    kStyleComment = 5,
    kStyleError = 6,
    kStylePlugIn = 7,
    kStyleMethodCall = 8,
    kStyleCommand = 9,
    kStyleKeyword = 10,
    kStyleField = 11,
    kStyleConstant = 12,
    kStyleTable = 13,
};

// The deepest indentation of a line.
constexpr int32_t kMaxTextLevel = 30;
// A string literal with its quotes never passes this.
constexpr int32_t kMaxLiteralText = 255;

// One rendered line, without its carriage return: the pieces in order,
// each with its style index.
struct ProcTextLine {
    struct Piece {
        int16_t style;
        std::string text;
    };
    std::vector<Piece> pieces;
    std::string Text() const;
};

// Renders every line of method `methodId` of the current store (field
// references are named from `table`), calling `line` for each until it
// answers false. 0; -108 when the method's text is missing or damaged.
int16_t WalkProcText(TFileObjQz* table, int16_t methodId, TObjQz* method,
                     const std::function<bool(const ProcTextLine&)>& line);

// Renders the method into the text record: styled with the 14 styles in
// `font` at the application's size when `styled`, plain otherwise; mode 1
// (export) makes no style runs. Text stops after the last whole line that
// fits below 32,767 bytes. 0, or -108 (missing text, memory).
int16_t DoTextProc(TFileObjQz* table, int16_t methodId, TObjQz* method, bool styled, platform::TEHandle te,
                   int16_t font, int16_t mode);

// Writes every line of the method's export text to the open file, each
// followed by a carriage return, whatever its length. The first write
// error, -108 for a missing text, else 0.
int16_t SaveProcText(TFileObjQz* table, int16_t methodId, TObjQz* method, int16_t file);

// A string literal between its quotes with its escapes, at most
// kMaxLiteralText bytes: an escape that would pass them is left out with
// everything after it.
std::string EscapedLiteral(const unsigned char* text);
