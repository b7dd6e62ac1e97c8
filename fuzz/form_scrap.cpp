// Any bytes as what the clipboard may hold under the form flavours, put
// there by another program or an earlier run: the first 16 as an 'ObLQ'
// source record, the rest as an 'OBQz' chunk file of objects read as a
// paste reads it (a FORM 'OBJS'); the objects read are then copied back
// to a clipboard of the caller's, as a page of a form model.
#include <algorithm>
#include <cstdint>

#include "forms/model/LayoutEditor.h"
#include "forms/model/ScrapSource.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "forms/layout/PageTable.h"
#include "forms/reader/FormReader.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/Memory.h"
#include "toolbox/drawing/VScrap.h"

namespace {

class KeptScrap : public VScrap {
public:
    int32_t CountAvailableKinds() override { return 0; }
    bool IsKindAvailable(uint32_t) override { return false; }
    char** GetData(uint32_t) override { return nullptr; }
    int32_t GetDataSize(uint32_t) override { return 0; }
    bool PutData(uint32_t, const void*, int32_t size) override { return size >= 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20)) return 0;
    int16_t formId = 0;
    SourceRecordFile(data, int32_t(std::min<size_t>(size, kSourceRecordSize)), &formId);
    if (size <= size_t(kSourceRecordSize)) return 0;
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    scratch.Use();
    formTableCount = 3;
    InstallFormModelHooks();
    {
        LayoutEditor model(1, 0, 0);
        model.fPages = NewPageTable(1);
        model.fCurrentPage = 1;
        CustomClientFrame frame;
        InitFormReadingFrame(&frame, &model);
        platform::Handle image = nullptr;
        if (platform::PtrToHand(data + kSourceRecordSize, &image, platform::Size(size - kSourceRecordSize)) == 0) {
            ReadFormImage(image, &frame);
            platform::DisposeHandle(image);
        }
        // The objects read are on the pages; the paste takes each of them.
        for (int32_t p = 0; p <= LastPageIndex(frame.pages); ++p) {
            PageEntry page;
            if (!GetPage(frame.pages, p, &page)) continue;
            for (LayoutObject* o = page.first; o;) {
                LayoutObject* next = o->next;
                model.InsertObject(o, kAfterLastObject);
                o = next;
            }
        }
        if (frame.pages) platform::DisposeHandle(frame.pages);
        KeptScrap scrap;
        model.DoCopy(true, &scrap, nullptr);
    }
    ResetFormModelHooks();
    formTableCount = 0;
    return 0;
}
