// Documents opened, made and saved by the application through the design
// layer's real functions, as the program wires them.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/documents/DocHooks.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Preferences.h"
#include "app/windows/TMainWindow.h"
#include "app/program/DocumentHooks.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/screen/Screen.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
#include "transfer/InstallTransfer.h"
#include "tests/design/ReadFixture.h"

namespace readtest {
namespace {

class ApplicationDocuments : public ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        InstallKernelStoreAccess();
        platform::InitScreen(1280, 800);
        InstallDocumentHooks();
        MakeAppl();
        appl_->fDefaultRect = DefaultWindowRect();
        OpenPrefResFile();
    }
    void TearDown() override
    {
        appl_->fQuit = true;
        appl_->Close();
        ResetDocHooks();
        ReadFixture::TearDown();
    }
    std::string Title(TWindow* w)
    {
        unsigned char t[256];
        w->GetTitle(t);
        return P(t);
    }
};

TEST_F(ApplicationDocuments, TheDemoOpensInABrowserWindowTitledWithItsPlace)
{
    docbuilder::BuildResult r =
        docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
    ASSERT_EQ(r.error, 0) << r.message;
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(r.dataPath, &fileSpec);
    ResetAlerts();
    transfer::InstallModuleManager();  // the installed component's methods are enciphered
    ASSERT_EQ(appl_->OpenNamedDoc(fileSpec, 0), 0) << ::LastAlert().text;
    auto* doc = static_cast<TMainDoc*>(appl_->fDocList);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsMember(3));
    ASSERT_EQ(doc->CountRefWindow(), 1);
    EXPECT_EQ(Title(doc->GetRefWindow()), P(doc->fPathName) + "Demo.QzB");
    EXPECT_GT(doc->fPathName[0], 0);
    EXPECT_NE(GetObjListe(doc->fTypeList, 1)->Size(), 0);
    // Read again from the files, then closed with nothing left open.
    EXPECT_EQ(doc->Reparse(), 0);
    EXPECT_NE(GetObjListe(doc->fTypeList, 1)->Size(), 0);
    EXPECT_EQ(doc->Close(), 0);
    EXPECT_EQ(appl_->fDocList, nullptr);
}

TEST_F(ApplicationDocuments, ANewLibraryIsSavedWithItsCompanion)
{
    ASSERT_EQ(appl_->NewLibDoc(1), 0);
    auto* doc = static_cast<TLibDoc*>(appl_->fDocList);
    const std::string working = doc->fSpec.path;
    EXPECT_TRUE(std::filesystem::exists(working));
    const std::string dest = folder_ / "Saved.QTL";
    platform::PushFileDialogAnswer(dest);
    ASSERT_EQ(doc->Write(), 0) << ::LastAlert().text;
    EXPECT_TRUE(std::filesystem::exists(dest));
    EXPECT_TRUE(std::filesystem::exists(folder_ / "Saved.RSR"));
    platform::FInfo info;
    ASSERT_EQ(platform::FSpGetFInfo(platform::FSSpec{dest}, &info), 0);
    EXPECT_EQ(info.fdType, FourCC("QzLB"));
    EXPECT_EQ(info.fdCreator, FourCC("QzA6"));
    EXPECT_EQ(doc->Close(), 0);
    // It opens again as a library.
    ASSERT_EQ(appl_->OpenNamedDoc(platform::FSSpec{dest}, 0), 0) << ::LastAlert().text;
    EXPECT_TRUE(appl_->fDocList->IsMember(3));
}

}  // namespace
}  // namespace readtest
