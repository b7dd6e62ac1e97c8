// The one-time start-up of the text editors and of the shared frames that
// draw text boxes, the inline-input routines of classic text records, and
// the movie service's version.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"
#include "toolbox/views/VFrameTextEdit.h"

// An inline-input update routine of a classic text record: called before
// or after the input method changes the record, with the record's
// reference value (the zone or frame that owns it, or null).
using VInlineUpdateProc = void (*)(void* refcon);

class VTeTextEditor {
public:
    // A classic text zone: told when an inline-input update begins and
    // ends; its owner is then refreshed.
    class VTeTextZone {
    public:
        virtual ~VTeTextZone() = default;
        virtual void BeginInlineUpdate() = 0;
        virtual void EndInlineUpdate() = 0;
        virtual void RefreshOwner() = 0;
    };

    // Makes the class's pre-update and post-update routines.
    static void Init();
    static VInlineUpdateProc GetPreUpdateProc() { return sPreUpdate; }
    static VInlineUpdateProc GetPostUpdateProc() { return sPostUpdate; }

private:
    static VInlineUpdateProc sPreUpdate;
    static VInlineUpdateProc sPostUpdate;
};

class VEditFrame {
public:
    virtual ~VEditFrame() = default;
    virtual void SetChanged(bool changed) { fChanged = changed; }
    bool IsChanged() const { return fChanged; }

    // Makes the class's pre-update (does nothing) and post-update (marks
    // the frame changed) routines.
    static void Init();
    static VInlineUpdateProc GetPreUpdateProc() { return sPreUpdate; }
    static VInlineUpdateProc GetPostUpdateProc() { return sPostUpdate; }

private:
    bool fChanged = false;
    static VInlineUpdateProc sPreUpdate;
    static VInlineUpdateProc sPostUpdate;
};

// The platform's multilingual text editor: available on systems above 8.x,
// started once.
class VMlteTextEditor {
public:
    // Tested once and remembered.
    static bool IsAvailable();
    // Starts the editor when it is available (once; later calls do nothing).
    static void Init();
    static bool IsStarted() { return sStarted; }
    // Forgets the test and the start (tests that change the system version).
    static void ResetForTesting();

private:
    static bool sTested;
    static bool sAvailable;
    static bool sStarted;
};

// The movie service's version ('qtim'); 0: there is none.
extern int32_t gQuickTimeVersion;
void QT_Init();
int32_t QT_GetVersion();

// Start-up's step: the classic editor, the multilingual one, edit frames.
void InitTextEditors();
