// The copy of a form page to the clipboard (LayoutEditor::DoCopy): a page
// of 10,000 objects (rectangles, static texts, and fields with entry
// attributes), or the count given, written as 'OBQz' (FORM 'OBJS') with its
// source record to a clipboard that keeps the bytes, beside a loop that
// follows the same image's chunk headers and copies each chunk's data with
// memcpy: the least any writer of those bytes does. The same at ten times
// the objects gives the growth exponents of both (1 is linear). Times are
// medians of 11 in processor time. The picture is not part of it: forms
// are not drawn here.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/BenchTiming.h"
#include "forms/layout/PageTable.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"
#include "toolbox/drawing/VScrap.h"

namespace {

class KeptScrap : public VScrap {
public:
    int32_t CountAvailableKinds() override { return int32_t(kept.size()); }
    bool IsKindAvailable(uint32_t) override { return false; }
    char** GetData(uint32_t) override { return nullptr; }
    int32_t GetDataSize(uint32_t) override { return 0; }
    bool PutData(uint32_t, const void* data, int32_t size) override
    {
        kept.emplace_back(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
        return true;
    }
    std::vector<std::vector<uint8_t>> kept;
};

void Fill(LayoutEditor* model, int32_t count)
{
    model->fPages = NewPageTable(1);
    model->fCurrentPage = 1;
    for (int32_t i = 0; i < count; ++i) {
        LayoutObject* o = nullptr;
        if (i % 3 == 0) {
            o = new RectObject(model);
        } else if (i % 3 == 1) {
            auto* t = new TextObject(model);
            o = t;
        } else {
            auto* f = new FieldObject(model);
            f->entryAttributes = platform::NewHandleClear(kSaisieAttSize);
            f->fieldNumber = 1;
            o = f;
        }
        const int16_t top = int16_t(10 + (i % 1000) * 24);
        const int16_t b[4] = {top, 10, int16_t(top + 20), 210};
        std::memcpy(o->bounds, b, sizeof b);
        o->themes.Append(i);
        model->InsertObject(o, kAfterLastObject);
    }
}

// Copies each chunk's data of the FORM image with memcpy.
size_t CopyChunks(const std::vector<uint8_t>& image, std::vector<uint8_t>* out)
{
    size_t copied = 0;
    for (size_t at = 12; at + 8 <= image.size();) {
        const size_t size = platform::ReadBE32(image.data() + at + 4);
        if (at + 8 + size > image.size()) break;
        std::memcpy(out->data() + copied, image.data() + at + 8, size);
        copied += size;
        at += 8 + size + (size & 1);
    }
    return copied;
}

struct Figures {
    double ours, peer;
    size_t bytes;
    bool failed;
};

Figures Measure(int32_t count)
{
    LayoutEditor model(1, 0, 0);
    Fill(&model, count);
    std::vector<uint8_t> image;
    bool failed = false;
    const double ours = bench::MedianCpuMs(11, [&] {
        KeptScrap scrap;
        if (!model.DoCopy(true, &scrap, nullptr) || scrap.kept.empty()) {
            if (!failed) std::fprintf(stderr, "form_copy_bench: the copy of %d objects failed: %d\n", count, model.fCopyError);
            failed = true;
        }
        if (!scrap.kept.empty()) image = scrap.kept.front();
    });
    std::vector<uint8_t> out(image.size());
    size_t copied = 0;
    const double peer = bench::MedianCpuMs(11, [&] { copied = CopyChunks(image, &out); });
    (void)copied;
    return {ours, peer, image.size(), failed};
}

}  // namespace

int main(int argc, char** argv)
{
    const int32_t count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    initresman();
    InstallFormModelHooks();
    const Figures small = Measure(count), large = Measure(count * 10);
    if (small.failed || large.failed) {
        ResetFormModelHooks();
        return 1;
    }
    std::printf("form_copy_bench: a page of %d objects, %zu bytes of 'OBQz'\n", count, small.bytes);
    std::printf("  DoCopy                %9.3f ms\n", small.ours);
    std::printf("  chunk headers + copy  %9.3f ms  ratio %6.1f\n", small.peer,
                small.peer > 0 ? small.ours / small.peer : 0.0);
    auto e = [](double a, double b) { return a > 0 ? std::log(b / a) / std::log(10.0) : 0.0; };
    std::printf("  %d objects: DoCopy %9.3f ms, growth exponent %.2f\n", count * 10, large.ours,
                e(small.ours, large.ours));
    std::printf("  %d objects: chunk headers + copy %9.3f ms, growth exponent %.2f\n", count * 10, large.peer,
                e(small.peer, large.peer));
    ResetFormModelHooks();
    return 0;
}
