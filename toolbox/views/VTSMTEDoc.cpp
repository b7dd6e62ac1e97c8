#include "toolbox/views/VTSMTEDoc.h"

#include "toolbox/foundation/system/VSystem.h"

int32_t VTSMTEDoc::sOpen = 0;
VTSMTEDoc* VTSMTEDoc::sCurrentTSMDoc = nullptr;

VTSMTEDoc::VTSMTEDoc(uint8_t flag) : fFlag(flag)
{
    const platform::OSType types[1] = {platform::kUnicodeDocumentInterfaceType};
    if (platform::NewTSMDocument(1, types, &fDocID, this) != platform::noErr) fDocID = nullptr;
    ++sOpen;
}

VTSMTEDoc::~VTSMTEDoc()
{
    if (fDocID) platform::DeleteTSMDocument(fDocID);
    if (sCurrentTSMDoc == this) sCurrentTSMDoc = nullptr;
    --sOpen;
}

namespace {

VTSMTEDoc* MakeDoc(uint8_t flag) { return new VTSMTEDoc(flag); }
void DisposeDoc(VTSMTEDoc* doc) { delete doc; }

}  // namespace

void InstallTextServicesDoc()
{
    VTextServicesDocMakers makers;
    makers.make = MakeDoc;
    makers.dispose = DisposeDoc;
    SetTextServicesDocMakers(makers);
}
