// The one-time start-up of the text editors and of the shared frames that
// draw text boxes, and the movie service's version.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

// Classic text zones and edit frames register their text-services
// callbacks here; this platform has no inline-input text services, so
// there is nothing to install them into.
class VTeTextEditor {
public:
    static void Init();
};

class VEditFrame {
public:
    static void Init();
};

// The multilingual text editor is not available on this platform.
class VMlteTextEditor {
public:
    static bool IsAvailable() { return false; }
    static void Init();
};

// The two shared text-edit frames (single-line and multi-line) that draw
// text boxes, made on the first call only.
class VFrameTextEdit : public VObject {
public:
    explicit VFrameTextEdit(bool multiLine) : fMultiLine(multiLine) {}
    ~VFrameTextEdit() override;
    bool IsMultiLine() const { return fMultiLine; }

    static void InitDrawTextBox();
    static VFrameTextEdit* GetDrawTextBox(bool multiLine) { return multiLine ? sMultiLine : sSingleLine; }

private:
    bool fMultiLine;
    static VFrameTextEdit* sSingleLine;
    static VFrameTextEdit* sMultiLine;
};

// The movie service's version; 0: there is none.
extern int32_t gQuickTimeVersion;
void QT_Init();
int32_t QT_GetVersion();

// Start-up's step: the classic editor, the multilingual one, edit frames.
void InitTextEditors();
