// Opening structure and library documents: which class a file gets, the
// open-documents event, one document per file, reading, big structures and
// closing the last browser window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/appl/AppleEventHandlers.h"
#include "app/documents/OpenDocuments.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "platform/appleevents/AppleEvents.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/WholeFile.h"
#include "tests/app/MainDocFixture.h"

using namespace apptest;
using namespace platform;

namespace {

// A core event whose direct object lists the files.
AppleEvent FilesEvent(AEEventID id, std::initializer_list<FSSpec> files)
{
    AppleEvent event;
    AECreateAppleEvent(kCoreEventClass, id, &event);
    AEDescList list;
    AECreateList(nullptr, 0, false, &list);
    for (const FSSpec& s : files) AEPutPtr(&list, 0, typeFSS, s.path.data(), Size(s.path.size()));
    AEPutParamDesc(&event, keyDirectObject, &list);
    AEDisposeDesc(&list);
    return event;
}

class OpenDocumentsTest : public MainDocFixture {};

TEST_F(OpenDocumentsTest, TheClassComesFromTheTypeOrTheExactExtension)
{
    EXPECT_EQ(DocClassOf("a.QzB", 0), 2);
    EXPECT_EQ(DocClassOf("a.qzb", 0), 2);
    EXPECT_EQ(DocClassOf("a.Qzb", 0), 0);
    EXPECT_EQ(DocClassOf("a.QTL", FourCC("BAS5")), 3);
    EXPECT_EQ(DocClassOf("x", FourCC("QzLB")), 3);
    EXPECT_EQ(DocClassOf("x", FourCC("QOLB")), 3);
    EXPECT_EQ(DocClassOf("x", FourCC("BAS5")), 2);
    EXPECT_EQ(DocClassOf(".QzB", 0), 2);  // four characters are enough
    EXPECT_EQ(DocClassOf("QzB", 0), 0);
    EXPECT_EQ(DocClassOf("aXQzB", 0), 0);

    // The open dialogs show folders, documents and scripts by the same tests.
    auto shown = [](Boolean (*filter)(AEDesc*, void*, void*, NavFilterModes), const std::string& name,
                    OSType type, bool folder) {
        AEDesc item;
        const std::string path = "/docs/" + name;
        AECreateDesc(typeFSRef, path.data(), Size(path.size()), &item);
        NavFileOrFolderInfo info;
        info.isFolder = folder;
        info.finderInfo.fdType = type;
        const bool answer = filter(&item, &info, nullptr, 0);
        AEDisposeDesc(&item);
        return answer;
    };
    EXPECT_TRUE(shown(BaseFileFilter, "a.qtl", 0, false));
    EXPECT_TRUE(shown(BaseFileFilter, "notes", FourCC("QOLB"), false));
    EXPECT_TRUE(shown(BaseFileFilter, "folder", 0, true));
    EXPECT_FALSE(shown(BaseFileFilter, "a.Qtl", 0, false));
    EXPECT_FALSE(shown(BaseFileFilter, "a.sql", 0, false));
    EXPECT_TRUE(shown(SQLFileFilter, "a.sql", 0, false));
    EXPECT_TRUE(shown(SQLFileFilter, "schema", FourCC("_SQL"), false));
    EXPECT_FALSE(shown(SQLFileFilter, "a.Sql", 0, false));

    // Opened for real: the two spellings as structures, the third refused
    // with a message naming it.
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("a.QzB"), 0), 0);
    EXPECT_FALSE(FrontDoc()->IsMember(3));
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("b.qzb"), 0), 0);
    EXPECT_FALSE(FrontDoc()->IsMember(3));
    ResetAlerts();
    EXPECT_EQ(appl_->OpenNamedDoc(MakeDocFile("c.Qzb"), 0), 1001);
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_NE(LastAlert().text.find("c.Qzb"), std::string::npos);
    EXPECT_EQ(DocCount(), 2);
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("x.QTL", "BAS5"), 0), 0);
    EXPECT_TRUE(FrontDoc()->IsMember(3));
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("y", "QOLB"), 0), 0);
    EXPECT_TRUE(FrontDoc()->IsMember(3));
    EXPECT_FALSE(FrontDoc()->IsDataBase()) << "a library";
    EXPECT_EQ(design_.opens, 4);
}

