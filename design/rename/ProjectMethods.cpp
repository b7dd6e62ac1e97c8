#include "design/rename/ProjectMethods.h"

#include <cstring>

#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjQz.h"
#include "design/rename/RenameCommit.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr uint32_t kDirectory = platform::FourCC("TPQz");
constexpr int32_t kNameRoom = 32;
constexpr int32_t kIdAt = 32;
constexpr int16_t kProjectMethodKind = 2;

int16_t StoreError() { return reserr ? reserr : platform::ioErr; }

// The record appended to the directory, made when missing.
int16_t AppendRecord(const unsigned char* name, int16_t id)
{
    uint8_t record[kProcRecordSize] = {};
    PutFixedName(record, kNameRoom, name);
    platform::WriteBE16(record + kIdAt, uint16_t(id));
    platform::Handle dir = xget1res(kDirectory, 0);
    if (!dir) {
        if (reserr == platform::memFullErr) return platform::memFullErr;
        platform::Handle made = nullptr;
        if (platform::PtrToHand(record, &made, kProcRecordSize) != platform::noErr) return platform::memFullErr;
        if (xaddres(made, kDirectory, 0)) return 0;
        platform::DisposeHandle(made);
        return StoreError();
    }
    const platform::Size size = platform::GetHandleSize(dir);
    platform::SetHandleSize(dir, size + kProcRecordSize);
    if (platform::MemError() != platform::noErr) return platform::memFullErr;
    std::memcpy(*dir + size, record, kProcRecordSize);
    return xwriteres(dir) ? 0 : StoreError();
}

}  // namespace

int16_t NewProjectMethod(TMainDoc* doc, const unsigned char* name, const unsigned char* comment, TObjQz** out)
{
    *out = nullptr;
    if (!doc) return platform::paramErr;
    unsigned char cut[256];
    CutName(cut, name, 31);
    ParseResFile current(doc);
    StoreChange change;
    if (const int16_t err = change.Begin(doc->fResFile)) return err;
    int16_t id = 0;
    int16_t err = NewCCQz_Comment(comment, &id);
    if (!err) err = AppendRecord(cut, id);
    if (!err && !updateres(doc->fResFile)) err = StoreError();
    if (err) return err;
    // The object is made before the commit: when memory is too short for
    // it the change is dropped, so the store never holds a method the
    // document does not list. A failed commit takes the object back.
    TObjQz* listed = SearchObj_Id(doc, kProjectMethodKind, id);
    const bool existed = listed && ObjNamed(listed, cut);
    TObjQz* made = NewObj_Id(doc, kProjectMethodKind, cut, id, false);
    if (!made) return platform::memFullErr;
    if (const int16_t failed = change.Commit()) {
        if (!existed) {
            made->ListRemove();
            made->Dispose();
        }
        return failed;
    }
    *out = made;
    return 0;
}
