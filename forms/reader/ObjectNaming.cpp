// The names of form objects: default names by kernel type, and names kept
// unique within a form.
#include <algorithm>
#include <charconv>
#include <cstring>

#include "forms/layout/FormContainer.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/ObjectIterators.h"
#include "forms/reader/FormReader.h"
#include "kernel/helpers/ResourceStrings.h"

namespace {

constexpr int16_t kObjectNameList = 803;
constexpr uint8_t kNameMax = 31;

// The item of list 803 that names each kernel type; 0 for none. A list box
// (type 22) would be named by its number alone, but the 21 counters end at
// type 20: it keeps the name it was read with.
int16_t NameItem(int16_t type)
{
    switch (type) {
    case 1: return 33;
    case 2: return 34;
    case 3: return 42;
    case 4: return 41;
    case 5: return 35;
    case 6: return 36;
    case 9: return 37;
    case 10: return 38;
    case 11: return 39;
    case 18: return 43;
    case 19: return 40;
    case 20: return 44;
    default: return 0;
    }
}

bool SameName(const unsigned char* a, const unsigned char* b) { return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0; }

struct NameSearch {
    const unsigned char* name;
    LayoutObject* self;
};

// Another object of the chain (groups entered, not the sub-objects of a list
// box) with the name.
bool ChainHolds(LayoutObject* first, void* context)
{
    const auto* s = static_cast<const NameSearch*>(context);
    for (LayoutObjectIterator it(first, false, true, false); it.Current(); it.SetNext())
        if (it.Current() != s->self && SameName(it.Current()->name, s->name)) return true;
    return false;
}

bool Taken(const unsigned char* name, LayoutObject* self, LayoutEditor* model, LayoutObject* alsoIn)
{
    NameSearch search{name, self};
    return (alsoIn && ChainHolds(alsoIn, &search)) || EachModelObjectChain(model, ChainHolds, &search);
}

}  // namespace

void NameObject(int16_t type, LayoutObject* object, int32_t* counters, platform::Handle)
{
    if (object->name[0] != 0 || type < 0 || type >= kNamingCounters) return;
    const int16_t item = NameItem(type);
    if (item == 0) return;
    const int32_t number = ++counters[type];
    unsigned char base[256];
    gs(base, kObjectNameList, item);
    char digits[16];
    const int n = int(std::to_chars(digits, digits + sizeof digits, int32_t(number)).ptr - digits);
    unsigned char full[64];
    const uint8_t kept = uint8_t(std::min<int>(base[0], kNameMax - n));
    full[0] = uint8_t(kept + n);
    std::memcpy(full + 1, base + 1, kept);
    std::memcpy(full + 1 + kept, digits, size_t(n));
    object->SetName(full);
}

void MakeNewName(unsigned char* name, int32_t number)
{
    uint8_t length = name[0];
    while (length > 0 && name[length] >= '0' && name[length] <= '9') --length;
    char digits[16];
    const int n = int(std::to_chars(digits, digits + sizeof digits, int32_t(number)).ptr - digits);
    if (length + n > kNameMax) length = uint8_t(kNameMax - n);
    std::memcpy(name + 1 + length, digits, size_t(n));
    name[0] = uint8_t(length + n);
}

void AcceptObjectName(const unsigned char* name, LayoutObject* object, LayoutEditor* model, LayoutObject* alsoIn)
{
    unsigned char clean[256];
    clean[0] = 0;
    for (int i = 1; i <= name[0] && clean[0] < kNameMax; ++i)
        if (name[i] >= 32 && name[i] != 127) clean[++clean[0]] = name[i];
    for (int32_t number = 1; Taken(clean, object, model, alsoIn); ++number) MakeNewName(clean, number);
    object->SetName(clean);
}

void ResetObjIndex() { std::fill(objIndex4Name, objIndex4Name + kNamingCounters, 0); }