TEST_F(OpenDocumentsTest, AnOpenDocumentsEventOpensWhatItCanAndAnswersTheLast)
{
    ASSERT_EQ(InstallAppleEventHandlers(), noErr);
    const FSSpec first = MakeDocFile("One.QzB");
    const FSSpec second = MakeDocFile("Two.QzB");
    const FSSpec third = MakeDocFile("Three.QzB");
    std::filesystem::resize_file(second.path, 3);  // damaged: its container cannot open
    AppleEvent event;
    ASSERT_EQ(AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &event), noErr);
    AEDescList list;
    ASSERT_EQ(AECreateList(nullptr, 0, false, &list), noErr);
    for (const FSSpec& s : {first, second, third}) AEPutPtr(&list, 0, typeFSS, s.path.data(), Size(s.path.size()));
    AEPutParamDesc(&event, keyDirectObject, &list);
    ResetAlerts();
    design_.readResults = {0, 0};
    EXPECT_EQ(appl_->hAEOpenDocuments(&event, nullptr, 0), noErr);
    EXPECT_EQ(DocCount(), 2);
    EXPECT_EQ(AlertCount(), 1);

    // A third file that fails makes the event's answer.
    AppleEvent event2 = FilesEvent(kAEOpenDocuments, {MakeDocFile("Four.QzB")});
    design_.readResults = {-39};
    EXPECT_EQ(appl_->hAEOpenDocuments(&event2, nullptr, 0), -39);
    EXPECT_EQ(DocCount(), 2);
    EXPECT_EQ(design_.lists, 2);  // the failed one's list went with it
    AEDisposeDesc(&list);
    AEDisposeDesc(&event);
    AEDisposeDesc(&event2);

    // Without a list of files the event is answered with why, and nothing opens.
    AppleEvent bare, single;
    ASSERT_EQ(AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &bare), noErr);
    ASSERT_EQ(AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &single), noErr);
    AEPutParamPtr(&single, keyDirectObject, typeFSS, first.path.data(), Size(first.path.size()));
    EXPECT_EQ(appl_->hAEOpenDocuments(&bare, nullptr, 0), errAEDescNotFound);
    EXPECT_EQ(appl_->hAEOpenDocuments(&single, nullptr, 0), errAECoercionFail);
    EXPECT_EQ(DocCount(), 2);
    AEDisposeDesc(&bare);
    AEDisposeDesc(&single);
}

TEST_F(OpenDocumentsTest, OneFileIsOneDocumentAndTwoNamesTwo)
{
    const FSSpec upper = MakeDocFile("Base.QzB");
    const FSSpec lower = MakeDocFile("base.QzB");
    ASSERT_EQ(appl_->OpenNamedDoc(upper, 0), 0);
    ASSERT_EQ(appl_->OpenNamedDoc(lower, 0), 0);
    EXPECT_EQ(DocCount(), 2);
    // Another file is said to be no document.
    EXPECT_EQ(appl_->OpenNamedDoc(MakeDocFile("notes.txt"), 0), 1001);
    EXPECT_EQ(LastAlert().text, "Not a document: notes.txt");

    // Opening again brings the first to the front, nothing else.
    const int reads = design_.reads;
    std::vector<uint8_t> before;
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        Handle h = Get1Resource(FourCC("SP2#"), 0);
        ASSERT_NE(h, nullptr);
        before.assign(*h, *h + GetHandleSize(h));
        UseResFile(saved);
    }
    ASSERT_EQ(appl_->OpenNamedDoc(upper, 0), 0);
    EXPECT_EQ(design_.reads, reads);
    EXPECT_EQ(DocCount(), 2);
    TWindow* front = GetTWindow(FrontWindow());
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(front->fDoc->fSpec.path, upper.path);
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    Handle h = Get1Resource(FourCC("SP2#"), 0);
    EXPECT_EQ(std::vector<uint8_t>(*h, *h + GetHandleSize(h)), before);
    UseResFile(saved);
    // A file gone from the disk is still found by its path.
    std::filesystem::remove(lower.path);
    EXPECT_NE(appl_->GetNamedDoc(lower), nullptr);
}

TEST_F(OpenDocumentsTest, BigStructuresAreAnnouncedAndStillOpen)
{
    const std::pair<int, int32_t> cases[] = {{2000, 0}, {2001, 1007}, {2501, 1008}};
    int n = 0;
    for (const auto& [count, message] : cases) {
        ResetAlerts();
        ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("Big" + std::to_string(++n) + ".QzB", nullptr, count), 0), 0);
        if (message == 0) {
            EXPECT_EQ(AlertCount(), 0) << count;
        } else {
            EXPECT_EQ(AlertCount(), 1) << count;
            unsigned char text[256];
            ErrorMessage(int16_t(message), text);
            EXPECT_EQ(LastAlert().text, P(text)) << count;
        }
    }
    EXPECT_EQ(DocCount(), 3);
    // The list of kind 3 was sorted after every read.
    EXPECT_EQ(design_.sorted.size(), 3u);
}

