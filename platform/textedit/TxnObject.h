// Inside the multilingual face: the object behind a TXNObject, its undo
// stack, its scroll bars, and the entry wrapper. Shared by the face's files.
#pragma once

#include <new>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/textedit/MultilingualText.h"
#include "platform/textedit/TextEngine.h"

namespace platform {

// One undoable change: [from, from + removed) became `inserted`.
struct TxnAction {
    TXNActionKey kind = kTXNTypingAction;
    int32_t from = 0;
    StyledFragment removed;
    StyledFragment inserted;
};

struct OpaqueTXNObject {
    explicit OpaqueTXNObject(const TextAttributes& base) : engine(base), base(base) {}
    TextEngine engine;
    TextAttributes base;
    WindowRef window = nullptr;
    Rect32 frame{0, 0, 0, 0};
    TXNFrameOptions options = 0;
    TXNObjectRefcon refcon = nullptr;
    bool vbar = false, hbar = false;
    bool mono = false;
    bool focused = false;
    bool barsAlwaysActive = false;
    // Controls.
    uint32_t lineDirection = 0, readOnly = 0, drawSelectionInactive = 0, wordWrap = 0, selectable = 1,
             keyboardSync = 0, visible = 1, justification = kTXNFlushDefault;
    char16_t echo = 0;
    std::vector<TxnAction> undo, redo;
    bool typingOpen = false;  // the last typing action may grow
    // The text the last action put in place: 1 the top undo record's
    // inserted text, 2 (after an undo) the top redo record's removed text,
    // 0 none. An unrecorded change inside it amends that record.
    int32_t placed = 0;
    // A destination wider than the view (0: as wide as the view).
    int32_t destWidth = 0;
};

namespace txn {

constexpr int32_t kBarWidth = 16;

// Re-reads the frame, bars and controls into the engine's geometry.
void ApplyGeometry(TXNObject o);
// The scroll bars: their rectangles, drawing, and tracking a press.
bool VerticalBar(TXNObject o, Rect32* r);
bool HorizontalBar(TXNObject o, Rect32* r);
void DrawBars(TXNObject o);
bool TrackBars(TXNObject o, int32_t h, int32_t v);
// Records an edit made through the calls (not typing) for undo.
void RecordEdit(TXNObject o, TXNActionKey kind, int32_t from, int32_t to, const StyledFragment& inserted);
void TypingHook(void* refCon, int32_t from, int32_t to, const std::u16string& typed);
// Replaces [from, to) and keeps undo, selection and scrolling in step.
void Edit(TXNObject o, TXNActionKey kind, int32_t from, int32_t to, const StyledFragment& inserted);

template <class F>
OSStatus Guard(TXNObject o, F call)
{
    if (!o) return paramErr;
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

}  // namespace txn

}  // namespace platform
