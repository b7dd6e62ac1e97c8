// The two editor panes: the documentation editor (the one pane of a
// documentation window) and the string-list editor (the one pane of a
// string-list window). Each edits one text-edit record with cut, copy,
// paste, clear, select all and a one-level undo kept in two scratch records
// of its window; the documentation pane adds fonts, sizes, faces and
// colours, a three-state mark and the server lock, the string pane a
// column of numbered boxes, one string each, with add, insert and delete.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "browser/Panes.h"
#include "platform/controls/Controls.h"
#include "platform/menus/Menus.h"
#include "platform/textedit/TextEdit.h"

class TEditWindow;

namespace browser {

// Undo codes of the text panes (the window's undo record, text index 1).
enum : int16_t {
    kUndoNothing = 2,
    kUndoRedoTyping = 5,
    kUndoTyping = 100,
    kUndoCut = 8,
    kUndoCopy = 10,
    kUndoPaste = 12,
    kUndoClear = 14,
    kUndoStyle = 18,
};

constexpr int16_t kStyleMenuId = 1001;
constexpr int16_t kStringMenuId = 1000;
constexpr int32_t kMaxDocText = 32767;

// Copies text, length and selection, and between styled records the style
// record and the contents of the style table, keeping the target's own
// handles. False when memory runs short: the target is then unchanged.
bool TextEditCopy(platform::TEHandle from, platform::TEHandle to);

// Undo's exchange of an editor's text with the window's two scratch records:
// the text kept in `saved` comes back, the text as it is now goes to `saved`
// for a redo, and the scrap kept in `scrap` returns to the clipboard while
// the clipboard as it is now is kept there. False when memory runs short
// before the text is replaced: nothing changed. *keptForRedo is false when
// the text before could not be kept. An empty kept scrap empties the
// clipboard, and with `emptyText` leaves an empty text flavour on it.
bool SwapUndoText(platform::TEHandle te, platform::TEHandle scrap, platform::TEHandle saved, bool styled,
                  bool emptyText, bool* keptForRedo);
// The window's undo after an undo: the redo of the same step, or nothing to
// undo when the text before it was lost.
void TurnUndo(platform::Handle undo, bool keptForRedo);

// Tells the user that a paste met the editor's limit: 'STR#' 1036 item
// `item` in a caution alert.
enum : int16_t { kPasteRefusedText = 3, kPasteCutText = 4 };
void SayPastePastLimit(int16_t item);

// The application's menu with that id, null when the menus have none.
platform::MenuRef FindAppMenu(int16_t id);
// Puts the menu into the bar (after the others) or takes it out, and
// redraws the bar; nothing when it is already so.
void ShowAppMenu(int16_t id, bool shown);

class TDocPlane : public TPlan {
public:
    bool IsMember(int16_t n) const override { return n == 9 || TPlan::IsMember(n); }
    bool IsSelection() override;
    int16_t Do_Func(int16_t command) override;
    // The window's object (or the document's general documentation) is
    // read into a new record; -108 without memory.
    int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                    int32_t length) override;
    void Dispose() override;
    void MakeActive() override;
    void MakeInActive() override;
    void Resize() override;
    void DeSelectPlane() override;
    void SelectPlane() override;
    void update() override;
    bool Click(platform::Point where, int16_t clicks) override;
    void key(const platform::EventRecord& event) override;
    bool Idle() override;
    int16_t Write(bool flag) override;
    // Written on close: the text or the mark changed.
    bool Modified() const override { return fModified || fMark != fMarkAtOpen; }
    std::string TypedText() const override;

    virtual void DrawCheck(int32_t mark, bool hilited);
    virtual void TrackCheck(platform::Point where, int32_t* mark);
    virtual platform::Rect checkbox() const;
    virtual void GetBox(platform::Rect* head, platform::Rect* text) const;
    virtual void StrSaveUndo();
    virtual void StrUndo();
    virtual void StrCut();
    virtual void StrCopy();
    virtual void StrPaste();
    virtual void StrClear();
    virtual void StrSelect();
    virtual void SetDocFont(int16_t item);
    virtual void SetDocSize(int16_t item);
    virtual void SetDocStyle(int16_t item);
    virtual void SetDocColor(int16_t item);
    virtual void SetStyleMenu();
    virtual void SetToolMenus() {}
    virtual void DocSelView();
    virtual void ScrollPlane(platform::ControlRef bar, int16_t amount);
    virtual void DrawLockBox();
    virtual void DrawHeadBox();
    virtual void UpdateHeight();
    virtual void ScrollStrings(int16_t amount) { (void)amount; }