TEST_F(OpenDocumentsTest, RemovedComponentsEndInAFullReparse)
{
    design_.readResults = {1020, 0};
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("Parts.QzB"), 0), 0);
    EXPECT_EQ(design_.reads, 1);
    EXPECT_EQ(design_.rereads, 1);
    EXPECT_EQ(design_.lists, 1);  // the first list went, a new one stands
    EXPECT_EQ(design_.sorted, (std::vector<std::pair<int16_t, std::string>>{{3, ""}, {3, ""}})) << "after each read";

    // The reparse's own result is the open's.
    design_.readResults = {1020, -108};
    ResetAlerts();
    EXPECT_EQ(appl_->OpenNamedDoc(MakeDocFile("Worse.QzB"), 0), -108);
    EXPECT_EQ(DocCount(), 1);
    EXPECT_EQ(design_.lists, 1);
    EXPECT_EQ(design_.closes, 1);
}

// The counter lives in the structure's resource file (the companion),
// never in the container; each close with a change adds one to it.
TEST_F(OpenDocumentsTest, ClosingCountsAChangedCompilationInTheCompanion)
{
    const FSSpec fileSpec = MakeDocFile("Dirty.QzB");
    for (uint32_t expected : {1u, 2u}) {
        ASSERT_EQ(appl_->OpenNamedDoc(fileSpec, 0), 0);
        FrontDoc()->fCompilerDirty = true;
        EXPECT_EQ(FrontDoc()->Close(), 0);
        EXPECT_EQ(DocCount(), 0);
        const int16_t res = openres(fileSpec, true);
        ASSERT_NE(res, 0);
        EXPECT_EQ(xget1res(FourCC("QzQz"), 0), nullptr) << "the container keeps no counter";
        closeres(res, false);
        const int16_t saved = CurResFile();
        const int16_t rsr = FSpOpenResFile(CompanionSpec(fileSpec), fsRdPerm, ResFileFork::Data);
        ASSERT_NE(rsr, -1);
        Handle counter = Get1Resource(FourCC("QzQz"), 0);
        ASSERT_NE(counter, nullptr);
        ASSERT_EQ(GetHandleSize(counter), 4);
        EXPECT_EQ(ReadBE32(reinterpret_cast<uint8_t*>(*counter)), expected);
        CloseResFile(rsr);
        UseResFile(saved);
    }
    // A close without a change leaves the count.
    ASSERT_EQ(appl_->OpenNamedDoc(fileSpec, 0), 0);
    std::vector<uint8_t> before, after;
    ASSERT_EQ(ReadWholeFile(CompanionSpec(fileSpec).path, &before), 0);
    EXPECT_EQ(FrontDoc()->Close(), 0);
    ASSERT_EQ(ReadWholeFile(CompanionSpec(fileSpec).path, &after), 0);
    EXPECT_EQ(after, before);
    // A companion that cannot be written at close says so, and keeps what
    // it held.
    ASSERT_EQ(appl_->OpenNamedDoc(fileSpec, 0), 0);
    FrontDoc()->fCompilerDirty = true;
    ResetAlerts();
    InjectFault(FaultKind::DiskFull, 0, -1);
    EXPECT_EQ(FrontDoc()->Close(), 0);
    ClearAllFaults();
    EXPECT_EQ(AlertCount(), 1);
    const std::string said = LastAlert().text;
    ErrMsg(dskFulErr);
    EXPECT_EQ(said, LastAlert().text);
    ASSERT_EQ(ReadWholeFile(CompanionSpec(fileSpec).path, &after), 0);
    EXPECT_EQ(after, before);
}

