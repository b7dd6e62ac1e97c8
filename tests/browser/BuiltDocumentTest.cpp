// The main list over documents made by the document builder and read the
// way the program reads them.
#include <set>
#include <string>
#include <vector>

#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "app/longlist/LongList.h"
#include "app/windows/TMainWindow.h"
#include "browser/Panes.h"
#include "transfer/InstallTransfer.h"
#include "tests/design/ReadFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class BuiltDocument : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        MakeAppl();
    }
    void TearDown() override
    {
        if (window_) {
            doc_.RemoveWindow(window_);
            window_->Dispose();
        }
        ClosePrefResFile();
        DisposeMenus();
        ReadFixture::TearDown();
    }
    browser::TLstPlane* OpenList()
    {
        window_ = new TRefWindow;
        EXPECT_EQ(window_->ITWindow(reinterpret_cast<const unsigned char*>("\x03" "Doc"), Rect{40, 10, 373, 611},
                                    true, 0, &doc_, 8),
                  0);
        doc_.AddWindow(window_);
        auto* pane = new browser::TLstPlane;
        EXPECT_EQ(pane->ITPlane(Rect{0, 0, 100, 100}, window_, doc_.fTypeList, nullptr, 0), 0);
        window_->AddPlane(pane);
        pane->SetFilter(128);
        return pane;
    }
    TRefWindow* window_ = nullptr;
};

// Where each kind stands in the list.
int Position(int16_t kind)
{
    browser::TypeNum order;
    int i = 0;
    for (int16_t k = order.Next(); k != -1; k = order.Next(), ++i)
        if (k == kind) return i;
    return -1;
}

// Every row of the demo names its object: a row that reads only its kind
// ("Command") is an object the program has no name for.
TEST_F(BuiltDocument, TheDemosRowsNameTheirObjects)
{
    docbuilder::BuildResult r =
        docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
    ASSERT_EQ(r.error, 0) << r.message;
    transfer::InstallModuleManager();  // the demo's installed component is enciphered
    Open(r);
    ASSERT_EQ(Read(), 0);
    browser::TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    // Groups open, so that their members are rows too.
    for (int32_t row = 0; row < pane->fList->rowCount; ++row) {
        auto* o = static_cast<TObjQz*>(LongLRowObject(row, pane->fList));
        if (o->Openable() && !IsOpenCell(row, pane->fList)) pane->SwitchCellState(row);
    }
    int commands = 0;
    for (int32_t row = 0; row < pane->fList->rowCount; ++row) {
        auto* o = static_cast<TObjQz*>(LongLRowObject(row, pane->fList));
        unsigned char prefix[256], text[256], kind[256];
        browser::RowText(o, prefix, text);
        MyGetIndString(kind, 1012, o->kind);
        EXPECT_NE(readtest::P(text), readtest::P(kind) + " ") << "row " << row << " kind " << o->kind << " id " << o->id;
        commands += o->kind == 3;
    }
    EXPECT_EQ(commands, 5);
}

TEST_F(BuiltDocument, EveryKindInOrderAndEveryListedObjectOnce)
{
    const auto r = Build("structure Every seed 3\ngenerate 400\n");
    Open(r);
    ASSERT_EQ(Read(), 0);
    browser::TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    ASSERT_FALSE(pane->fCutShort);

    // What the rows must hold: every object of a listed kind that no
    // group holds, found by walking the document's lists and what tables
    // and forms own.
    std::set<TObjQz*> expected;
    auto consider = [&](TObjQz* o) {
        if (o && Position(o->kind) >= 0 && !o->TstFlag(kFlagGrouped) && !o->TstFlag(kFlagInTrash) &&
            !o->TstFlag(kFlagHidden))
            expected.insert(o);
    };
    auto each = [&](ObjListHdl l, auto f) {
        for (int32_t i = 0; l && i < l->Size(); ++i) f(l->At(i));
    };
    for (int16_t k = 1; k <= 23; ++k) each(List(k), consider);
    each(List(1), [&](TObjQz* t) {
        auto* table = dynamic_cast<TFileObjQz*>(t);
        if (!table) return;
        consider(table->method);
        each(table->balloons, consider);
        each(table->forms, [&](TObjQz* f) {
            consider(f);
            auto* form = static_cast<TLayoutObjQz*>(f);
            consider(form->formMethod);
            each(form->objMethods, consider);
        });
    });
    std::vector<TObjQz*> methods;
    for (TObjQz* o : expected)
        if (auto* m = dynamic_cast<TGnlProcObjQz*>(o)) methods.push_back(m);
    for (TObjQz* m : methods) each(static_cast<TGnlProcObjQz*>(m)->locals, consider);

    std::set<TObjQz*> seen;
    int lastPosition = -1;
    bool localsBegun = false;
    for (int32_t row = 0; row < pane->fList->rowCount; ++row) {
        auto* o = static_cast<TObjQz*>(LongLRowObject(row, pane->fList));
        ASSERT_NE(o, nullptr);
        EXPECT_TRUE(seen.insert(o).second) << "twice: row " << row;
        EXPECT_TRUE(expected.count(o)) << "not listed: row " << row << " kind " << o->kind;
        const int position = Position(o->kind);
        EXPECT_GE(position, lastPosition) << "row " << row;
        lastPosition = position;
        if (o->kind == 9) {
            const bool local = static_cast<TVarObjQz*>(o)->method != nullptr;
            EXPECT_FALSE(localsBegun && !local) << "a process variable after the locals: row " << row;
            localsBegun = localsBegun || local;
        }
    }
    EXPECT_EQ(seen.size(), expected.size());
    std::set<int16_t> kinds;
    for (TObjQz* o : seen) kinds.insert(o->kind);
    EXPECT_GE(kinds.size(), 12u);

    unsigned char header[256];
    pane->HeaderText(header);
    EXPECT_EQ(readtest::P(header), "Objects - All objects (" + std::to_string(pane->fList->rowCount) + ")");

    // A group opened shows its members just below, one level deeper.
    for (int32_t row = 0; row < pane->fList->rowCount; ++row) {
        auto* o = static_cast<TObjQz*>(LongLRowObject(row, pane->fList));
        if (o->kind != 23 || !o->members || o->members->Size() == 0) continue;
        pane->SwitchCellState(row);
        auto* first = static_cast<TObjQz*>(LongLRowObject(row + 1, pane->fList));
        EXPECT_EQ(first->parent, o);
        EXPECT_EQ(first->GetLevel(), o->GetLevel() + 1);
        break;
    }
}

}  // namespace
}  // namespace browsertest
