// A method copied into another document and its links re-targeted: any
// tokens ('CCQz'), command descriptions ('APRM' of any id, marked in
// 'xPRM') and constants ('QzK#') stay inside their bytes, and the copy's
// code is either rewritten whole or left as copied. The input: the APRM's
// id, the APRM slice, the QzK# slice, then the method's code.
#include <cstdint>
#include <cstring>

#include "app/appl/Preferences.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/links/ParseLinkProc.h"
#include "transfer/movers/Movers.h"

using fuzz::PName;
using platform::FourCC;

namespace {

// A table with a field and a subtable, and a method named `name`.
TObjQz* Furnish(TMainDoc* doc, const char* name, int16_t methodId)
{
    auto* table = static_cast<TFileObjQz*>(NewCritObj(doc, 1, PName("\x01T"), 1));
    if (!table) return nullptr;
    table->tableNumber = 1;
    for (int16_t k = 1; k <= 2; ++k) {
        auto* f = static_cast<TStructObjQz*>(NewCritObj(doc, k == 2 ? 29 : 28, PName("\x01" "f"), k));
        if (!f) return nullptr;
        f->ownerObj = table;
        if (k == 1) static_cast<TCritObjQz*>(static_cast<TObjQz*>(f))->fieldNumber = 1;
    }
    return NewObj_Id(doc, 2, PName(name), methodId, false);
}

void MarkDescribed(int16_t command)
{
    Build_xPRM();
    platform::Handle bits = GetxPRM();
    if (!bits) return;
    const platform::Size need = command / 8 + 1;
    if (platform::GetHandleSize(bits) < need) {
        platform::SetHandleSize(bits, need);
        if (platform::MemError() != 0) return;
    }
    (*bits)[command / 8] = char(uint8_t((*bits)[command / 8]) | (0x80 >> (command % 8)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const int16_t command = int16_t(in.U16() % 1024);
    const fuzz::Bytes aprm = in.Slice(512);
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    TMainDoc& source = scratch.Doc();
    uint8_t record[44] = {};
    std::memcpy(record, "\x04Main", 5);
    platform::WriteBE16(record + 32, 1);
    scratch.Add(fuzz::Bytes(record, record + sizeof record), FourCC("TPQz"), 0);
    scratch.Add(in.Slice(1024), FourCC("QzK#"), 1);
    scratch.Add(in.Rest(), FourCC("CCQz"), 1);
    TObjQz* main = Furnish(&source, "\x04Main", 1);
    TObjQz* called = NewObj_Id(&source, 2, PName("\x01M"), 2, false);

    platform::ResourceFileImage image;
    platform::ResourceImage described;
    described.type = FourCC("APRM");
    described.id = command;
    described.data = aprm;
    image.resources.push_back(described);
    const int16_t aprmFile = platform::OpenResFileImageBelow(image);
    MarkDescribed(command);

    platform::FSSpec destSpec;
    platform::FSMakeFSSpec(fuzz::ScratchFolder() + "/dest.qzb", &destSpec);
    TMainDoc dest;
    dest.fResFile = createres(destSpec, FourCC("QzBw"), FourCC("QzDB"));
    if (dest.fResFile != 0 && NewTypeList(&dest.fTypeList) == 0) {
        TObjQz* destTable = Furnish(&dest, "\x01N", 2);
        C_ListHdl list = nullptr;
        if (main && called && destTable && transfer::NewC_List(&list, transfer::kC_ListRoom) == 0) {
            transfer::RecordC_Ref(called, SearchObj_Id(&dest, 2, 2), list);
            transfer::RecordC_Ref(source.fTypeList->lists[0]->At(0), dest.fTypeList->lists[0]->At(0), list);
            TObjQz* copy = nullptr;
            if (transfer::MoveProc(&source, &dest, main, &copy, nullptr) == 0 && copy) {
                useres(dest.fResFile);
                transfer::Parse_LinkProc(nullptr, copy->id, copy, &source, list);
            }
        }
        transfer::DisposeC_List(list);
        DisposeTypeList(dest.fTypeList);
    }
    if (aprmFile > 0) platform::CloseResFile(aprmFile);
    return 0;
}
