#include "toolbox/views/TextEditors.h"

#include "platform/core/FourCC.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/textedit/MultilingualText.h"

int32_t gQuickTimeVersion = 0;
VInlineUpdateProc VTeTextEditor::sPreUpdate = nullptr;
VInlineUpdateProc VTeTextEditor::sPostUpdate = nullptr;
VInlineUpdateProc VEditFrame::sPreUpdate = nullptr;
VInlineUpdateProc VEditFrame::sPostUpdate = nullptr;
bool VMlteTextEditor::sTested = false;
bool VMlteTextEditor::sAvailable = false;
bool VMlteTextEditor::sStarted = false;

namespace {

void ZonePreUpdate(void* refcon)
{
    if (auto* zone = static_cast<VTeTextEditor::VTeTextZone*>(refcon)) zone->BeginInlineUpdate();
}

void ZonePostUpdate(void* refcon)
{
    if (auto* zone = static_cast<VTeTextEditor::VTeTextZone*>(refcon)) {
        zone->EndInlineUpdate();
        zone->RefreshOwner();
    }
}

void FramePreUpdate(void*) {}

void FramePostUpdate(void* refcon)
{
    if (auto* frame = static_cast<VEditFrame*>(refcon)) frame->SetChanged(true);
}

}  // namespace

void VTeTextEditor::Init()
{
    sPreUpdate = ZonePreUpdate;
    sPostUpdate = ZonePostUpdate;
}

void VEditFrame::Init()
{
    sPreUpdate = FramePreUpdate;
    sPostUpdate = FramePostUpdate;
}

bool VMlteTextEditor::IsAvailable()
{
    if (!sTested) {
        int32_t version = 0;
        sAvailable = platform::Gestalt(platform::FourCC("sysv"), &version) == platform::noErr && version > 0x08FF;
        sTested = true;
    }
    return sAvailable;
}

void VMlteTextEditor::Init()
{
    if (sStarted || !IsAvailable()) return;
    // One default: the system font at its default size, encoding and face.
    const platform::TXNMacOSPreferredFontDescription defaults{0, -1, platform::TextEncoding(-3),
                                                              platform::Style(-1)};
    const platform::OSStatus err = platform::TXNInitTextension(&defaults, 1, 0);
    sStarted = err == platform::noErr || err == platform::kTXNAlreadyInitializedErr;
}

void VMlteTextEditor::ResetForTesting()
{
    sTested = sAvailable = sStarted = false;
}

void QT_Init()
{
    int32_t version = 0;
    gQuickTimeVersion = platform::Gestalt(platform::FourCC("qtim"), &version) == platform::noErr ? version : 0;
}

int32_t QT_GetVersion() { return gQuickTimeVersion; }

void InitTextEditors()
{
    VTeTextEditor::Init();
    VMlteTextEditor::Init();
    VEditFrame::Init();
}
