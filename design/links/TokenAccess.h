// Method tokens as the design objects reach them: a method's lines loaded
// from and stored into its 'CCQz', the tokens of a line, and the small
// textual references the tokens use (string-list references, plug-in
// routine numbers, constant names).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "forms/calc/Operands.h"
#include "platform/core/MacTypes.h"

class TObjQz;
class TFileObjQz;

// The lines of method `id` of the current store (a handle of line
// handles), their count (with its sign) and the rectangle (may be null);
// null with *err set when missing or damaged.
platform::Handle x_getcalc(int16_t id, int16_t* count, platform::Rect* rect, int16_t* err);
// Stores the lines as 'CCQz' id (0: a new id); *err takes the result.
void x_putcalc(int16_t id, platform::Handle lines, int16_t count, const platform::Rect* rect, int16_t* err);
// Frees the lines and clears both variables.
void x_effcalc(platform::Handle* lines, int16_t* count);
// A method's lines held by their reader, freed with it.
struct ProcLines {
    platform::Handle lines = nullptr;
    int16_t count = 0;
    ProcLines() = default;
    ProcLines(const ProcLines&) = delete;
    ProcLines& operator=(const ProcLines&) = delete;
    ~ProcLines() { x_effcalc(&lines, &count); }
};
// The token at *position of the line, moving past it.
void x_gettoken(platform::Handle line, champoper* token, int16_t* position);
// Appends the token; 0 or the error.
int16_t x_addtoken(platform::Handle line, const champoper& token);
// Form `formId` of the kernel's reading file as kernel records, with the
// records its inherited forms show (getform with chaining); null with *err
// set. Inherited forms and fields of the form's own table are found
// through the kernel's table records (DocTables, design/forms/FormTable.h).
platform::Handle x_getform(int16_t formId, int16_t* err);
// Frees the records and clears the variable.
void x_effform(platform::Handle* form);
// The kernel's error callback: errors are taken from the results instead.
void procerr(int16_t err);

// The token at *position, or an end of line at or past the line's token
// bytes (a negative position too). A real literal comes through
// MyGetRealOper.
void MyGet2champ(platform::Handle line, champoper* token, int16_t* position);
// A real literal token as stored (kind 2, sub-kind 1, a 10-byte extended
// value from byte 4; 14 bytes): the token with its value as an 8-byte
// double. The conversion fills the next of a ring of 16 buffers, and the
// caller gets its own copy: the answer stays valid however many more are
// read.
champoper MyGetRealOper(const uint8_t* token);

// True when the text is ":" id "," index with at least one character after
// the comma; both numbers decimal.
bool GetStrIndex(const unsigned char* text, int16_t* listId, int16_t* index);
// The string a reference names, else a copy of the text.
void GetQzResStr(unsigned char* out, const unsigned char* text);
// For plug-in data (5, 2, bundle, routine): the routine list's id in
// *bundle, the routine number, and a marked name "<mark>list<sep>n<mark>";
// true. Otherwise the data as a name and false.
bool GetExtProcIndex(unsigned char* name, const unsigned char* data, int16_t* bundle, int16_t* routine);
// For constant data (5, 2, id, index): the name before the first ":" of
// that string of 'QzK#' id and the value up to the next ":"; otherwise the
// data as the name and an empty value.
void calcconstname(unsigned char* name, unsigned char* value, const unsigned char* data);
// String `index` of a 'QzK#'-style list; empty when beyond it.
void gsK(unsigned char* out, platform::Handle list, int16_t index);
// The kernel's text of a real.
void xstrIntreel2(double value, unsigned char* out);

// Whether 'xPRM' 0 marks the command as one whose parameters are described.
bool CommandHasParameters(int16_t command);
// The (parameter number, object kind) pairs of the command's 'APRM'.
std::vector<std::pair<int16_t, int16_t>> ParameterKinds(int16_t command);

// Links `method` to everything its tokens name. `table` is the table the
// text refers to by default (null for project methods). 0 or the error.
int16_t ParseProc(TFileObjQz* table, int16_t methodId, TObjQz* method);
// The same over `lines`, the method's lines as its store now holds them.
int16_t ParseProc(TFileObjQz* table, int16_t methodId, TObjQz* method, const ProcLines& lines);
// Closes a parameter left empty: an empty set parameter of the commands
// that take the user's set links "UserSet" from the method and, unless the
// method's owner is a command, from the command. Clears *pending.
int16_t EndParam(bool* pending, int16_t paramKind, TObjQz* command, TObjQz* owner, TObjQz* method);

// Rewriting a method's lines. `rewrite` sees every token in order, with
// its stored bytes, and answers true with the bytes that take its place.
// Tokens it leaves, and whatever of a line cannot be read as tokens, are
// copied byte for byte. A line that would pass 32,767 token bytes, or
// that memory runs out for, keeps its old tokens and ends the rewriting;
// the lines before it are stored. Nothing is stored when no token
// changed. 0, or the first error (x_getcalc's, a line's, the store's).
using TokenRewrite =
    std::function<bool(const champoper& token, const uint8_t* stored, int32_t size, std::vector<uint8_t>* out)>;
int16_t RewriteProcTokens(int16_t methodId, const TokenRewrite& rewrite, bool* changed = nullptr);
// The same, all or nothing: the rewrite sets `failure` to end the walk at
// a token; then, as after any other error, nothing is stored. 0 or the
// error. Without an error `stored`, when given, takes the lines as the
// store now holds them.
int16_t RewriteProcTokensWhole(int16_t methodId, const TokenRewrite& rewrite, const int16_t& failure,
                               bool* changed = nullptr, ProcLines* stored = nullptr);
// The bytes an operand is stored as (nothing for one that cannot be).
std::vector<uint8_t> OperandBytes(const champoper& token);

// In method `methodId` of store `container` (made current): every call of
// a command whose name (item of 'STR#' 8) equals `oldName` becomes a call
// of the project method `newName` (cut to 32).
int16_t ReplaceCommand(const unsigned char* oldName, const unsigned char* newName, int16_t methodId,
                       int16_t container);
// Every call of command 684 (the current method's name) becomes the
// string literal `name` (cut to 81).
int16_t RemoveCurrentMethodName(const unsigned char* name, int16_t methodId, int16_t container);
// Every comment that is no compiler directive (first character "%") is
// emptied, keeping its place.
int16_t RemoveCommentsInProc(int16_t methodId, int16_t container);
// Every `find` in the method's string literals and comments becomes
// `replacement`; a literal that would pass 81 characters, or a comment 255,
// is left as it was and counted in *leftWhole (when given).
int16_t ReplaceTxtInProc(const unsigned char* find, const unsigned char* replacement, int16_t methodId,
                         int16_t container, int32_t* leftWhole = nullptr);
// The walk of ParseProc renaming instead of linking: the literal
// parameters that name an object of `renamed`'s kind, the variables
// (their prefix kept), the project method calls, and the plug-in routines
// and constants named in the token itself, that equal `oldName` take
// `newName`. In the current store.
int16_t ReplaceInProc(const unsigned char* oldName, const unsigned char* newName, TObjQz* renamed,
                      TFileObjQz* table, int16_t methodId, TObjQz* method);

// Stores a new method of one line holding one comment (cut to 81
// characters) under a new id, given in *id; the writer's error.
int16_t NewCCQz_Comment(const unsigned char* text, int16_t* id = nullptr);
