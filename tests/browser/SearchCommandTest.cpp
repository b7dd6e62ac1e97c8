// The Search command on the demo's main list: the whole document searched
// gives flat rows under the search title, the rows shown are only ever
// narrowed, and the wait dialog counts the work the record admits.
#include <algorithm>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/DocSupport.h"
#include "app/windows/TMainWindow.h"
#include "browser/Panes.h"
#include "design/filters/CountObj.h"
#include "platform/screen/Screen.h"
#include "tests/browser/BrowserFixture.h"
#include "tests/design/ReadFixture.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tools/docbuilder/DocBuilder.h"
#include "transfer/InstallTransfer.h"

using namespace platform;

namespace browsertest {
namespace {

class SearchCommand : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        ASSERT_EQ(InitScreen(1280, 800), noErr);
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        MakeAppl();
        browser::InstallBrowserPanes();
        const auto built =
            docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
        ASSERT_EQ(built.error, 0) << built.message;
        transfer::InstallModuleManager();
        Open(built.dataPath);
        ASSERT_EQ(Read(), 0);
        MyAppl->fDefaultRect = DefaultWindowRect();
        Rect r = MyAppl->fDefaultRect;
        ASSERT_EQ(doc_.NewRefWindow(&r, 1, PrefWindowKind(), -1, 0), 0);
        for (::TPlan* p = doc_.GetRefWindow()->fFirstPlane; p; p = p->fNext)
            if (p->IsMember(2)) main_ = static_cast<browser::TLstPlane*>(p);
        ASSERT_NE(main_, nullptr);
    }
    void TearDown() override
    {
        while (TWindow* w = doc_.fFirstWindow) {
            doc_.RemoveWindow(w);
            w->Dispose();
        }
        if (G_SearchFilterHdl) DisposeHandle(G_SearchFilterHdl);
        G_SearchFilterHdl = nullptr;
        ClosePrefResFile();
        DisposeMenus();
        ReadFixture::TearDown();
        DisposeScreen();
    }

    void Searching(uint32_t kinds, const std::string& pattern)
    {
        if (G_SearchFilterHdl) DisposeHandle(G_SearchFilterHdl);
        const std::vector<uint8_t> b = FilterBytes(kinds, pattern, 2);
        ASSERT_EQ(PtrToHand(b.data(), &G_SearchFilterHdl, Size(b.size())), noErr);
    }
    // The rows' names, sorted, and whether any row is open.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> names;
        for (int32_t r = 0; r < main_->fList->rowCount; ++r) {
            unsigned char n[256];
            static_cast<TObjQz*>(LongLRowObject(r, main_->fList))->GetName(n);
            names.push_back(P(n) + (IsOpenCell(r, main_->fList) ? " (open)" : ""));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    int32_t Search(bool shownOnly)
    {
        WaitParamRec wait;
        SetWaitDialog(&wait, 2, doc_.fName, 0, 0, 281, -1);
        main_->SearchRows(G_SearchFilterHdl, shownOnly, &wait);
        ReSetWaitDialog(&wait);
        return wait.maximum;
    }

    browser::TLstPlane* main_ = nullptr;
};

TEST_F(SearchCommand, TheWholeDocumentGivesFlatRowsAndTheRowsShownAreOnlyNarrowed)
{
    Searching(Kind(2), "Invoice");
    {
        platform::testing::HeadlessRun run(Script().Wait(5).Choose(1));
        EXPECT_EQ(main_->Search(), 0);
    }
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Close_Invoice", "Print_Invoice"}));
    EXPECT_EQ(main_->GetFilter(), browser::kSearchFilter);
    unsigned char header[256];
    main_->HeaderText(header);
    EXPECT_NE(P(header).find("Search results"), std::string::npos) << P(header);

    // A member of a group is found at the top level.
    Searching(Kind(2) | Kind(23), "Log_Event");
    EXPECT_EQ(Search(false), Count_Obj(G_SearchFilterHdl, doc_.fTypeList));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Log_Event"}));

    // Narrowing: rows go, none comes, whatever the record admits.
    Searching(Kind(2), "Invoice");
    Search(false);
    struct Case {
        uint32_t kinds;
        const char* pattern;
        std::vector<std::string> rows;
    } cases[] = {
        {0x7FFFFFFE, "", {"Close_Invoice", "Print_Invoice"}},
        {0x7FFFFFFE, "Print", {"Print_Invoice"}},
        {Kind(1), "", {}},
    };
    for (const Case& c : cases) {
        Searching(c.kinds, c.pattern);
        const int32_t before = main_->fList->rowCount;
        EXPECT_EQ(Search(true), before) << c.pattern;
        EXPECT_EQ(Rows(), c.rows) << c.pattern;
    }
}

}  // namespace
}  // namespace browsertest
