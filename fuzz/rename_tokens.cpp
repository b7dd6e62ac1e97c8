// A method's stored tokens ('CCQz') rewritten for a rename: the calls of a
// renamed project method, the variables and literal names, a command's
// calls turned into a method's, and literal texts replaced. Whatever the
// blob holds, every rewrite stays inside its lines and tokens and stores
// either a whole new blob or nothing. The input: the old name, the new
// name (each a slice whose bytes are the name), a 'QzK#' slice, then the
// blob.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/documents/MainDoc.h"
#include "design/links/TokenAccess.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"

using fuzz::PName;
using platform::FourCC;

namespace {

// The slice as a name of at most 31 characters.
void ToName(const fuzz::Bytes& bytes, unsigned char* out)
{
    out[0] = uint8_t(std::min<size_t>(bytes.size(), 31));
    if (out[0]) std::memcpy(out + 1, bytes.data(), out[0]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    unsigned char oldName[256], newName[256];
    ToName(in.Slice(31), oldName);
    ToName(in.Slice(31), newName);
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    TMainDoc& doc = scratch.Doc();
    scratch.Add(in.Slice(1024), FourCC("QzK#"), 1);
    scratch.Add(in.Rest(), FourCC("CCQz"), 1);
    scratch.Use();
    auto* table = static_cast<TFileObjQz*>(NewCritObj(&doc, 1, PName("\x01T"), 1));
    table->tableNumber = 1;
    for (int16_t k = 1; k <= 2; ++k) {
        auto* f = static_cast<TStructObjQz*>(NewCritObj(&doc, k == 2 ? 29 : 28, PName("\x01" "f"), k));
        f->ownerObj = table;
    }
    TObjQz* renamed = NewObj_Id(&doc, 2, oldName[0] ? oldName : PName("\x01M"), 2, false);
    TObjQz* method = NewObj_Id(&doc, 2, PName("\x04Main"), 1, false);
    ReplaceInProc(oldName, newName, renamed, table, 1, method);
    scratch.Use();
    ReplaceCommand(oldName, newName, 1, doc.fResFile);
    ReplaceTxtInProc(oldName, newName, 1, doc.fResFile);
    return 0;
}
