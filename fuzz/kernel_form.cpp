// Any bytes as a form's 'FOQz' loaded into kernel records (getform with
// inherited forms) on a scratch structure: the same bytes are stored as
// forms A (id 1) and B (id 2) of table 1, so that a form inheriting A or B
// chains through itself. Every record of every page is then walked, groups
// entered, clicks are looked up at points taken from the input as a
// preview's clicks are, and the form freed.
#include <algorithm>
#include <cstdint>

#include "forms/kernel/KernelForm.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"

namespace {

constexpr int32_t kMaxGroupDepth = 80;

fuzz::Bytes FormList()
{
    fuzz::Bytes b(6 + 2 * 270, 0);
    b[1] = 2;
    const char* names[2] = {"A", "B"};
    for (int i = 0; i < 2; ++i) {
        uint8_t* e = &b[size_t(6 + i * 270)];
        e[0] = 1, e[1] = uint8_t(names[i][0]);
        e[33] = uint8_t(i + 1);
    }
    return b;
}

platform::Handle gList = nullptr;

// Reads what a drawing or a click would read of each record.
int32_t Walk(ObjHandle first, ObjHandle last, int32_t depth)
{
    int32_t n = 0;
    for (ObjHandle h = first; h && depth < kMaxGroupDepth; h = h == last ? nullptr : ObjNext(h)) {
        const platform::Rect r = ObjBounds(h);
        n += r.top + ObjKind(h) + RecWord(h, objrec::kOriginForm);
        if (ObjKind(h) == objrec::kGroup) n += Walk(ObjLink(h), nullptr, depth + 1);
    }
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20)) return 0;
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    const fuzz::Bytes form(data, data + size);
    scratch.Add(form, platform::FourCC("FOQz"), 1);
    scratch.Add(form, platform::FourCC("FOQz"), 2);
    scratch.Use();
    const fuzz::Bytes list = FormList();
    platform::PtrToHand(list.data(), &gList, platform::Size(list.size()));
    formTableCount = 1;
    SetTableFormListProc([](int16_t) { return gList; });
    getform(1, nullptr, true);
    if (debutform) {
        int32_t n = 0;
        for (int32_t p = 0; p <= FormPageCount(debutform); ++p) {
            ObjHandle first = nullptr, last = nullptr;
            if (FormPage(debutform, p, &first, &last)) n += Walk(first, last, 0);
        }
        Walk(GotoPage(debutform, 1), nullptr, 0);
        // Clicks at points the input's bytes give, on pages 1 and past
        // the last (capped), and the active objects' texts.
        const int16_t pages = FormPageCount(debutform);
        for (size_t i = 0; i + 4 <= size && i < 64; i += 4) {
            const platform::Point where{int16_t(data[i] << 2 | data[i + 1] >> 6), int16_t(data[i + 2] << 2 | data[i + 3] >> 6)};
            const int16_t page = int16_t(1 + data[i + 1] % std::max<int16_t>(pages, 1));
            if (ObjHandle hit = FindObjAt(GotoPage(debutform, page), where)) n += ObjKind(hit);
            int16_t number = int16_t(data[i + 3] & 15);
            ObjHandle first = nullptr, last = nullptr;
            if (FormPage(debutform, page, &first, &last) && FindNthVariable(first, last, &number)) ++n;
        }
        GotoPage(debutform, 0);
        (void)n;
    }
    effform(&debutform);
    SetTableFormListProc(nullptr);
    formTableCount = 0;
    platform::DisposeHandle(gList);
    gList = nullptr;
    return 0;
}
