#include "toolbox/views/TextEditors.h"

int32_t gQuickTimeVersion = 0;
VFrameTextEdit* VFrameTextEdit::sSingleLine = nullptr;
VFrameTextEdit* VFrameTextEdit::sMultiLine = nullptr;

void VTeTextEditor::Init() {}

void VEditFrame::Init() {}

void VMlteTextEditor::Init() {}  // not available: nothing to start

VFrameTextEdit::~VFrameTextEdit() = default;

void VFrameTextEdit::InitDrawTextBox()
{
    if (!sSingleLine) sSingleLine = new VFrameTextEdit(false);
    if (!sMultiLine) sMultiLine = new VFrameTextEdit(true);
}

void QT_Init() { gQuickTimeVersion = 0; }

int32_t QT_GetVersion() { return gQuickTimeVersion; }

void InitTextEditors()
{
    VTeTextEditor::Init();
    VMlteTextEditor::Init();
    VEditFrame::Init();
}
