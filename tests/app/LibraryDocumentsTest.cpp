// Library documents the program makes: untitled names, working files in
// the preferences folder, saving them somewhere, and their end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/appl/Menus.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/FileDialogAnswers.h"
#include "resources/Companion.h"
#include "tests/app/MainDocFixture.h"

using namespace apptest;
using namespace platform;

namespace {

class LibraryDocumentsTest : public MainDocFixture {
protected:
    std::string Work(const std::string& name) const { return prefsDir_ + "/" + name; }
    TLibDoc* Lib() const { return static_cast<TLibDoc*>(appl_->fDocList); }
};

TEST_F(LibraryDocumentsTest, UntitledNumbersAndWorkingFilesTakeTheFirstFreeOnes)
{
    ASSERT_EQ(appl_->NewLibDoc(1), 0);
    TLibDoc* first = Lib();
    EXPECT_EQ(P(first->fName), "Library_1");
    EXPECT_EQ(P(first->fWorkName), "Work.QTL");
    EXPECT_TRUE(std::filesystem::exists(Work("Work.QTL")));
    EXPECT_TRUE(std::filesystem::exists(Work("Work.RSR")));
    ASSERT_EQ(appl_->NewLibDoc(0), 0);
    TLibDoc* second = Lib();
    EXPECT_EQ(P(second->fName), "Structure_2");
    EXPECT_EQ(P(second->fWorkName), "Work1.QTL");
    EXPECT_FALSE(second->fLibrary);
    EXPECT_TRUE(second->IsDataBase());
    ASSERT_NE(second->GetRefWindow(), nullptr);
    EXPECT_EQ(Title(second->GetRefWindow()), "Structure_2");

    // Closing an unsaved library removes its working files.
    EXPECT_EQ(first->Close(), 0);
    EXPECT_FALSE(std::filesystem::exists(Work("Work.QTL")));
    EXPECT_FALSE(std::filesystem::exists(Work("Work.RSR")));
    ASSERT_EQ(appl_->NewLibDoc(1), 0);
    EXPECT_EQ(P(Lib()->fName), "Library_1");
    EXPECT_EQ(P(Lib()->fWorkName), "Work.QTL");
}

TEST_F(LibraryDocumentsTest, NoWorkingFileIsMadePastTheNamesTheCleanUpKnows)
{
    std::ofstream(Work("Work.QTL")) << "x";
    for (int i = 1; i <= 99; ++i) std::ofstream(Work("Work" + std::to_string(i) + ".QTL")) << "x";
    ResetAlerts();
    EXPECT_EQ(appl_->NewLibDoc(1), dupFNErr);
    EXPECT_EQ(DocCount(), 0);
    EXPECT_EQ(design_.creates, 0);
    EXPECT_EQ(design_.lists, 0);
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_FALSE(std::filesystem::exists(Work("Work100.QTL")));
    // Nothing of anyone else's was removed.
    EXPECT_TRUE(std::filesystem::exists(Work("Work99.QTL")));
}

TEST_F(LibraryDocumentsTest, SavingMovesTheFilesAndEndsTheWorkingState)
{
    ASSERT_EQ(appl_->NewLibDoc(1), 0);
    TLibDoc* doc = Lib();
    doc->SetWasModif();
    EXPECT_TRUE(doc->fModified);
    doc->MakeActive();
    EXPECT_TRUE(IsFuncEnabled(18));

    // Cancel: nothing changes.
    PushCancel();
    EXPECT_EQ(doc->Write(), 1001);
    EXPECT_EQ(P(doc->fWorkName), "Work.QTL");
    EXPECT_TRUE(std::filesystem::exists(Work("Work.QTL")));

    // A destination that is an open document is refused; the next is taken.
    const FSSpec open = MakeDocFile("Open.QTL", "QzLB");
    ASSERT_EQ(appl_->OpenNamedDoc(open, 0), 0);
    ASSERT_EQ(appl_->fDocList->IsMember(3), true);
    appl_->SetFirstDoc(doc);
    const std::string dest = folder_ / "Saved.QTL";
    PushFileDialogAnswer(open.path);
    PushFileDialogAnswer(dest);
    ResetAlerts();
    EXPECT_EQ(doc->Write(), 0);
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_EQ(LastAlert().text, "Taken: Open.QTL");
    EXPECT_TRUE(std::filesystem::exists(open.path));

    EXPECT_TRUE(std::filesystem::exists(dest));
    EXPECT_TRUE(std::filesystem::exists(folder_ / "Saved.RSR"));
    EXPECT_FALSE(std::filesystem::exists(Work("Work.QTL")));
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(FSSpec{dest}, &info), noErr);
    EXPECT_EQ(info.fdType, FourCC("QzLB"));
    EXPECT_EQ(info.fdCreator, FourCC("QzA6"));
    EXPECT_EQ(P(doc->fName), "Saved.QTL");
    EXPECT_EQ(doc->fWorkName[0], 0);
    EXPECT_FALSE(IsFuncEnabled(18));
    EXPECT_EQ(Title(doc->GetRefWindow()), P(doc->fPathName) + "Saved.QTL");
    // A saved document has nothing more to save (Save again asks nothing),
    // and closing keeps its file.
    ResetAlerts();
    EXPECT_EQ(doc->Do_If_MyFunc(18), 0);
    EXPECT_EQ(doc->Close(), 0);
    EXPECT_EQ(AlertCount(), 0);
    EXPECT_TRUE(std::filesystem::exists(dest));
}