TEST_F(OpenDocumentsTest, TheLastBrowserWindowMayKeepItsDocument)
{
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("Kept.QzB"), 0), 0);
    TMainDoc* doc = FrontDoc();
    // Preference flag 2: bit 5 of byte 6 of 'PREF' 0.
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        Handle pref = NewHandleClear(16);
        (*pref)[6] = char(0x20);
        const unsigned char empty[1] = {0};
        AddResource(pref, FourCC("PREF"), 0, empty);
        (*pref)[1] = char(128);
        WriteResource(pref);
        UseResFile(saved);
    }
    ASSERT_TRUE(GetPrefFlag(2));
    PushDialogAnswer(2);
    EXPECT_EQ(doc->Close(), 1001);
    EXPECT_EQ(DocCount(), 1);
    EXPECT_EQ(doc->CountRefWindow(), 1);
    EXPECT_EQ(LastAlert().alertId, 1002);
    EXPECT_EQ(LastAlert().text, "Close Kept.QzB now?") << "the texts of items 23 and 24 around the name";
    PushDialogAnswer(1);
    EXPECT_EQ(doc->Close(), 0);
    EXPECT_EQ(DocCount(), 0);
}

TEST_F(OpenDocumentsTest, AnEditorThatRefusesToCloseKeepsItsDocument)
{
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("Edits.QzB"), 0), 0);
    TMainDoc* doc = FrontDoc();
    auto* editor = NewWindow<TEditStrWindow>(doc, "Strings");
    ASSERT_NE(editor, nullptr);
    auto* pane = new FakePane(7);
    pane->modified = true;
    editor->AddPlane(pane);
    PushDialogAnswer(3);  // Cancel at the save question
    EXPECT_EQ(doc->Close(), 1001);
    EXPECT_EQ(DocCount(), 1);
    EXPECT_EQ(doc->CountWindow(), 2);
    EXPECT_EQ(design_.closes, 0);
    // A reparse stops there too, before anything is thrown away.
    PushDialogAnswer(3);
    EXPECT_EQ(doc->Reparse(), 1001);
    EXPECT_EQ(design_.rereads, 0);
    PushDialogAnswer(2);
    EXPECT_EQ(doc->Close(), 0);
    EXPECT_EQ(DocCount(), 0);
}

TEST_F(OpenDocumentsTest, AReparseClosesEveryEditorBeforeReading)
{
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("Editors.QzB"), 0), 0);
    TMainDoc* doc = FrontDoc();
    for (const char* title : {"Strings", "More strings", "Last strings"})
        ASSERT_NE(NewWindow<TEditStrWindow>(doc, title), nullptr);
    ASSERT_EQ(doc->CountWindow(), 4);
    EXPECT_EQ(doc->Reparse(), 0);
    EXPECT_EQ(doc->CountWindow(), 1) << "only the browser window stays";
    EXPECT_EQ(design_.rereads, 1);
}

// A list pane that counts its outputs.
int gOutputs = 0;
class OutputPane : public FakePane {
public:
    OutputPane() : FakePane(2) {}
    int16_t Output(bool flag) override
    {
        gOutputs += flag ? 1 : 100;
        return 0;
    }
};

TEST_F(OpenDocumentsTest, EventsPrintOpenRefuseUnreadParametersAndQuit)
{
    gOutputs = 0;
    PaneHooks().makeRefPlane = [](int16_t kind) -> TPlan* {
        if (kind == 0) return new OutputPane;
        return new FakePane(int16_t(kind == 3 ? 6 : 6 - kind));
    };
    AppleEvent event = FilesEvent(kAEPrintDocuments, {MakeDocFile("Print.QzB")});
    EXPECT_EQ(appl_->hAEPrintDocuments(&event, nullptr, 0), noErr);
    EXPECT_EQ(gOutputs, 1);
    EXPECT_EQ(DocCount(), 1);

    // A parameter nobody reads: -1708 and nothing opened.
    AppleEvent extra = FilesEvent(kAEOpenDocuments, {MakeDocFile("Other.QzB")});
    const int16_t unread = 7;
    AEPutParamPtr(&extra, FourCC("xtra"), FourCC("shor"), &unread, sizeof unread);
    EXPECT_EQ(appl_->hAEOpenDocuments(&extra, nullptr, 0), -1708);
    EXPECT_EQ(DocCount(), 1);

    AppleEvent quit;
    AECreateAppleEvent(kCoreEventClass, kAEQuitApplication, &quit);
    EXPECT_EQ(appl_->hAEQuitApplication(&quit, nullptr, 0), noErr);
    int16_t command = 0;
    ASSERT_TRUE(GetFunc(&command));
    EXPECT_EQ(command, 19);
    for (AEDesc* d : {&event, &extra, &quit}) AEDisposeDesc(d);
}

struct SqlCall {
    std::string script, structure, given;
    int16_t result = 0;
    FSSpec made;
    int calls = 0;
};
SqlCall gSql;

