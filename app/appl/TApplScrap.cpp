// The exchange between the private clipboard and the system scrap, and the
// application's print record.
#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/appl/TAppl.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/drawing/PrintEmulation.h"
#include "toolbox/drawing/ScrapCalls.h"

using namespace platform;

namespace {

// Copied design objects first, then text, then pictures.
const uint32_t kScrapFlavours[] = {FourCC("XXXX"), FourCC("TEXT"), FourCC("PICT")};

}  // namespace

void TAppl::ApplGetScrap()
{
    if (!myScrapHasChanged()) return;
    mySaveScrapState();
    if (!fClipBoard) return;
    Handle data = NewHandle(2);
    if (!data) return;
    for (uint32_t flavour : kScrapFlavours) {
        const int32_t size = myGetScrap(data, flavour);
        if (size > 0) {
            fClipBoard->GetPrivateScrap(data, flavour, 0, size);
            break;
        }
    }
    DisposeHandle(data);
}

void TAppl::ApplPutScrap()
{
    if (!fScrapChanged) return;
    fScrapChanged = false;
    myZeroScrap();
    Handle data = NewHandle(2);
    if (data && fClipBoard) {
        for (uint32_t flavour : kScrapFlavours) {
            int32_t length = 0;
            if (fClipBoard->PutPrivateScrap(&length, flavour, data) != 0 || length <= 0) continue;
            // Never more than the handle holds.
            if (length > GetHandleSize(data)) length = int32_t(GetHandleSize(data));
            HLock(data);
            myPutScrap(length, flavour, *data);
            HUnlock(data);
        }
    }
    if (data) DisposeHandle(data);
    mySaveScrapState();
}

void TAppl::PageSetUp()
{
    PrOpen();
    if (fPrintRecord) PrStlDialog(fPrintRecord);
    PrClose();
}

void MakePrintRecord(TAppl* appl)
{
    const int16_t saved = CurResFile();
    PrOpen();
    if (PrError() == 0) {
        THPrint record = NewPrintRecord();
        if (record && PrError() == 0) {
            PrintDefault(record);
            appl->fPrintRecord = record;
        } else if (record) {
            DisposePrintRecord(record);
        }
    }
    PrClose();
    UseResFile(saved);
}