TEST_F(LibraryDocumentsTest, AFailedCopyKeepsTheWorkingFileOpen)
{
    ASSERT_EQ(appl_->NewLibDoc(1), 0);
    TLibDoc* doc = Lib();
    design_.copyResult = dskFulErr;
    PushFileDialogAnswer(folder_ / "Full.QTL");
    ResetAlerts();
    EXPECT_EQ(doc->Write(), 1001);  // said once, here
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_EQ(P(doc->fWorkName), "Work.QTL");
    EXPECT_NE(doc->fResFile, -1);
    EXPECT_TRUE(std::filesystem::exists(Work("Work.QTL")));
}

TEST_F(LibraryDocumentsTest, AStructureWithoutTablesBecomesALibraryOrStays)
{
    ASSERT_EQ(appl_->NewLibDoc(0), 0);
    TLibDoc* doc = Lib();
    design_.tables = 1;
    ResetAlerts();
    PushCancel();
    doc->Write();
    EXPECT_EQ(AlertCount(), 0) << "one table is enough";
    design_.tables = 0;
    design_.modules = 2;
    EXPECT_EQ(doc->Write(), 1001);
    EXPECT_EQ(LastAlert().text, "Components");
    EXPECT_EQ(LastAlert().alertId, 1000);
    EXPECT_FALSE(doc->fLibrary);

    design_.modules = 0;
    PushDialogAnswer(2);
    EXPECT_EQ(doc->Write(), 1001);
    EXPECT_EQ(LastAlert().text, "Make it a library?");
    EXPECT_FALSE(doc->fLibrary);

    // Yes, then Cancel in the save dialog: still a structure.
    PushDialogAnswer(1);
    PushCancel();
    EXPECT_EQ(doc->Write(), 1001);
    EXPECT_FALSE(doc->fLibrary);

    PushDialogAnswer(1);
    PushFileDialogAnswer(folder_ / "Lib.QTL");
    EXPECT_EQ(doc->Write(), 0);
    EXPECT_TRUE(doc->fLibrary);
    EXPECT_EQ(P(doc->fName), "Lib.QTL");
}

}  // namespace

// The application names a document's companion as the documents do: a
// long extension is part of the name, and a name too long for one has none.
TEST(CompanionNames, TheApplicationAndTheDocumentsAgree)
{
    const std::string folder = "/tmp/docs/";
    for (const std::string& name : std::vector<std::string>{"Base.QzB", "My.Base.QTL", "plain", "Base.Data", ".hidden", std::string(251, 'a')}) {
        platform::FSSpec shared;
        ASSERT_TRUE(::CompanionSpec(platform::FSSpec{folder + name}, &shared)) << name;
        EXPECT_EQ(CompanionSpec(platform::FSSpec{folder + name}).path, shared.path) << name;
    }
    EXPECT_EQ(CompanionSpec(platform::FSSpec{folder + "Base.Data"}).path, folder + "Base.Data.RSR");
    EXPECT_EQ(CompanionSpec(platform::FSSpec{folder + std::string(252, 'b')}).path, "");
}
