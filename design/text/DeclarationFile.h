// The compiler's declaration file beside a structure: a text file (lines
// end with carriage returns, fields with tabs) listing the declarations of
// the interprocess variables, the process variables, each method's local
// variables, then the project methods. One scan records on each variable
// and project method the file offset just after its name, where its
// declaration continues; the file stays open as the document's data file.
//
// The file, block by block (every block is read strictly in this order):
//   a heading line, then one more character;
//   interprocess variables: one line each, name first; an empty line; a
//     total line; two more characters;
//   process variables: the same;
//   local blocks: a line beginning with a tab whose text from its first
//     "(" names the method (an owner marker of 'STR#' 531 and a name),
//     one more character, the variables, an empty line, one more
//     character;
//   methods, behind a carriage return: a word, one character, the name;
//     a declaration follows when "(" or ":" comes next.
#pragma once

#include <cstdint>
#include <string>

class TMainDoc;
class TObjQz;

// Opens the file of `structureName` (beside the document's file, with the
// suffix of 'STR#' 1013 item 1) into doc->fDataFile and scans it. The
// open's error; 0 for a file that is not text or for a scan that stopped
// on a malformed block (positions recorded so far stay).
int16_t ReadCompFile(TMainDoc* doc, const unsigned char* structureName);

// The owner of a local block from its text (the marker up to the first
// ")" and the spaces after it, then the name); null when none.
TObjQz* NumCalc(TMainDoc* doc, const unsigned char* text);
// "Table<sep>Form" split at the last separator (each at most 32).
void GetLayoutNames(const unsigned char* fullName, unsigned char* table, unsigned char* form);
// "Table<sep>Form<sep>Object" split the same way.
void GetScriptNames(const unsigned char* fullName, unsigned char* table, unsigned char* form, unsigned char* object);
