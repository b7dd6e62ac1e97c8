#include "transfer/components/NameCodes.h"

#include <cstring>

#include "design/objects/NameRules.h"
#include "design/objects/ObjText.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

namespace transfer {

namespace {

constexpr int32_t kCounterAt = 10;
constexpr uint8_t kCodeLength = 8;
constexpr int16_t kDamagedTable = 1003;

uint8_t CodeChar(uint32_t byte)
{
    uint8_t c = uint8_t(byte);
    if (c > 127) c = uint8_t(c - 127);
    if (c < 10) c = uint8_t(c + 10);
    return c;
}

// A growth step above 255 in both byte orders: the header would be turned
// at every look and its counts read differently each time.
bool TurnsForEver(NameCodeHdl table)
{
    if (!table || !*table || platform::GetHandleSize(table) < kNameCodeHeader) return false;
    const uint16_t step = platform::ReadBE16(reinterpret_cast<uint8_t*>(*table) + 8);
    return step > 255 && uint16_t(step << 8 | step >> 8) > 255;
}

}  // namespace

uint32_t NameCodeCounter(NameCodeHdl table)
{
    if (!table || platform::GetHandleSize(table) < kNameCodeHeader) return 0;
    CheckSwapCode(table);
    return platform::ReadBE32(reinterpret_cast<uint8_t*>(*table) + kCounterAt);
}

void SetNameCodeCounter(NameCodeHdl table, uint32_t value)
{
    if (!table || platform::GetHandleSize(table) < kNameCodeHeader) return;
    CheckSwapCode(table);
    platform::WriteBE32(reinterpret_cast<uint8_t*>(*table) + kCounterAt, value);
}

void MakeNameCode(uint32_t seed, uint32_t counter, unsigned char* code)
{
    const uint32_t product = seed * counter;
    code[0] = kCodeLength;
    code[1] = CodeChar(10);
    for (int i = 0; i < 3; ++i) code[2 + i] = CodeChar(seed >> (16 - 8 * i));
    for (int i = 0; i < 4; ++i) code[5 + i] = CodeChar(product >> (24 - 8 * i));
}

int16_t M_GetName(NameCodeHdl* table, const unsigned char* prefix, const unsigned char* name, unsigned char* newName,
                  uint32_t seed)
{
    if (TurnsForEver(*table)) return kDamagedTable;
    unsigned char own[256];
    std::memcpy(own, name, size_t(name[0]) + 1);
    const bool global = IsGlobalVarName(own);
    const bool local = !global && IsLocalVarName(own);
    if (global) GetGlobTrueName(own);
    if (local) GetLocTrueName(own);
    const unsigned char first = own[0] > 0 ? own[1] : 0;
    // The prefix leaves every name that begins with it, so that a member
    // named with the component's prefix keeps its code through renames of
    // that prefix.
    unsigned char key[256];
    std::memcpy(key, own, size_t(own[0]) + 1);
    if (prefix[0] > 0 && key[0] >= prefix[0] && std::memcmp(key + 1, prefix + 1, prefix[0]) == 0) {
        std::memmove(key + 1, key + 1 + prefix[0], size_t(key[0] - prefix[0]));
        key[0] = uint8_t(key[0] - prefix[0]);
    }
    if (key[0] > 33) key[0] = 33;

    unsigned char code[256];
    if (GetCode(*table, key, code)) {
        // A stored code of another length would leave the name without one.
        if (code[0] != kCodeLength) return kDamagedTable;
    } else {
        // A seed of 0 gives one code whatever the counter: it would be
        // tried for ever once taken.
        if (seed == 0) seed = 1;
        uint32_t counter = NameCodeCounter(*table);
        bool found = false;
        for (int32_t tries = 0; tries < kMaxCodeTries && !found; ++tries) {
            MakeNameCode(seed, ++counter, code);
            found = IsNewCode(*table, code);
        }
        SetNameCodeCounter(*table, counter);
        if (!found) return platform::paramErr;
        if (const int16_t err = SetCode(table, key, code)) return err;
        SetNameCodeCounter(*table, counter);
    }
    newName[0] = 0;
    if (first) PAppendChar(newName, char(first));
    PAppend(newName, prefix);
    PAppend(newName, code);
    if (global) GlobGlobVar(newName);
    if (local) LocVar(newName);
    return 0;
}

}  // namespace transfer
