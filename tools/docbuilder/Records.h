// The stored layouts the builder writes, one function a record. Every
// record is big-endian; offsets are those the readers take.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/docbuilder/Bytes.h"
#include "tools/docbuilder/Model.h"

namespace docbuilder {

// Each record is written in the order given: the order of the container it
// goes into (records of the companion, a platform resource file, are always
// big-endian).

// Method tokens. A field reference carries the table number and the field
// numbers from the top table down (the last one the field's own). Real
// and 64-bit literals stay big-endian in both orders.
Bytes TokenBytes(const TokenSpec& t, int16_t tableNumber, const std::vector<int16_t>& fieldPath,
                 ByteOrder order = ByteOrder::Big);
// 'CCQz': the rectangle, the line count, then each line as its length
// (token bytes + 18), the 16-byte line header and the tokens, followed by
// two zero bytes. The lines are tokens written in the same order.
Bytes MethodBlob(const std::vector<Bytes>& lines, ByteOrder order = ByteOrder::Big);

// A 10-byte extended real from a double (sign, 15-bit exponent, 64-bit
// mantissa with its integer bit), big-endian in both orders.
void PutExtended(ByteWriter& w, double value);

// 'PRQz' 0 with the table array filled from the tables' 'FIQz' ids.
// `designGroup` (offset 48) and `defaultUser` (52) in the low 16 bits.
Bytes ParameterRecord(uint8_t level, const std::vector<int16_t>& tableIds, ByteOrder order = ByteOrder::Big,
                      int16_t designGroup = 0, int16_t defaultUser = 0);

// 'TPQz' record of a project method.
Bytes ProjectMethodRecord(const std::string& name, int16_t id, uint16_t attributes, ByteOrder order = ByteOrder::Big);

// The flattened password table, scrambled with the table key; users carry
// their passwords scrambled with the password key.
struct UserRecord {
    std::string name, password, method;
    int32_t owner = 0;
};
struct GroupRecord {
    std::string name;
    std::vector<int16_t> members;
};
Bytes PasswordTable(const std::vector<UserRecord>& users, const std::vector<GroupRecord>& groups, bool oldLayout,
                    ByteOrder order = ByteOrder::Big);

// A minimal version 2 picture: header, clip region, a painted frame, end.
// Only the size word and the frame follow the order; the opcodes are
// big-endian in both.
Bytes Picture(int16_t width, int16_t height, ByteOrder order = ByteOrder::Big);

// 'List' record tree, big-endian in both orders: lists are read and written
// through an unconverted buffer.
struct ListItemOut {
    std::string text;
    int16_t number = 0;
    uint8_t face = 0;
    int32_t picture = 0;
    std::vector<ListItemOut> children;
};
Bytes ChoiceList(const std::vector<ListItemOut>& items);

// A documentation resource holding plain text and its state.
// A version-1 documentation body. Without runs the text goes alone (empty
// style record and table); with runs, a style record and table in the
// text engine's layout, the parts no run covers in the application font,
// size 12, plain, black.
Bytes Documentation(const std::string& text, int16_t state, ByteOrder order = ByteOrder::Big,
                    const std::vector<DocRunSpec>& runs = {});

// 'moQz' of a component, through the toolbox's stream.
struct ComponentProperties {
    int16_t date[3] = {0, 0, 0};
    uint32_t versionNb = 0;
    int16_t folders[3] = {-1, -1, -1};
    std::string version, comments, prefix;
    bool componentDocument = false;
    bool generated = false;
    // The rename flag: -1 as the prefix says (set when there is one).
    int rename = -1;
};
Bytes ComponentRecord(const ComponentProperties& p);

// 'cdQz': the name-code table, sorted by name.
Bytes NameCodeTable(std::vector<std::pair<std::string, std::string>> entries, ByteOrder order = ByteOrder::Big);

// 'STR#' in the platform's layout, big-endian in both orders (also the
// constant lists 'QzK#', which no container converts).
Bytes StringList(const std::vector<std::string>& strings);

}  // namespace docbuilder
