// Recording stand-ins for the panes and documents built above the
// application, and a fixture with the menus of the window commands.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/appl/AppObjects.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/Menus.h"
#include "app/appl/TAppl.h"
#include "app/appl/UndoRecords.h"
#include "platform/drawing/Rects.h"
#include "platform/screen/Screen.h"
#include "tests/app/AppFixture.h"

namespace apptest {

// A pane of any class that records what its window asks of it.
class FakePane : public TPlan {
public:
    explicit FakePane(int16_t classNumber = 0, std::vector<std::string>* log = nullptr)
        : classNumber_(classNumber), log_(log)
    {
    }
    ~FakePane() override
    {
        if (destroyed) *destroyed = true;
    }
    bool IsMember(int16_t n) const override
    {
        return n == classNumber_ || n == 0 || (n == 1 && classNumber_ >= 2 && classNumber_ <= 6) ||
               (n == 3 && (classNumber_ == 4 || classNumber_ == 5));
    }
    bool IsSelection() override { return selection; }
    int16_t Do_Func(int16_t command) override
    {
        Log("func " + std::to_string(command));
        if (onFunc) return onFunc(command);
        return -1;
    }
    void Resize() override { Log("resize"); }
    void update() override { Log("update"); }
    void SelectPlane() override { Log("select"); }
    void MakeActive() override { Log("active"); }
    void erase() override { Log("erase"); }
    bool Click(platform::Point, int16_t) override { Log("click"); return takeClick; }
    void CopyList(platform::Handle list) override { copied = list; }
    platform::Handle GetList() override { return list; }
    int16_t MoveQzObj(TDocument* doc, int16_t option) override
    {
        moved.emplace_back(doc, option);
        return 0;
    }
    int16_t Write(bool) override
    {
        ++writes;
        return writeResult;
    }
    bool Modified() const override { return modified; }

    void Log(const std::string& what)
    {
        if (log_) log_->push_back(std::to_string(classNumber_) + " " + what);
    }

    bool selection = false;
    bool takeClick = false;
    bool modified = false;
    int16_t writeResult = 0;
    int writes = 0;
    bool* destroyed = nullptr;
    platform::Handle list = nullptr;
    platform::Handle copied = nullptr;
    std::vector<std::pair<TDocument*, int16_t>> moved;
    std::function<int16_t(int16_t)> onFunc;

private:
    int16_t classNumber_;
    std::vector<std::string>* log_;
};

// A document that records its saves and its end.
class TestDoc : public TDocument {
public:
    explicit TestDoc(int16_t classNumber = 2, bool* gone = nullptr) : classNumber_(classNumber), gone_(gone) {}
    ~TestDoc() override
    {
        if (gone_) *gone_ = true;
    }
    bool IsMember(int16_t n) const override { return n == classNumber_ || n == 0; }
    int16_t Write() override
    {
        ++writes;
        return writeResult;
    }
    int16_t writeResult = 0;
    int writes = 0;

private:
    int16_t classNumber_;
    bool* gone_;
};

// The Edit menu's items and the clipboard words of every window's menu bar.
inline const char* kEditMenuItems = R"(
'MITM' 21 { text "Undo" command 21 }
'MITM' 22 { text "Cut" command 22 }
'MITM' 23 { text "Copy" command 23 }
'MITM' 24 { text "Paste" command 24 }
'MITM' 25 { text "Clear" command 25 }
'MITM' 3 { text "Close" command 3 }
'MITM' 4 { text "Close document" command 4 }
'MITM' 27 { text "Show Clipboard" command 27 }
'MITM' 5 { text "Close all" command 5 }
'MITM' 32 { text "Stack" command 32 }
'MITM' 33 { text "Tile" command 33 }
'MITM' 34 { text "Windows" command 34 kind group }
'STR#' 1006 { "Hide Clipboard" "Show Clipboard" "Copy" }
)";

inline const std::string kWindowMenus = std::string(R"(
'MMBR' 129 { menu 130 "Edit" items 21 22 23 24 25 3 4 27 5 32 33 34 }
)") + kEditMenuItems;

class DocFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        platform::InitScreen(1280, 800);
        UseAppResources(menuResources + extraResources, useBaseResources);
        MakeAppl();
        appl_->fDefaultRect = DefaultWindowRect();
        appl_->SetMenus();
    }
    void TearDown() override
    {
        // Posted activations of windows gone with the test.
        int16_t command = 0;
        while (GetFunc(&command)) {
        }
        AppFixture::TearDown();
    }
    // A document in the application's list.
    TestDoc* NewDoc(const std::string& name = "Base", bool* gone = nullptr, int16_t classNumber = 2)
    {
        auto* doc = new TestDoc(classNumber, gone);
        unsigned char p[256];
        ToP(name, p);
        doc->InitDocument(p, appl_);
        appl_->AddDoc(doc);
        return doc;
    }
    template <class W = TWindow>
    W* NewWindow(TDocument* doc, const std::string& title = "Base", platform::Rect r = {45, 15, 445, 615},
                 bool visible = true)
    {
        auto* w = new W;
        unsigned char p[256];
        ToP(title, p);
        if (doc->NewTWindow(w, &r, p, visible, 8) != 0) return nullptr;
        return w;
    }
    std::string extraResources;
    bool useBaseResources = true;
    std::string menuResources = kWindowMenus;
};

}  // namespace apptest
