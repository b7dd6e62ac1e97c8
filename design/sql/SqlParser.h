// The parser of SQL schema scripts: the SQL-89 schema, module and data
// manipulation language, with CREATE [UNIQUE] INDEX, DROP and the further
// data types, written by hand. Table definitions, column definitions,
// keys and indexes fill the schema; every other statement is checked and
// only the names it mentions enter the schema. The first error ends the
// parse, and so does the first table or column past what a structure
// holds, or whose name holds characters a structure cannot hold, named
// where it is met.
#pragma once

#include <cstdint>
#include <string>

#include "design/sql/SqlScanner.h"
#include "design/sql/SqlSchema.h"

namespace sql {

// Error codes (items of 'STR#' 1028).
constexpr int16_t kOutOfMemory = 4;
constexpr int16_t kTooDeep = 7;      // the parser's nesting limit
constexpr int16_t kSyntaxError = 8;
constexpr int16_t kTableLimit = 9;    // one table more than a structure holds
constexpr int16_t kColumnLimit = 10;  // one column more than a table holds
constexpr int16_t kUnheldName = 12;   // a table or column name with characters Mac Roman lacks
// Constructs nested deeper than this end the parse with kTooDeep.
constexpr int32_t kMaxNesting = 200;

struct ParseError {
    int16_t code = 0;     // 0: none
    int32_t line = 0;     // of the token at fault
    std::string token;    // its text (empty at the end of the input)
};

// Parses the whole script into the schema.
ParseError ParseScript(Scanner& scanner, Schema& schema);

}  // namespace sql
