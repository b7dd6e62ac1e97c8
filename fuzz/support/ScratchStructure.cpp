#include "fuzz/support/ScratchStructure.h"

#include "design/objects/ObjList.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"

namespace fuzz {

ScratchStructure::ScratchStructure()
{
    ClearScratchFolder();
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(ScratchFolder() + "/structure.qzb", &fileSpec);
    ResetResManager();
    initresman();
    doc_.fResFile = createres(fileSpec, platform::FourCC("QzBw"), platform::FourCC("QzDB"));
    ready_ = doc_.fResFile != 0 && NewTypeList(&doc_.fTypeList) == 0;
}

ScratchStructure::~ScratchStructure()
{
    if (ready_) DisposeTypeList(doc_.fTypeList);
    ResetResManager();
}

void ScratchStructure::Add(const Bytes& bytes, uint32_t type, int16_t id)
{
    platform::Handle h = nullptr;
    if (platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())) != 0) return;
    if (!xaddres(h, type, id)) platform::DisposeHandle(h);
}

void ScratchStructure::Use() const { useres(doc_.fResFile); }

}  // namespace fuzz
