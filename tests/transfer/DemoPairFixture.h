// The program's two browser windows made in a test: the demo (or another
// structure) and a second document read and shown as the program opens
// them, for the checkers of the program's runs.
#pragma once

#include <string>

#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/dialogs/Messages.h"
#include "app/documents/DocSupport.h"
#include "app/windows/TMainWindow.h"
#include "browser/Panes.h"
#include "design/objects/TransferHooks.h"
#include "platform/files/FileSpec.h"
#include "tests/design/ReadFixture.h"
#include "transfer/InstallTransfer.h"

namespace transfertest {

class DemoPair : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        MakeAppl();
        browser::InstallBrowserPanes();
        transfer::InstallTransfer();
        MyAppl->fDefaultRect = DefaultWindowRect();
    }
    void TearDown() override
    {
        for (TMainDoc* doc : {&doc_, &other_})
            while (TWindow* w = doc->fFirstWindow) {
                doc->RemoveWindow(w);
                w->Dispose();
            }
        if (other_.fTypeList) DisposeTypeList(other_.fTypeList);
        if (other_.fModuleManager) DisposeModuleMgr(other_.fModuleManager);
        if (other_.fResFile > 0 || other_.fRsrFile > 0) CloseQzB(other_.fRsrFile, other_.fResFile, -1, -1);
        ResetTransferHooks();
        ClosePrefResFile();
        DisposeMenus();
        ReadFixture::TearDown();
    }

    // The document read and its window made as the program does: the
    // next window goes where this one left the application's place.
    TRefWindow* OpenAsProgram(TMainDoc* doc, const std::string& path)
    {
        platform::FSSpec fsSpec;
        platform::FSMakeFSSpec(path, &fsSpec);
        EXPECT_EQ(doc->TDocument::Read(fsSpec, false, false), 0);
        int16_t third = -1;
        unsigned char password[16] = {0};
        EXPECT_EQ(OpenQzB(1, fsSpec, &doc->fRsrFile, &doc->fResFile, &third, password), 0);
        if (!doc->fTypeList) {
            EXPECT_EQ(NewTypeList(&doc->fTypeList), 0);
        }
        EXPECT_EQ(ReadQzB(doc, 1, 0), 0);
        platform::Rect r = MyAppl->fDefaultRect;
        EXPECT_EQ(doc->NewRefWindow(&r, 1, PrefWindowKind(), -1, 0), 0);
        MyAppl->fDefaultRect = r;
        return doc->GetRefWindow();
    }

    TMainDoc other_;
};

}  // namespace transfertest
