// A new structure from an SQL schema script (the command's `sql` hook):
// the script read and parsed into a schema, a report of the tables and
// columns met (and of the first error), then the structure built.
#pragma once

#include <cstdint>
#include <string>

#include "design/sql/SqlParser.h"
#include "design/sql/SqlSchema.h"
#include "platform/files/FileTypes.h"

// The paths are length-prefixed Mac Roman texts. When `fileSpec` names a
// file on entry, that is the script, and the report is its path followed
// by what `reportPath` adds to `scriptPath` (a Mac Roman path cannot name
// every folder). 0 with `fileSpec` naming the new structure, or
// kMadeWithRemarks when its report also names merged tables or
// columns, cut names, characters left out, parts of the script that could
// not be read or a script read as Windows-1252 or Mac Roman; -1 for an error in the script (the report says where;
// nothing is made); 1004 or 1006 for a script naming more tables than a
// structure holds or more columns than a table holds (the report names
// the first one past; nothing is made); -108 out of memory; 1001 the save
// dialog cancelled;
// otherwise the error of reading the script (no report then), of writing
// the report or of building the structure (none is left then).
int16_t SQL(const unsigned char* scriptPath, const unsigned char* reportPath, platform::FSSpec* fileSpec);

namespace sql {
// The structure is made, and the report has remarks.
constexpr int16_t kMadeWithRemarks = 1024;
}  // namespace sql

namespace sql {

void InitSQL(Schema* schema);
void DisposeSQL(Schema* schema);
// A script file's bytes parsed into `schema`, its report lines in `report`
// (Mac Roman): the text is read in the encoding found for it
// (ReadScriptText); the report's first remarks say a script read as
// Windows-1252 or Mac Roman and name each part that could not be read;
// each character left out of a name, or out of the script, is remarked.
// 0, -1 for an error in the script (its line reported; a table or column
// name with characters a structure cannot hold is one), 1004 or 1006 past
// the tables or columns a structure holds, -108 memory.
int16_t ParseSQLText(const std::string& script, Schema* schema, std::string* report);
// The report's error line: 'STR#' 1028 item 1, the line, the item of
// `code`, item 2 and the token, separated by blanks; as long as they are.
std::string _SQLError(int32_t line, int16_t code, const std::string& token);
// Reports a parse error.
void yyerror(Schema& schema, const ParseError& error);
// A zero-terminated text made length-prefixed in place (cut to 255).
void _c2pStr(char* text);

}  // namespace sql
