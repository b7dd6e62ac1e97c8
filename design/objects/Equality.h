// Equality of two documents' tables and menus, as conflict detection
// between documents asks it. Every record is loaded from its own
// document's container and released after the comparison; a record too
// short for what it declares is not equal to anything.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class TMainDoc;
class TObjQz;

// 'FIQz' records a (in file fileA) and b (in fileB): same field count, and
// per field the same name (ordinary collation) and type; subtables
// compared the same way, at most kMaxSubtableDepth levels down.
constexpr int32_t kMaxSubtableDepth = 16;
bool EqualCrits(int16_t fileA, int16_t fileB, platform::Handle a, platform::Handle b);
bool EqualFiles(TObjQz* a, TObjQz* b);
bool EqualMenu(TObjQz* a, TObjQz* b);

TObjQz* SearchEqualFile(TMainDoc* doc, TObjQz* table);
TObjQz* SearchEqualMBar(TMainDoc* doc, TObjQz* mbar);