TEST_F(OpenDocumentsTest, AStructureFromAnSqlScriptOpensOrSaysWhyNot)
{
    DocHooks().sql = [](const unsigned char* script, const unsigned char* structure, FSSpec* fileSpec) -> int16_t {
        ++gSql.calls;
        gSql.script = P(script);
        gSql.structure = P(structure);
        gSql.given = fileSpec->path;
        if (gSql.result == 0 || gSql.result == 1024) *fileSpec = gSql.made;
        return gSql.result;
    };
    gSql = SqlCall();
    std::ofstream(folder_ / "schema.sql") << "CREATE TABLE T (F INT);";
    gSql.made = MakeDocFile("schema.sql.QzB");
    PushFileDialogAnswer(folder_ / "schema.sql");
    EXPECT_EQ(appl_->OpenSQL(), 0);
    EXPECT_EQ(gSql.script, folder_ / "schema.sql");
    EXPECT_EQ(gSql.structure, folder_ / "schema.sql.QzB");
    EXPECT_EQ(gSql.given, folder_ / "schema.sql");
    EXPECT_EQ(DocCount(), 1);

    // A structure made with remarks in its report opens, and a note says so.
    gSql.result = 1024;
    gSql.made = MakeDocFile("other.QzB");
    PushFileDialogAnswer(folder_ / "schema.sql");
    ResetAlerts();
    EXPECT_EQ(appl_->OpenSQL(), 0);
    EXPECT_EQ(std::tuple(DocCount(), AlertCount(), LastAlert().text, LastAlert().kind),
              std::tuple(2, 1, std::string("Remarks"), int16_t(kNoteAlert)));

    // The reader's own failure is shown as 1019, a script past the tables or
    // fields a structure holds as that limit; a failure that leaves no report
    // as itself; a cancel says nothing.
    unsigned char text[256];
    ErrorMessage(1019, text);
    const std::tuple<int16_t, int16_t, std::string> failures[] = {
        {-1, 1019, P(text)}, {1004, 1019, "Too many tables"}, {1006, 1019, "Too many fields"},
        {-34, -34, ""}, {-54, -54, ""}, {-43, -43, ""}};
    for (const auto& [result, answered, message] : failures) {
        gSql.result = result;
        PushFileDialogAnswer(folder_ / "schema.sql");
        ResetAlerts();
        EXPECT_EQ(appl_->OpenSQL(), answered) << result;
        ErrorMessage(result, text);
        EXPECT_EQ(LastAlert().text, message.empty() ? P(text) : message) << result;
    }
    gSql.result = 1001;
    PushFileDialogAnswer(folder_ / "schema.sql");
    ResetAlerts();
    EXPECT_EQ(appl_->OpenSQL(), 1001);
    EXPECT_EQ(AlertCount(), 0);
    PushCancel();
    EXPECT_EQ(appl_->OpenSQL(), 1001);

    // A path its length byte cannot hold is refused with a message, never cut.
    std::string deep = folder_.path();
    while (deep.size() < 260) deep += "/" + std::string(40, 'd');
    std::filesystem::create_directories(deep);
    std::ofstream(deep + "/long.sql") << "x";
    const int calls = gSql.calls;
    PushFileDialogAnswer(deep + "/long.sql");
    ResetAlerts();
    EXPECT_EQ(appl_->OpenSQL(), 1001);
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_EQ(gSql.calls, calls);
}

TEST_F(OpenDocumentsTest, AnUnsavedLibraryKeptAtItsLastWindowKeepsItsWorkingFiles)
{
    ASSERT_EQ(appl_->NewLibDoc(1), 0);
    auto* lib = static_cast<TLibDoc*>(appl_->fDocList);
    const std::string working = lib->fSpec.path;
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        Handle pref = NewHandleClear(16);
        (*pref)[1] = char(128);
        (*pref)[6] = char(0x20);
        const unsigned char empty[1] = {0};
        AddResource(pref, FourCC("PREF"), 0, empty);
        WriteResource(pref);
        UseResFile(saved);
    }
    PushDialogAnswer(2);
    EXPECT_EQ(lib->Close(), 1001);
    EXPECT_TRUE(std::filesystem::exists(working));
    EXPECT_TRUE(std::filesystem::exists(CompanionSpec(FSSpec{working}).path));
    EXPECT_EQ(DocCount(), 1);
    PushDialogAnswer(1);
    EXPECT_EQ(lib->Close(), 0);
    EXPECT_FALSE(std::filesystem::exists(working));
}

}  // namespace