    // The plain kinds: no head and no mark ('QzHE', 'GRHE', 'QzTE', 'Qzte').
    bool Plain() const;
    platform::Rect LockBox() const;
    void Bars(platform::Rect* hBar, platform::Rect* vBar) const;
    // The object whose documentation it edits, null for the structure's.
    TObjQz* Object() const;
    TEditWindow* Editor() const;
    // Asks for the lock (the lock box clicked in mode 0).
    void AskLock();
    // Reads the text (and the mark and time) again.
    int16_t ReadText(bool* created);

    platform::ControlRef fHScroll = nullptr;
    platform::ControlRef fVScroll = nullptr;
    platform::TEHandle fTE = nullptr;
    int16_t fTextHeight = 0;
    uint32_t fResType = 0;
    bool fModified = false;
    bool fStyled = false;
    int16_t fMode = 0;  // 0 read only, 1 lock refused, 2 editing
    int32_t fMarkAtOpen = 0;
    int32_t fMark = 0;
    platform::MenuRef fStyleMenu = nullptr;
    uint32_t fResTime = 0;
    uint32_t fDocTime = 0;
};

// The click loop of the documentation record while the mouse selects, and
// the action of its scroll bars (the pane in G_Plane).
platform::Boolean DocClickLoopProc(platform::TEPtr te);
void DocTrackCtrAction(platform::ControlRef control, platform::ControlPartCode part);

// One entry of the string table: the box (pane coordinates, without
// scrolling) and the string.
struct StrEntry {
    platform::Rect box{0, 0, 0, 0};
    platform::Str255 text{};
};

class TStrPlane : public TPlan {
public:
    bool IsMember(int16_t n) const override { return n == 7 || TPlan::IsMember(n); }
    bool IsSelection() override;
    int16_t Do_Func(int16_t command) override;
    // The window's string list is read from the document's companion;
    // -108 when it is missing or memory runs out.
    int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                    int32_t length) override;
    void Dispose() override;
    void MakeActive() override;
    void MakeInActive() override;
    void Resize() override;
    void update() override;
    bool Click(platform::Point where, int16_t clicks) override;
    void key(const platform::EventRecord& event) override;
    bool Idle() override;
    int16_t Write(bool flag) override;
    bool Modified() const override { return fModified; }
    std::string TypedText() const override;

    virtual void StrSaveUndo();
    virtual void StrUndo();
    virtual void StrCut();
    virtual void StrCopy();
    virtual void StrPaste();
    virtual void StrClear();
    virtual void StrSelect();
    virtual void SetToolMenus();
    virtual void StrSelView();
    virtual void ScrollPlane(int16_t amount);
    virtual void SetCrtString(int16_t n);
    virtual void UpdateHeight();
    virtual void ScrollStrings(int16_t amount);
    virtual void StrInsert();
    virtual void StrAdd();
    virtual void StrDel();

    int16_t Count() const { return int16_t(fTable.size()); }
    // The pane without the scroll bar column.
    platform::Rect TextArea() const;
    platform::Rect BarRect() const;
    // A box as drawn: moved by the scroll value.
    platform::Rect Shown(const platform::Rect& box) const;
    int16_t Scroll() const;
    // The height of one empty line of the record.
    int16_t EmptyLineHeight() const;
    // The record's text into the current entry.
    void StoreCurrent();
    // Places the record on the current box (view and destination).
    void PlaceRecord();
    // The total height and the scroll range after boxes moved.
    void Recount();
    // Draws one box's frame, number and (when not current) text.
    void DrawEntry(int16_t index);
    void DrawTitle();
    TEditWindow* Editor() const;

    platform::ControlRef fVScroll = nullptr;
    std::vector<StrEntry> fTable;
    platform::TEHandle fTE = nullptr;
    int16_t fTotalHeight = 0;
    int16_t fCurrent = 0;  // 1-based; 0 before the first is chosen
    int16_t fResFile = -1;
    int16_t fStrId = 0;
    bool fModified = false;
    platform::MenuRef fToolMenu = nullptr;
    platform::Str255 fResName{};  // the list's resource name, to add it again
    TObjQz* fObj = nullptr;
};

void StrTrackCtrAction(platform::ControlRef control, platform::ControlPartCode part);

// The pane makers the program installs.
int16_t MakeDocPlane(TWindow* editor, TWindow* browser, ::TPlan** pane);
int16_t MakeStrPlane(TWindow* editor, TObjQz* obj, ::TPlan** pane);

}  // namespace browser
