// Stored styles of the text editor on hostile bytes: the style record and
// table loaded into a styled record's handles, and a 'styl' scrap pasted.
// Input: a slice of Mac Roman text, a slice of style record, a slice of
// style table, then the scrap.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/scrap/Scrap.h"
#include "platform/textedit/StyleLayouts.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

namespace {

void Check(bool ok)
{
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const fuzz::Bytes text = in.Slice(40000);
    const fuzz::Bytes record = in.Slice(8192);
    const fuzz::Bytes table = in.Slice(8192);
    const fuzz::Bytes scrap = in.Rest();
    const int32_t length = int32_t(std::min<size_t>(text.size(), kTEMaxLength));

    // A record that reads is sound, and writes back to what reads the same.
    std::vector<StyleRun> runs;
    std::vector<StyleSlot> slots;
    if (ReadStoredStyles(record.data(), record.size(), table.data(), table.size(), length, &runs, &slots, nullptr)) {
        Check(!runs.empty() && runs.front().start == 0);
        for (size_t i = 0; i < runs.size(); ++i) {
            Check(runs[i].style >= 0 && size_t(runs[i].style) < slots.size());
            Check(i == 0 || (runs[i].start > runs[i - 1].start && runs[i].start < length));
        }
        const auto rec2 = WriteStyleRecord(runs, length, 0, int32_t(slots.size()));
        const auto tab2 = WriteStyleTable(slots);
        std::vector<StyleRun> runs2;
        std::vector<StyleSlot> slots2;
        Check(ReadStoredStyles(rec2.data(), rec2.size(), tab2.data(), tab2.size(), length, &runs2, &slots2, nullptr));
        Check(runs2.size() == runs.size());
    }

    // The same bytes in a live record's handles, as a document loads them.
    Rect r{0, 0, 200, 300};
    TEHandle te = TEStyleNew(&r, &r);
    if (!te) return 0;
    PtrToXHand(text.data(), (*te)->hText, Size(text.size()));
    (*te)->teLength = int16_t(uint16_t(text.size()));
    PtrToXHand(record.data(), TEGetStyleHandle(te), Size(record.size()));
    PtrToXHand(table.data(), TEGetStyleTableHandle(te), Size(table.size()));
    TECalText(te);
    Check((*te)->teLength >= 0 && (*te)->teLength <= kTEMaxLength);
    Check(GetHandleSize((*te)->hText) == (*te)->teLength);
    Check(ReadBES16(*TEGetStyleHandle(te)) >= 1);

    // The scrap pasted with its styles, at the end and over everything.
    ClearCurrentScrap();
    ScrapRef ref = nullptr;
    GetCurrentScrap(&ref);
    PutScrapFlavor(ref, FourCC("TEXT"), 0, Size(std::min<size_t>(text.size(), 512)), text.data());
    PutScrapFlavor(ref, FourCC("styl"), 0, Size(scrap.size()), scrap.data());
    std::vector<std::pair<int32_t, TextAttributes>> pasted;
    if (ReadStyleScrap(scrap.data(), scrap.size(), int32_t(std::min<size_t>(text.size(), 512)), &pasted))
        for (size_t i = 1; i < pasted.size(); ++i) Check(pasted[i].first > pasted[i - 1].first);
    TESetSelect(32767, 32767, te);
    TEStylePaste(te);
    TESetSelect(0, 32767, te);
    TEStylePaste(te);
    Check((*te)->teLength <= kTEMaxLength);
    TEDispose(te);
    ResetScrap();
    ResetTextEdit();
    return 0;
}
