// The windows of structure and library documents: each has an item in the
// window menu (command 34) carrying its title. The browser window adds its
// panes' fan-outs; the two editor windows keep two text records.
#pragma once

#include "app/appl/AppObjects.h"
#include "platform/textedit/TextEdit.h"

class TMainWindow : public TWindow {
public:
    bool IsMember(int16_t n) const override { return n == 2 || n == 0; }
    int16_t ITWindow(const unsigned char* title, const platform::Rect& rect, bool visible, int16_t word,
                     TDocument* doc, int16_t kind) override;
    void Dispose() override;
    void MakeActive() override;
    void MakeInActive() override;
    // Copies the selection of the dropped-from pane into this document.
    int16_t GetDragObj(TPlan* pane) override;
    void Show() override;
    void Hide() override;
    void Idle(const platform::EventRecord& event) override;
    void SetEditMenu() override;
    void SetTitle(const unsigned char* title) override;

    uint32_t fTicks = 0;
    uint8_t fFlag = 0;
    bool fInMenu = false;  // the window has its item in the window menu

protected:
    void AppendMenuItem();
    void RemoveMenuItem();
};

class TRefWindow : public TMainWindow {
public:
    bool IsMember(int16_t n) const override { return n == 3 || n == 2 || n == 0; }
    int16_t ITWindow(const unsigned char* title, const platform::Rect& rect, bool visible, int16_t word,
                     TDocument* doc, int16_t kind) override;
    void Dispose() override;
    void DelMenuWindow() override { RemoveMenuItem(); }
    int16_t Close() override;
    void MakeActive() override;
    void MakeInActive() override;
    void key(const platform::EventRecord& event) override;
    void WindEraseGrowIcon() override;
    void WindDrawGrowIcon() override;
    void Resize() override;
    void EditDoc() override;

    virtual void PlaneResize();
    virtual void DisplayObj(TObjQz* obj);
    virtual void LstObj(TObjQz* obj);
    virtual void CalledObj(TObjQz* obj);
    virtual void CallingObj(TObjQz* obj);
    virtual void UpdateList();
    virtual void UpdateDisplay();
    virtual void UpdateAll();
    virtual void RazAll(platform::Handle list, bool flag);
    void DelObjMsg(TObjQz* obj) override;
    virtual void UpdateFilters();

    int16_t fKind = 0;               // the 'WNDD' layout
    TRefWindow* fLinked = nullptr;   // null when none

private:
    void ShowLinks(TObjQz* obj, int16_t paneClass, bool callers);
};

// The two editors: string lists and documentation.
class TEditWindow : public TMainWindow {
public:
    int16_t ITWindow(const unsigned char* title, const platform::Rect& rect, bool visible, int16_t word,
                     TDocument* doc, int16_t kind) override;
    void Dispose() override;
    void WindEraseGrowIcon() override;
    void WindDrawGrowIcon() override;
    int16_t Do_If_MyFunc(int16_t command) override;
    void SetEditMenu() override { TWindow::SetEditMenu(); }
    // Closes the window, then its document unless cancelled.
    virtual int16_t CloseDoc();
    // The edited object goes: the window closes without writing into it,
    // and text not yet saved is said lost.
    void DelObjMsg(TObjQz* obj) override;
    // The same for an object already freed (a read of the document again
    // made none like it): the window forgets it first.
    void ObjectFreed();

    platform::TEHandle fTexts[2] = {nullptr, nullptr};
    // The string list, or the object whose documentation is edited (null:
    // the structure's own documentation).
    TObjQz* fObj = nullptr;

protected:
    virtual bool Styled() const { return false; }
    // Leaves the window menu and the document, and frees the window.
    void Finish();

private:
    // Says when typed text is lost, then Finish.
    void CloseForGoneObject();
};

class TEditStrWindow : public TEditWindow {
public:
    bool IsMember(int16_t n) const override { return n == 4 || n == 2 || n == 0; }
    int16_t Close() override;
};

class TEditDocWindow : public TEditWindow {
public:
    bool IsMember(int16_t n) const override { return n == 5 || n == 2 || n == 0; }
    int16_t Close() override;
    int16_t GetMinWWide() const override { return 100; }
    int16_t GetMinWHeight() const override { return 50; }

    uint32_t fResTime = 0;   // the object's own resource time, for the pane's head

protected:
    bool Styled() const override;
};
