// The browser's other panes: the where-used and uses panes beside the main
// list, the preview pane that lets an object draw itself, the clipboard
// window's pane, and the drawing procedures of the lists in the browser's
// panes and dialogs.
#pragma once

#include <cstdint>

#include "browser/Panes.h"
#include "platform/controls/Controls.h"
#include "platform/lists/Lists.h"

class TObjQz;

namespace browser {

// A pane listing the links of one object that the main list hands it. A
// click acts on the main list or the preview; the head can be dragged onto
// the main list's head to give it these rows.
class TCallPlane : public TRefPlane {
public:
    bool IsMember(int16_t n) const override { return n == 3 || TRefPlane::IsMember(n); }
    bool Click(platform::Point where, int16_t clicks) override;
    void SetLinks(int16_t mainNumber, ::TPlan* main, int16_t unusedNumber, ::TPlan* unused, int16_t previewNumber,
                  ::TPlan* preview) override;
    void SetList(platform::Handle filter, platform::Handle list) override;
    void SetDfltFilter(int16_t id) override;
    void DelObjMsg(TObjQz* obj) override;
    void RazAll(platform::Handle list, bool flag) override;
    virtual void SetGoodFilter();

    // The object in the last clicked row, null when none.
    TObjQz* ClickedObject() const;
    // Drags the head's outline; dropped on the main list's head, the main
    // list takes this pane's rows.
    void DragHead(platform::Point where);

    ::TPlan* fPreviewPane = nullptr;
    int16_t fPreviewLink = 0;
    int16_t fMainLink = 0;
    ::TPlan* fMainPane = nullptr;
    int16_t fDefaultFilter = kDefaultFilter;
};

class TCallingPlane : public TCallPlane {
public:
    bool IsMember(int16_t n) const override { return n == 4 || TCallPlane::IsMember(n); }
    int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                    int32_t length) override;
};

class TCalledPlane : public TCallPlane {
public:
    bool IsMember(int16_t n) const override { return n == 5 || TCallPlane::IsMember(n); }
    int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                    int32_t length) override;
};

// The action procedure of the head drag, and its state.
void DragHeadAction();
extern platform::RgnHandle G_HeadRgn;
extern ::TPlan* G_HeadPlane;
extern bool G_HeadHilited;

// The preview pane: a head with the object's name, a display-type pop-up
// and a page control, and the object's own drawing below, scrolled.
class TDisplayPlane : public TPlan {
public:
    bool IsMember(int16_t n) const override { return n == 6 || TPlan::IsMember(n); }
    bool IsSelection() override;
    int16_t Do_Func(int16_t command) override;
    int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                    int32_t length) override;
    void Dispose() override;
    void MakeActive() override;
    void MakeInActive() override;
    void Resize() override;
    void DrawSelect(bool on) override;
    void DeSelectPlane() override;
    void SelectPlane() override;
    void update() override;
    bool Click(platform::Point where, int16_t clicks) override;
    void key(const platform::EventRecord& event) override;
    void UpdateAll() override;
    void RazAll(platform::Handle list, bool flag) override;
    void SetObj(TObjQz* obj) override;
    void DelObjMsg(TObjQz* obj) override;

    virtual void EditDoc();
    virtual void DelDoc();
    virtual void GetBox(platform::Rect* content, platform::Rect* head, platform::Rect* info) const;
    virtual void DrawContent();

    // Scroll bar steps: never below one pixel, however narrow the pane.
    int16_t HPage() const;
    int16_t VPage() const;
    // Scrolls by `amount` on one bar and draws what was uncovered.
    void ScrollBy(platform::ControlRef bar, int16_t amount);
    // The maxima of both bars from the picture's size.
    void SetScrollMaxima(int16_t width, int16_t height);
    // Makes the display again at the current type and page.
    void Remake();
    // Places the three controls.
    void ControlRects(platform::Rect* page, platform::Rect* hBar, platform::Rect* vBar) const;

    bool fSelected = false;
    int16_t fLayoutNumber = 0;
    TObjQz* fObj = nullptr;
    platform::ControlRef fPageCtl = nullptr;
    platform::ControlRef fHScroll = nullptr;
    platform::ControlRef fVScroll = nullptr;
    int32_t fDispType = 0;
    platform::Handle fDisplay = nullptr;
    int16_t fPageMin = 0;
    int16_t fPageMax = 0;
    int16_t fPage = 0;
    int16_t fHMax = 0;
    int16_t fVMax = 0;
};

// The head's text: the full name, a space and the more-info text; and the
// page text ("page n of m"), empty for fewer than two pages.
void DisplayHeadText(TObjQz* obj, unsigned char* out);
void DisplayPageText(int16_t page, int16_t count, unsigned char* out);

// The bars of the preview pane being clicked take the values of a text
// that the click scrolled (the objects' preview scroll hook).
void PreviewClickScrolled(int16_t h, int16_t v);
void HTrackCtrAction(platform::ControlRef control, platform::ControlPartCode part);
void VTrackCtrAction(platform::ControlRef control, platform::ControlPartCode part);
extern int32_t G_DispTy;
extern TObjQz* G_Obj;

// The clipboard window's pane: its text or picture with two scroll bars.
class TClipPlane : public TPlan {
public:
    bool IsMember(int16_t n) const override { return n == 8 || TPlan::IsMember(n); }
    int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                    int32_t length) override;
    void MakeActive() override;
    void MakeInActive() override;
    void Resize() override;
    void update() override;
    bool Click(platform::Point where, int16_t clicks) override;
    void erase() override;
    virtual void ScrollPlane(platform::ControlRef bar, int16_t amount);

    platform::Rect View() const;
    void Bars(platform::Rect* hBar, platform::Rect* vBar) const;

    platform::ControlRef fHScroll = nullptr;
    platform::ControlRef fVScroll = nullptr;
};

void ClipTrackCtrAction(platform::ControlRef control, platform::ControlPartCode part);
// Makes the clipboard window's pane.
int16_t MakeClipPlane(TWindow* window, ::TPlan** pane);

// The rows of the call panes and the dialogs' object lists.
void CallProcIdProc(int16_t message, bool selected, const platform::Rect* cell, int32_t row, int32_t dataOffset,
                    LongListHandle list);
// Check lists of object kinds: name, then a 16-bit kind and a check byte.
void SearchListIdProc(int16_t message, platform::Boolean selected, platform::Rect* cell, platform::Cell where,
                      int32_t dataOffset, int16_t dataLength, platform::ListHandle list);
// String-list resources: name, then a 16-bit id and a 16-bit count.
void ResListIdProc(int16_t message, platform::Boolean selected, platform::Rect* cell, platform::Cell where,
                   int32_t dataOffset, int16_t dataLength, platform::ListHandle list);
// Command rows: text, and the shortcut character at byte 521.
void SpecialListIdProc(int16_t message, platform::Boolean selected, platform::Rect* cell, platform::Cell where,
                       int32_t dataOffset, int16_t dataLength, platform::ListHandle list);
// Registers the platform list procedures 1003 and 1005.
void RegisterListDefinitions();

}  // namespace browser
