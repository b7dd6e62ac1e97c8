// A plug-in's documentation: plain text in the plug-in file, as resource
// 'QzTE' (routines) or 'Qzte' (packages) whose id the bundle table gives.
#include "app/documents/DocHooks.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"
#include "design/plugins/BundleTable.h"
#include "design/plugins/PlugInFiles.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

constexpr int16_t kNotBuilt = -4;
constexpr int16_t kDamagedTable = 1003;
constexpr int16_t kNoFreeDocId = 1023;  // every id up to 32,767 taken

// Whether the current file holds the resource, without loading it.
bool Holds(ResType type, int16_t id)
{
    SetResLoad(false);
    Handle h = Get1Resource(type, id);
    SetResLoad(true);
    return h != nullptr;
}

// Writes a changed resource and the file; the first error.
int16_t Commit(Handle resource, int16_t file)
{
    ChangedResource(resource);
    OSErr err = ResError();
    if (err == noErr) WriteResource(resource);
    if (err == noErr) err = ResError();
    if (err == noErr) UpdateResFile(file);
    return err == noErr ? ResError() : err;
}

void MarkDirty(TMainDoc* doc)
{
    if (doc) doc->fCompilerDirty = true;
}

}  // namespace

int16_t TExtObjQz::ReadDoc(void* text, int32_t* state, bool* added)
{
    if (state) *state = 0;
    if (added) *added = false;
    auto te = static_cast<TEHandle>(text);
    CurrentResFile current(plugInFile);
    Handle doc = current.Ok() ? GetDocRes() : nullptr;
    if (!doc || !te) return 0;
    return DocHooks().plainResToHte ? DocHooks().plainResToHte(doc, te) : kNotBuilt;
}

int16_t TExtObjQz::WriteDoc(void* text, int32_t state)
{
    (void)state;
    auto te = static_cast<TEHandle>(text);
    if (!te || !DocHooks().plainHteToRes) return te ? kNotBuilt : 0;
    CurrentResFile current(plugInFile);
    if (!current.Ok()) return resFNotFound;
    // The text is whole in memory before the file sees a change.
    Handle body = NewHandle(0);
    if (!body) return memFullErr;
    if (const int16_t err = DocHooks().plainHteToRes(body, te)) {
        DisposeHandle(body);
        return err;
    }
    const ResType type = GetDocResType();
    Handle doc = GetDocRes();
    if (!doc) {
        if (const int16_t err = AddDocBundle()) {
            DisposeHandle(body);
            return err;
        }
        AddResource(body, type, GetDocId(), reinterpret_cast<ConstStr255Param>(""));
        if (const OSErr err = ResError()) {
            DisposeHandle(body);
            return err;
        }
        MarkDirty(owner);
        doc = body;
    } else {
        const Size size = GetHandleSize(body);
        SetHandleSize(doc, size);
        const OSErr err = MemError();
        if (err == noErr && size > 0) BlockMoveData(*body, *doc, size);
        DisposeHandle(body);
        if (err != noErr) return err;
    }
    const int16_t err = Commit(doc, plugInFile);
    if (err == noErr) ReleaseResource(doc);
    SetDocFlag();
    return err;
}

int16_t TExtObjQz::DelDoc()
{
    CurrentResFile current(plugInFile);
    if (!current.Ok()) return 0;
    int16_t err = 0;
    if (Handle doc = GetDocRes()) {
        RemoveResource(doc);
        err = ResError();
        if (err == noErr) {
            DisposeHandle(doc);
            UpdateResFile(plugInFile);
            err = ResError();
        }
    }
    SetDocFlag();
    const int16_t bundle = DelDocBundle();
    return err ? err : bundle;
}

int16_t TExtObjQz::AddDocBundle()
{
    CurrentResFile current(plugInFile);
    if (!current.Ok()) return resFNotFound;
    const ResType bundleType = GetBundleType(), type = GetDocResType();
    Handle table = Get1Resource(bundleType, id);
    std::vector<BundleEntry> entries;
    if (table && !ReadBundleTable(table, &entries)) return kDamagedTable;
    for (const BundleEntry& e : entries)
        if (e.type == type) return 0;
    // The object's id, or the next one no resource of the type holds.
    int32_t docId = id;
    while (docId <= INT16_MAX && Holds(type, int16_t(docId))) ++docId;
    if (docId > INT16_MAX) return kNoFreeDocId;
    const bool added = !table;
    if (added) {
        table = NewHandleClear(2);
        if (!table) return memFullErr;
    }
    int16_t err = AppendBundleEntry(table, {type, 1, int16_t(docId)});
    if (err == 0 && added) {
        AddResource(table, bundleType, id, reinterpret_cast<ConstStr255Param>(""));
        err = ResError();
    }
    if (err != 0) {
        if (added) DisposeHandle(table);
        return err;
    }
    err = Commit(table, plugInFile);
    MarkDirty(owner);
    return err;
}

int16_t TExtObjQz::DelDocBundle()
{
    CurrentResFile current(plugInFile);
    if (!current.Ok()) return 0;
    Handle table = Get1Resource(GetBundleType(), id);
    std::vector<BundleEntry> entries;
    if (!table) return 0;
    if (!ReadBundleTable(table, &entries)) return kDamagedTable;
    const ResType type = GetDocResType();
    int32_t found = -1;
    for (int32_t i = 0; i < int32_t(entries.size()) && found < 0; ++i) {
        if (entries[size_t(i)].type != type) continue;
        if (entries[size_t(i)].id == id)
            found = i;
        else
            SetBundleEntryCount(table, i, int16_t(entries[size_t(i)].count - 1));
    }
    int16_t err = found >= 0 ? RemoveBundleEntry(table, found) : 0;
    if (err == 0) err = Commit(table, plugInFile);
    MarkDirty(owner);
    return err;
}
