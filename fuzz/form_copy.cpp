// Any bytes as a form's 'FOQz' through the copy of its image, the move of
// its object methods (with a mover that numbers the new methods and fails
// one of them) and the rewriting of its links against a fake conflict list
// that finds every object and gives it other ids, numbers and names. A form
// that the form reader reads must still read after a copy, a move or a
// rewriting that answered 0, and no run may leave a handle behind.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "forms/walkers/FormCopy.h"
#include "forms/walkers/FormDestHooks.h"
#include "forms/walkers/FormLinkHooks.h"
#include "forms/walkers/ParseIFFForm.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Memory.h"

namespace {

int16_t gNext = 0;

int16_t Move(TMainDoc*, TMainDoc*, int16_t id, int16_t* newId)
{
    *newId = 0;
    if (id == 3) return kFormScriptMissing;
    if (id == 4) return -34;
    *newId = ++gNext;
    return 0;
}

// Stand-ins for the design objects: the walkers only pass them back to
// the hooks. One per kind; the form object's own kind is 24.
char gObjects[40];
TObjQz* Object(int16_t kind) { return reinterpret_cast<TObjQz*>(&gObjects[kind >= 0 && kind < 40 ? kind : 0]); }
int16_t KindOf(TObjQz* obj) { return int16_t(reinterpret_cast<char*>(obj) - gObjects); }

void InstallFakes()
{
    FormLinkHooks links;
    links.link = [](TLayoutObjQz*, TObjQz*, TObjQz*) { return int16_t(0); };
    links.byId = [](TLayoutObjQz*, int16_t kind, int16_t id) { return id % 3 == 0 ? nullptr : Object(kind); };
    links.byName = [](TLayoutObjQz*, int16_t kind, const unsigned char* name) { return name[0] % 2 ? Object(kind) : nullptr; };
    links.ownerOf = [](TObjQz*) { return Object(1); };
    links.nameOf = [](TObjQz* obj, unsigned char* name) {
        std::memcpy(name, "\x0aRenamed_xx", 11);
        name[9] = char('a' + KindOf(obj) % 26);
    };
    links.ownTable = [](TLayoutObjQz*) { return Object(1); };
    links.tableNumbered = [](TLayoutObjQz*, int16_t number) { return number % 2 ? Object(1) : nullptr; };
    links.tableNamed = [](TLayoutObjQz*, const unsigned char*) { return Object(1); };
    links.subtableNumbered = [](TLayoutObjQz*, int16_t number) { return number % 2 ? Object(29) : nullptr; };
    links.field = [](TLayoutObjQz*, int16_t, int16_t field) { return field % 2 ? Object(28) : nullptr; };
    links.fieldNumbered = [](TLayoutObjQz*, TObjQz*, int16_t field) { return field % 2 ? Object(28) : nullptr; };
    links.fieldNamed = [](TLayoutObjQz*, TObjQz*, const unsigned char*) { return Object(28); };
    links.formNamed = [](TObjQz*, const unsigned char*) { return Object(24); };
    links.stringList = [](TLayoutObjQz*, int16_t) { return Object(11); };
    links.variable = [](TLayoutObjQz*, const unsigned char*, bool) { return Object(9); };
    links.listBoxVariable = [](TLayoutObjQz*, const unsigned char*, bool) { return Object(21); };
    links.objectMethod = [](TLayoutObjQz*, const unsigned char*, bool, int16_t) { return Object(25); };
    links.kindOf = KindOf;
    links.idOf = [](TObjQz* obj) { return int16_t(20000 + KindOf(obj)); };
    links.tableNumberOf = [](TObjQz*) { return int16_t(7); };
    SetFormLinkHooks(links);
    FormDestHooks dest;
    dest.destObj = [](C_ListRec*, TLayoutObjQz*, TLayoutObjQz*, TObjQz* obj) { return KindOf(obj) == 10 ? nullptr : obj; };
    dest.destForm = [](C_ListRec*, TLayoutObjQz*, TLayoutObjQz*, TObjQz* obj) { return obj; };
    dest.destRub = [](C_ListRec*, TLayoutObjQz*, TLayoutObjQz*, TObjQz* obj, int16_t* table, int16_t* field) {
        *table = 7;
        *field = 3;
        return obj;
    };
    dest.movePicture = [](TLayoutObjQz*, TLayoutObjQz*, int16_t id, int16_t* newId) {
        *newId = int16_t(id ^ 0x55);
        return int16_t(id == 13 ? -34 : 0);
    };
    SetFormDestHooks(dest);
}

void CopyOnce(const uint8_t* data, size_t size)
{
    platform::Handle in = fuzz::HandleOf(data, size, 1 << 20);
    platform::Handle out = platform::NewHandle(0);
    if (in && out) {
        const bool readable = fuzz::FormImageReads(in);
        if (CopyIFFLayOut(in, out) == 0 && readable && !fuzz::FormImageReads(out)) std::abort();
        platform::SetHandleSize(out, 0);
        const int16_t linked = ParseLinkIFFForm(in, out, nullptr, nullptr, nullptr);
        if (linked == 0 && readable && !fuzz::FormImageReads(out)) std::abort();
        if (linked != 0 && platform::GetHandleSize(out) != 0) std::abort();
        gNext = 0;
        std::vector<int16_t> moved;
        const int16_t result = MoveIFFFormObject(in, nullptr, nullptr, Move, &moved);
        if (result == 0 && readable && !fuzz::FormImageReads(in)) std::abort();
        if (moved.size() != size_t(gNext)) std::abort();
    }
    if (in) platform::DisposeHandle(in);
    if (out) platform::DisposeHandle(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool installed = (InstallFakes(), true);
    (void)installed;
    CopyOnce(data, size);
    // Handles stay in the memory manager's registry, out of the leak
    // checker's sight: they are counted instead, around a second run of
    // the same bytes (the first may fill the program's caches).
    const size_t handles = platform::LiveHandleCount();
    CopyOnce(data, size);
    if (platform::LiveHandleCount() != handles) std::abort();
    return 0;
}
