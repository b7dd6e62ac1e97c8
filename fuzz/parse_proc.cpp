// A method's stored tokens ('CCQz') as the method object walks them for
// its links: any line count, line length, token kind, text length, field
// path or plug-in and constant reference stays inside the blob, its lines
// and the token. The input: a 'QzK#' slice, then the blob.
#include <cstdint>

#include "app/MainDoc.h"
#include "design/ObjFactory.h"
#include "design/ObjKinds.h"
#include "design/TokenAccess.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"

using platform::FourCC;

namespace {

void Add(const fuzz::Bytes& b, uint32_t type, int16_t id)
{
    platform::Handle h = nullptr;
    if (platform::PtrToHand(b.data(), &h, platform::Size(b.size())) != 0) return;
    if (!xaddres(h, type, id)) platform::DisposeHandle(h);
}

const unsigned char* Name(const char* text) { return reinterpret_cast<const unsigned char*>(text); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    fuzz::ClearScratchFolder();
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(fuzz::ScratchFolder() + "/structure.qzb", &fileSpec);
    ResetResManager();
    initresman();
    TMainDoc doc;
    doc.fResFile = createres(fileSpec, FourCC("QzBw"), FourCC("QzDB"));
    if (doc.fResFile != 0 && NewTypeList(&doc.fTypeList) == 0) {
        Add(in.Slice(1024), FourCC("QzK#"), 1);
        Add(in.Rest(), FourCC("CCQz"), 1);
        useres(doc.fResFile);
        auto* table = static_cast<TFileObjQz*>(NewCritObj(&doc, 1, Name("\x01T"), 1));
        table->tableNumber = 1;
        for (int16_t k = 1; k <= 2; ++k) {
            auto* f = static_cast<TStructObjQz*>(NewCritObj(&doc, k == 2 ? 29 : 28, Name("\x01" "f"), k));
            f->ownerObj = table;
        }
        NewObj_Id(&doc, 2, Name("\x01M"), 2, false);
        TObjQz* method = NewObj_Id(&doc, 2, Name("\x04Main"), 1, false);
        ParseProc(table, 1, method);
        DisposeTypeList(doc.fTypeList);
    }
    ResetResManager();
    return 0;
}
