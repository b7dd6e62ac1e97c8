// The wait dialog of long operations: a message, a progress bar and a Stop
// button, shown once its delay has passed. ChkWait, called between items,
// takes at most one event every 20 ticks (the menu bar, dragging the
// dialog, window updates, Stop and Command-period) and answers true once
// the person asked to stop; the operation then ends with 1001.
// High-level events are left queued for the main loop.
//
// Dialog items: 1 Stop, 2 the progress bar (0 to 100), 3 a text of
// 'STR#' 1011, 4 the message area.
#pragma once

#include <cstdint>

#include "platform/dialogs/Dialogs.h"

struct WaitParamRec {
    int32_t start = 0;
    int32_t current = 0;
    int32_t maximum = 0;
    uint8_t cancelled = 0;
    uint8_t showMessage = 0;
    platform::DialogRef dialog = nullptr;
    platform::Rect stopArea{0, 0, 0, 0};
    platform::Rect progressArea{0, 0, 0, 0};
    uint32_t lastPoll = 0;
    uint32_t showAt = 0;       // 0: shown already, or never to be shown
    int16_t shownPercent = 0;  // what the bar showed last
    // The latest message, drawn at most once a tick and never while the
    // dialog is hidden: a read sends one per object, far faster than a
    // screen can show them. Pending until drawn.
    unsigned char message[256] = {0};
    bool messagePending = false;
    bool messageDrawn = false;   // drawnAt holds a tick
    uint32_t drawnAt = 0;
};

constexpr int16_t kCancelledByUser = 1001;

// Delay in ticks: 0 shows it at once, negative never.
void SetWaitDialog(WaitParamRec* rec, int16_t messageIndex, const unsigned char* title, int32_t start,
                   int32_t maximum, int16_t dialogId, int32_t delay);
bool ChkWait(WaitParamRec* rec, bool flag = false);
// Keeps the text as the dialog's message; draws it when the dialog is
// visible and the clock has moved since the last drawing. The last text
// given is drawn by the time the dialog shows or goes.
void WaitMess(WaitParamRec* rec, const unsigned char* text);
// current x 100 / maximum in 64 bits, 0 to 100; 0 for a maximum of 0 or less.
int16_t WaitPercent(const WaitParamRec& rec);
void DrawWait(WaitParamRec* rec);
void DrawWaitDialog(WaitParamRec* rec);
void ReSetWaitDialog(WaitParamRec* rec, bool flag = false);
