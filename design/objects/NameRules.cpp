#include "design/objects/NameRules.h"

#include <algorithm>
#include <cstring>

#include "design/documents/CreateQzLib.h"
#include "kernel/collation/CollationGlobals.h"
#include "platform/text/ScriptManager.h"

namespace {

// Names are Mac Roman here, one byte a character: the two-byte test of
// the first character always passes.
bool HasPrefix(const unsigned char* name, const unsigned char* prefix)
{
    return prefix[0] > 0 && name[0] >= prefix[0] && std::memcmp(name + 1, prefix + 1, prefix[0]) == 0;
}

void Prepend(unsigned char* name, const unsigned char* prefix)
{
    const int keep = std::min<int>(name[0], 255 - prefix[0]);
    std::memmove(name + 1 + prefix[0], name + 1, size_t(keep));
    std::memcpy(name + 1, prefix + 1, prefix[0]);
    name[0] = uint8_t(prefix[0] + keep);
}

void DropLeading(unsigned char* name, uint8_t n)
{
    if (n >= name[0]) {
        name[0] = 0;
        return;
    }
    std::memmove(name + 1, name + 1 + n, size_t(name[0] - n));
    name[0] = uint8_t(name[0] - n);
}

}  // namespace

bool IsLocalVarName(const unsigned char* name) { return HasPrefix(name, stlocalvar); }
bool IsGlobalVarName(const unsigned char* name) { return HasPrefix(name, stglobglob); }
void LocVar(unsigned char* name) { Prepend(name, stlocalvar); }
void GlobGlobVar(unsigned char* name) { Prepend(name, stglobglob); }
void GetLocTrueName(unsigned char* name) { DropLeading(name, stlocalvar[0]); }
void GetGlobTrueName(unsigned char* name) { DropLeading(name, stglobglob[0]); }

void c2pStrCopy(const char* text, unsigned char* out)
{
    const size_t n = std::min<size_t>(std::strlen(text), 255);
    std::memmove(out + 1, text, n);
    out[0] = uint8_t(n);
}

bool GetMenuKeyIn(const unsigned char* item, unsigned char* name, unsigned char* key, bool twoByte,
                  ByteTypeProc byteType)
{
    unsigned char text[256];
    std::memcpy(text, item, size_t(item[0]) + 1);
    *key = 0;
    for (int16_t i = 0; i < text[0]; ++i) {
        if (text[i + 1] != '/') continue;
        if (twoByte && byteType && byteType(text + 1, i) != platform::smSingleByte) continue;
        unsigned char before[256];
        before[0] = uint8_t(i);
        std::memcpy(before + 1, text + 1, size_t(i));
        copytruncate(before, name, 255);
        if (i + 1 < text[0]) *key = text[i + 2];
        return true;
    }
    std::memcpy(name, text, size_t(text[0]) + 1);
    return false;
}

bool GetMenuKey(const unsigned char* item, unsigned char* name, unsigned char* key)
{
    return GetMenuKeyIn(item, name, key, scriptmanager != 0, [](const uint8_t* text, int16_t offset) {
        return platform::CharacterByteType(text, offset, platform::smSystemScript);
    });
}
