#include "toolbox/views/VTSMTEDoc.h"

#include "toolbox/foundation/system/VSystem.h"

int32_t VTSMTEDoc::sOpen = 0;

VTSMTEDoc::VTSMTEDoc(uint8_t flag) : fFlag(flag) { ++sOpen; }

VTSMTEDoc::~VTSMTEDoc() { --sOpen; }

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
