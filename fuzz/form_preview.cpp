// Any bytes as a form's 'FOQz' previewed as the preview pane does
// (BuildPreview in each display type, the inherited forms "A" and "B" of
// every table being the same bytes), at a width and height cut to 256.
#include <cstdint>
#include <vector>

#include "forms/drawing/FormPreview.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/pictures/Pictures.h"

namespace {

platform::Handle gForms = nullptr;

// A form list naming "A" form 1 and "B" form 2.
platform::Handle FormList()
{
    std::vector<uint8_t> b(6 + 2 * 270, 0);
    b[1] = 2;
    for (int i = 0; i < 2; ++i) {
        uint8_t* e = b.data() + 6 + i * 270;
        e[0] = 1, e[1] = uint8_t('A' + i), e[33] = uint8_t(i + 1);
    }
    platform::Handle h = platform::NewHandle(platform::Size(b.size()));
    if (h) std::copy(b.begin(), b.end(), reinterpret_cast<uint8_t*>(*h));
    return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2 || size > (1 << 20)) return 0;
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    const fuzz::Bytes form(data + 2, data + size);
    scratch.Add(form, platform::FourCC("FOQz"), 1);
    scratch.Add(form, platform::FourCC("FOQz"), 2);
    scratch.Use();
    formTableCount = 3;
    gForms = FormList();
    SetTableFormListProc([](int16_t) { return gForms; });
    InstallFormModelHooks();
    for (int16_t type : {kDisplayDrawing, kDisplayOutline, kDisplayText}) {
        LayoutEditor model(1, 0, 0);
        model.ReadLayout();
        if (type == kDisplayText) model.GotoPage(2, 0);
        model.fInfo.sizeObjectName[0] = 0;
        model.fInfo.hSize = int16_t(1 + data[0]);
        model.fInfo.vSize = int16_t(1 + data[1]);
        if (platform::Handle picture = NewBuildPictFromLayout(&model, type)) platform::KillPicture(picture);
    }
    ResetFormModelHooks();
    SetTableFormListProc(nullptr);
    if (gForms) platform::DisposeHandle(gForms);
    gForms = nullptr;
    formTableCount = 0;
    return 0;
}
