// The references that texts inside stored forms carry: ":ID,INDEX" items
// of string lists, style names behind the style mark, the parts of picture
// button titles, and the "<...>" references of static texts.
#pragma once

#include <cstdint>
#include <string>

// ":" id "," index; false for anything else (":20000" included).
bool ParseStrRef(const unsigned char* text, int16_t* listId, int16_t* index);

// The style mark: item 5 of the application's list 1019.
void GetStyleMark(unsigned char* mark);
// A display format or entry filter whose first character is the style mark
// names a style: its name without the mark. False otherwise.
bool StyleNameOf(const unsigned char* text, const unsigned char* mark, unsigned char* name);

// The n-th part (1 to 4) of a title cut at the kernel's separator string; a
// missing separator takes the rest of the text as the part.
void TitlePart(const unsigned char* title, int32_t n, unsigned char* part);

// One reference of a static text, between a "<" and its matching ">".
struct StaticRef {
    enum Kind { None, Variable, Field } kind = None;
    std::string name;                     // a variable's name as written
    bool hasTable = false;                // "<?[table]field>"
    std::string table, field;             // a field reference's parts
    bool tableIsNumber = false, fieldIsNumber = false;
};

// From text[*at] on: copies the literal bytes up to the next "<" into
// `literal` (when given), then reads the reference up to its matching ">"
// (nested "<" and ">" counted). False when no "<" with its ">" is left: the
// rest is then in `literal`. *at moves past what was read.
bool GetStaticRef(const unsigned char* text, int32_t length, int32_t* at, std::string* literal, StaticRef* ref);
