#include "design/forms/FormRewriteLookups.h"

#include <algorithm>
#include <cstring>

#include "design/filters/ObjFilter.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "forms/walkers/FormRewriteHooks.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"

namespace {

constexpr int32_t kStr255 = 255, kMaxTextRun = 32767;

void ToStr255(const uint8_t* text, int32_t length, unsigned char* out)
{
    out[0] = uint8_t(length);
    std::memcpy(out + 1, text, size_t(length));
}

// A text of any length against the pattern, as StringMatch matches names:
// a text past 255 characters is matched whole where the mode looks at the
// whole of it, by its first or last 255 where it looks at one end.
bool Match(const uint8_t* text, int32_t length, const unsigned char* pattern, int16_t mode)
{
    unsigned char p[256];
    if (length <= kStr255) {
        ToStr255(text, length, p);
        return StringMatch(p, pattern, mode);
    }
    switch (mode) {
    case 1: return MatchStringQz(text, pattern + 1, length, pattern[0]) == kEqual;
    case 2:
    case 3: return TextMatch(text, int16_t(std::min(length, kMaxTextRun)), pattern, mode);
    case 4: ToStr255(text, kStr255, p); return StringMatch(p, pattern, mode);
    case 5: ToStr255(text + length - kStr255, kStr255, p); return StringMatch(p, pattern, mode);
    default: return false;
    }
}

void Replace(uint8_t* buffer, int32_t* length, const unsigned char* find, const unsigned char* replacement)
{
    Do_TxtReplace(buffer, length, find, replacement);
}

void RenameMethod(TLayoutObjQz* form, int16_t methodId, const unsigned char* name)
{
    if (TObjQz* method = form && form->objMethods ? SearchListObj_Id(form->objMethods, methodId) : nullptr)
        method->SetName(name);
}

int16_t DoItTxtStr(TLayoutObjQz* form, unsigned char* text, TObjQz** strObj, void* strList, unsigned char*,
                   bool* changed)
{
    return form ? form->DoItTxtStr(text, strObj, strList, changed) : 0;
}

}  // namespace

void InstallFormRewriteHooks()
{
    FormRewriteHooks hooks;
    hooks.match = Match;
    hooks.replace = Replace;
    hooks.renameMethod = RenameMethod;
    hooks.doItTxtStr = DoItTxtStr;
    SetFormRewriteHooks(hooks);
}
