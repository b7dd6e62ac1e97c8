// Reading the form into the model. Every layout is read bounded by the
// resource: the chunk file through the form reader, the flat layouts
// record by record (ReadLayoutData).
//
// Paged flat layout, big-endian:
//   0  1  13         1  1  spare       2  2  page count P (below 1: none)
//   4  ..  pages 1 to P, each a run of records ended by a type word 0
// The oldest layout is one such run from byte 0. A form reads whole when
// every run ends at its type word 0 and no byte is left after the last.
#include <algorithm>
#include <cstring>

#include "forms/layout/PageTable.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/LayoutObject.h"
#include "forms/reader/FlatLayout.h"
#include "forms/reader/FormReader.h"
#include "kernel/formhooks/FormSession.h"
#include "kernel/store/StoreAccess.h"
#include "looks/LookManager.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr uint32_t kFormType = platform::FourCC("FOQz");
constexpr uint8_t kPagedTag = 13;
constexpr int32_t kPagedHeader = 4;
constexpr uint32_t kReadingScriptFlags = 0x1800;

bool IsChunkFile(const char* data, int32_t size)
{
    return size >= 4 && (std::memcmp(data, "FORM", 4) == 0 || std::memcmp(data, "MROF", 4) == 0);
}

// The resource, got from `file` made current for the time of the call.
platform::Handle FormResource(int16_t file, int16_t id, bool* lockObtained)
{
    const int16_t current = xcurres();
    if (file > 0 && file != current) useres(file);
    platform::Handle h = nullptr;
    if (testlockres) {
        testlockres = 0;
        bool locked = false;
        h = xgetreslock(kFormType, id, &locked, true);
        *lockObtained = locked;
    } else {
        h = xget1res(kFormType, id);
        *lockObtained = true;
    }
    if (file > 0 && file != current) useres(current);
    return h;
}

}  // namespace

bool LayoutEditor::ReadFlat(char* data, int32_t size, bool paged)
{
    fInfo.scriptFlags[0] = 0x1EBD3FFF;
    fInfo.scriptFlags[1] = 0;
    fInfo.optionA = fInfo.optionB = fInfo.optionC = fInfo.optionD = 0;
    fInfo.lastByte = 0;
    int16_t pages = 1;
    if (paged) {
        if (size < kPagedHeader) {
            EmptyOnePage();
            return false;
        }
        pages = int16_t(platform::ReadBE16(data + 2));
        data += kPagedHeader;
        size -= kPagedHeader;
        // Without pages the form is one empty page; records it would hold
        // are not read, and it does not count as read whole.
        if (pages < 1) {
            EmptyOnePage();
            return size == 0;
        }
    }
    fPages = NewPageTable(std::max<int16_t>(pages, 1));
    if (!fPages) return false;
    bool ended = true;
    for (int32_t p = 1; p <= pages && size > 0; ++p) {
        LayoutObject* last = nullptr;
        LayoutObject* first = ReadLayoutData(&data, &size, this, &last);
        SetPage(fPages, p, PageEntry{first, last});
        if (size < 0) {
            EmptyOnePage();
            return false;
        }
        // A run ends at a type word 0; one ended by a type no object
        // reads left its records unread.
        if (size >= 2 && data[-2] != 0) ended = false;
    }
    // Whole: every run ended as stored and no byte is left unread.
    return ended && size == 0;
}

bool LayoutEditor::ReadLayout()
{
    bool locked = false;
    const int16_t file = fResFile > 0 ? fResFile : numresfalse;
    platform::Handle res = FormResource(file, fFormId, &locked);
    fLockObtained = locked ? 1 : 0;
    if (!res || !*res) return false;
    hlockres(res);
    hunpurgeres(res);
    checkBadFieldErr = 1;
    ResetObjIndex();
    fInfo.scriptFlags[0] |= kReadingScriptFlags;
    DestroyPages();
    char* data = *res;
    const int32_t size = int32_t(platform::GetHandleSize(res));
    bool whole = true;
    if (IsChunkFile(data, size)) {
        CustomClientFrame frame;
        InitFormReadingFrame(&frame, this);
        frame.layoutInfo = fInfo;
        const uint16_t khpr[6] = {0, 0, 0, 0, 0xFFFF, 0xFFFF};
        std::copy(khpr, khpr + 6, frame.layoutInfo.khpr);
        const IFFP result = ReadFormImage(res, &frame);
        whole = result == IFF_OKAY || result == IFF_DONE;
        if (fOverride) std::fill(frame.layoutInfo.layerFlag1, frame.layoutInfo.layerFlag1 + kLayerCount, 1);
        fInfo = frame.layoutInfo;
        if (whole) {
            fPages = frame.pages;
            // Page 1 is current after reading: a form of page 0 alone gets an
            // empty page 1.
            if (LastPageIndex(fPages) < 1) {
                PageEntry shared;
                GetPage(fPages, 0, &shared);
                platform::DisposeHandle(fPages);
                fPages = NewPageTable(1);
                SetPage(fPages, 0, shared);
                if (!fPages) DestroyObjects(shared.first);
            }
            fLookNumber = int16_t(fInfo.look);
            fLookHandler = VI_Manager::GetHandler(fLookNumber);
        }
    } else {
        whole = ReadFlat(data, size, size >= 1 && uint8_t(data[0]) == kPagedTag);
    }
    std::copy(objIndex4Name, objIndex4Name + kNamingCounters, fCounters);
    fCurrentPage = 1;
    LoadCurrentPage();
    hunlockres(res);
    hpurgeres(res);
    fEditableByVersion = fInfo.versionLong == 0 || fOverride ? 1 : 0;
    fMayModify = fLockObtained && fEditableByVersion ? 1 : 0;
    return whole && fPages != nullptr;
}
