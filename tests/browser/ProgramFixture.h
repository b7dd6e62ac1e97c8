// A document read as the program reads it, with the application's menus,
// preferences, browser panes and component manager: the ground of the
// tests that open the demo the way the program opens it. The document's
// windows close after each test.
#pragma once

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/windows/TMainWindow.h"
#include "browser/Panes.h"
#include "tests/design/ReadFixture.h"
#include "transfer/InstallTransfer.h"

namespace browsertest {

class ProgramFixture : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        MakeAppl();
        browser::InstallBrowserPanes();
        transfer::InstallModuleManager();
    }
    void TearDown() override
    {
        while (TWindow* w = doc_.fFirstWindow) {
            doc_.RemoveWindow(w);
            w->Dispose();
        }
        ClosePrefResFile();
        DisposeMenus();
        ReadFixture::TearDown();
    }
};

}  // namespace browsertest
