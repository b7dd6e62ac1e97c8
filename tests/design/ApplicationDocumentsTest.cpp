// Documents opened, made and saved by the application through the design
// layer's real functions, as the program wires them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <new>
#include <random>
#include <tuple>

#include "app/appl/MemoryShort.h"
#include "app/dialogs/Messages.h"
#include "app/documents/DocHooks.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Preferences.h"
#include "app/windows/TMainWindow.h"
#include "app/program/DocumentHooks.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/SpecialFolders.h"
#include "platform/files/WholeFile.h"
#include "platform/screen/Screen.h"
#include "resources/ResourceApi.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
#include "transfer/InstallTransfer.h"
#include "tests/design/ReadFixture.h"
#include "tests/platform/core/FailingNew.h"

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
    // It opens again as a library, and so does a copy of its two visible
    // files: the companion holds its resources itself.
    const std::filesystem::path copy = folder_ / "copy";
    std::filesystem::create_directories(copy);
    std::filesystem::copy_file(dest, copy / "Saved.QTL");
    std::filesystem::copy_file(folder_ / "Saved.RSR", copy / "Saved.RSR");
    for (const std::string& path : {dest, (copy / "Saved.QTL").string()}) {
        ASSERT_EQ(appl_->OpenNamedDoc(platform::FSSpec{path}, 0), 0) << ::LastAlert().text;
        auto* opened = static_cast<TLibDoc*>(appl_->fDocList);
        EXPECT_TRUE(opened->IsMember(3));
        ASSERT_NE(opened->fRsrFile, -1) << path;
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(opened->fRsrFile);
        EXPECT_NE(platform::Get1Resource(FourCC("INQz"), 0), nullptr) << path;
        platform::UseResFile(saved);
        EXPECT_EQ(opened->Close(), 0);
    }
}

// A library is saved under every name a file takes, 245 to 255 bytes: its
// data file and companion are there and nothing else, and it opens again as
// a library. Its type comes from its sidecar up to 253 bytes; the longer
// names have no room for one and go without.
TEST_F(ApplicationDocuments, ANewLibraryIsSavedUnderEveryNameAFileTakes)
{
    const std::filesystem::path folder = folder_ / "names";
    for (size_t length = 245; length <= 255; ++length) {
        SCOPED_TRACE(length);
        std::filesystem::create_directories(folder);
        ASSERT_EQ(appl_->NewLibDoc(1), 0);
        auto* doc = static_cast<TLibDoc*>(appl_->fDocList);
        const std::string stem(length - 4, 'L');
        platform::PushFileDialogAnswer(folder / (stem + ".QTL"));
        ResetAlerts();
        ASSERT_EQ(doc->Write(), 0) << ::LastAlert().text;
        EXPECT_EQ(doc->Close(), 0);
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(folder)) files.push_back(e.path().filename());
        std::sort(files.begin(), files.end());
        std::vector<std::string> expected{stem + ".QTL", stem + ".RSR"};
        if (length <= 253) expected.insert(expected.begin(), {"._" + stem + ".QTL", "._" + stem + ".RSR"});
        EXPECT_EQ(files, expected);
        platform::FInfo info;
        ASSERT_EQ(platform::FSpGetFInfo(platform::FSSpec{folder / (stem + ".QTL")}, &info), 0);
        EXPECT_EQ(std::tuple(info.fdType, info.fdCreator),
                  length <= 253 ? std::tuple(FourCC("QzLB"), FourCC("QzA6")) : std::tuple(0u, 0u));
        ASSERT_EQ(appl_->OpenNamedDoc(platform::FSSpec{folder / (stem + ".QTL")}, 0), 0) << ::LastAlert().text;
        EXPECT_TRUE(appl_->fDocList->IsMember(3));
        EXPECT_EQ(static_cast<TMainDoc*>(appl_->fDocList)->Close(), 0);
        std::filesystem::remove_all(folder);
    }
}

// A companion left without its data file at the first working name (a
// creation cut short) does not stop a new library: the next name is used.
TEST_F(ApplicationDocuments, ANewLibraryPassesANameStillTaken)
{
    platform::FSSpec prefs;
    ASSERT_EQ(platform::FindSpecialFolder(platform::SpecialFolder::Preferences, true, &prefs), 0);
    const std::string stray = prefs.path + "/Qz Browser Work.RSR";
    ASSERT_EQ(platform::WriteFileAtomically(stray, "x", 1), 0);
    ASSERT_EQ(appl_->NewLibDoc(1), 0) << ::LastAlert().text;
    EXPECT_EQ(platform::FSpGetName(static_cast<TLibDoc*>(appl_->fDocList)->fSpec), "Qz Browser Work1.QTL");
}

// A pipe named like a structure is said to be no document, not a file in
// use, and nothing waits on it.
// Every file of a document as it stands: the data file, the companion and
// their sidecars.
std::map<std::string, Bytes> DocumentFiles(const std::filesystem::path& folder)
{
    std::map<std::string, Bytes> files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        if (!e.is_regular_file()) continue;
        Bytes b;
        platform::ReadWholeFile(e.path(), &b);
        files[e.path().filename()] = std::move(b);
    }
    return files;
}

// A structure nobody may write is refused as locked, one another program
// holds as in use, each named, every byte kept; a document that is not
// there (nor its folder) as not found, named with its folder.
TEST_F(ApplicationDocuments, AStructureTheOpenCannotTakeIsRefusedWithItsReason)
{
    const docbuilder::BuildResult r =
        docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
    ASSERT_EQ(r.error, 0) << r.message;
    std::filesystem::remove(r.manifestPath);
    for (const char* ext : {".QzB", ".RSR"})
        std::filesystem::copy_file(folder_ / ("Demo" + std::string(ext)), folder_ / ("Held" + std::string(ext)));
    ASSERT_EQ(platform::FSpSetPermissions(platform::FSSpec{r.dataPath}, 0444), 0);
    // Another program has Held.QzB open: it holds its write lock.
    const int other = ::open((folder_ / "Held.QzB").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    const auto before = DocumentFiles(folder_.path());
    unsigned char text[256];
    const auto named = [&](int16_t before, int16_t after, const std::string& name) {
        MyGetIndString(text, 1037, before);
        std::string said = P(text) + name;
        MyGetIndString(text, 1037, after);
        return said + P(text);
    };
    // The folder cut as the message cuts it, in the room the rest leaves.
    const auto notThere = [](const std::string& name, const std::string& folder) {
        const std::string before = "There is no file named \"" + name + "\" in the folder \"",
                          after = "\". Check the name and the folder.";
        return before + PathToFit(folder, int32_t(255 - before.size() - after.size())) + after;
    };
    const struct {
        std::string path;
        int16_t err;
        std::string said;
    } cases[] = {
        {r.dataPath, platform::fLckdErr, named(5, 7, "Demo.QzB")},
        {folder_ / "Held.QzB", -49, named(5, 6, "Held.QzB")},
        {folder_ / "Gone.QzB", platform::fnfErr, notThere("Gone.QzB", folder_.path())},
        {folder_ / "Gone.QTL", platform::fnfErr, notThere("Gone.QTL", folder_.path())},
        {folder_ / "gone/Gone.QzB", platform::fnfErr, notThere("Gone.QzB", folder_ / "gone")},
    };
    for (const auto& c : cases) {
        ResetAlerts();
        EXPECT_EQ(appl_->OpenNamedDoc(platform::FSSpec{c.path}, 0), c.err) << c.path;
        EXPECT_EQ(appl_->fDocList, nullptr);
        EXPECT_EQ(::LastAlert().text, c.said) << c.path;
        EXPECT_EQ(DocumentFiles(folder_.path()), before);
    }
    ::close(other);
}

TEST_F(ApplicationDocuments, APipeIsNoDocument)
{
    const std::string pipe = folder_ / "Pipe.QzB";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ResetAlerts();
    EXPECT_EQ(appl_->OpenNamedDoc(platform::FSSpec{pipe}, 0), platform::notAFileErr);
    EXPECT_EQ(appl_->fDocList, nullptr);
    unsigned char text[256];
    MyGetIndString(text, 1002, 61);
    EXPECT_EQ(::LastAlert().text, P(text) + "Pipe.QzB");
}


// A library saved, then opened with one allocation failing at a time as
// the event loop runs a command: every file of it stays as saved, its two
// sidecars (its type and its companion's) with them.
TEST_F(ApplicationDocuments, ALibraryKeepsItsSidecarsWhenMemoryRunsOutInTheNextOpen)
{
    const std::filesystem::path saved = folder_ / "saved";
    std::filesystem::create_directories(saved);
    const platform::FSSpec dest{(saved / "Saved.QTL").string()};
    ASSERT_EQ(appl_->NewLibDoc(1), 0);
    platform::PushFileDialogAnswer(dest.path);
    ASSERT_EQ(static_cast<TLibDoc*>(appl_->fDocList)->Write(), 0) << ::LastAlert().text;
    ASSERT_EQ(static_cast<TMainDoc*>(appl_->fDocList)->Close(), 0);
    const std::map<std::string, Bytes> kept = DocumentFiles(saved);
    ASSERT_EQ(kept.size(), 4u);
    const auto open = [&](int64_t failAt) {
        testfaults::FailNthNew(failAt);
        RunCommand([&] { appl_->OpenNamedDoc(dest, 0); });
        const int64_t used = failAt - testfaults::gNewFault.countdown;
        testfaults::StopFailingNew();
        while (appl_->fDocList && appl_->fDocList != appl_->fClipBoard)
            if (static_cast<TMainDoc*>(appl_->fDocList)->Close() != 0) break;
        return used;
    };
    const int64_t count = open(int64_t(1) << 40);
    ASSERT_EQ(DocumentFiles(saved), kept);
    // Every allocation of the first (the Finder information read, the
    // names), then points spread to the end.
    for (int64_t at = 0; at < count; at += at < 128 ? 1 : std::max<int64_t>(1, count / 64)) {
        open(at);
        ASSERT_EQ(DocumentFiles(saved), kept) << "allocation " << at << " of " << count << " failing";
    }
}

// Memory running out in a command is said once, unless the command's
// change already reached the disk: then the command went through.
TEST_F(ApplicationDocuments, MemoryRunningOutIsNotSaidOnceTheChangeLanded)
{
    const int16_t store =
        createres(platform::FSSpec{folder_ / "Store"}, platform::FourCC("QzQz"), platform::FourCC("QzDc"));
    ASSERT_GT(store, 0);
    for (const bool commits : {false, true}) {
        SCOPED_TRACE(commits ? "committed" : "nothing committed");
        ResetAlerts();
        RunCommand([&] {
            if (commits) {
                ASSERT_TRUE(useres(store));
                ASSERT_TRUE(xaddres(platform::NewHandleClear(4), platform::FourCC("Test"), 128));
                ASSERT_TRUE(updateres(store));
            }
            throw std::bad_alloc();
        });
        EXPECT_EQ(::AlertCount(), commits ? 0 : 1);
    }
    EXPECT_TRUE(closeres(store, false));

    // A document the command brought in goes again: that is said, though
    // a commit of it landed.
    const docbuilder::BuildResult r =
        docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
    ASSERT_EQ(r.error, 0) << r.message;
    transfer::InstallModuleManager();
    ResetAlerts();
    RunCommand([&] {
        ASSERT_EQ(appl_->OpenNamedDoc(platform::FSSpec{r.dataPath}, 0), 0) << ::LastAlert().text;
        const int16_t file = static_cast<TMainDoc*>(appl_->fDocList)->fResFile;
        ASSERT_TRUE(useres(file));
        ASSERT_TRUE(xaddres(platform::NewHandleClear(4), platform::FourCC("Test"), 128));
        ASSERT_TRUE(updateres(file));
        throw std::bad_alloc();
    });
    EXPECT_EQ(appl_->fDocList, nullptr);
    EXPECT_EQ(::AlertCount(), 1);
}

// Damaged copies of the demo that the read refuses are left byte for byte
// as they were, whatever the open would have changed in an accepted one:
// groups moved out of the companion, an older version record renewed, an
// older empty user table replaced.
TEST_F(ApplicationDocuments, DocumentsTheReadRefusesKeepEveryByte)
{
    Bytes text;
    ASSERT_EQ(platform::ReadWholeFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", &text), 0);
    const std::string demo(text.begin(), text.end());
    struct Base {
        const char* name;
        std::string extra;       // lines added to the demo's description
        bool olderUserTable;     // 'PAQz' 0 of 4 bytes and no 'PAQz' 1
    };
    const Base bases[] = {
        {"as built", "", false},
        {"groups in the companion", "groups companion\n", false},
        {"version 5", "version 5\n", false},
        {"older user table", "", true},
    };
    const uint32_t types[] = {FourCC("WNQz"), FourCC("TPQz"), FourCC("LEQz"), FourCC("LIBA"), FourCC("LiHe"),
                              FourCC("STQz"), FourCC("PIC#"), FourCC("FIQz"), FourCC("TFQz"), FourCC("MENQ")};
    const int16_t ids[] = {0, 0, 0, 0, 0, 0, 128, 1, 1, 1};
    std::vector<std::filesystem::path> built;
    for (const Base& base : bases) {
        built.push_back(folder_ / ("base" + std::to_string(built.size())));
        std::filesystem::create_directories(built.back());
        const docbuilder::BuildResult r = docbuilder::BuildDocument(demo + base.extra, "Demo.qzdoc", built.back());
        ASSERT_EQ(r.error, 0) << r.message;
        std::filesystem::remove(r.manifestPath);
    }
    std::mt19937 rng(2025);
    int refused = 0, tried = 0;
    for (int round = 0; refused < 200 && round < 2000; ++round) {
        const size_t b0 = size_t(round) % std::size(bases);
        const Base& base = bases[b0];
        const std::filesystem::path dir = folder_ / ("round" + std::to_string(round));
        std::filesystem::copy(built[b0], dir);
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(dir / "Demo.QzB", &fileSpec);
        // The damage, written through the store and committed.
        const int16_t f = openres(fileSpec, false);
        ASSERT_NE(f, 0);
        if (base.olderUserTable) {
            rmveresbyid(FourCC("PAQz"), 1, true);
            rmveresbyid(FourCC("PAQz"), 0, true);
            ASSERT_TRUE(xaddres(platform::NewHandleClear(4), FourCC("PAQz"), 0));
        }
        const size_t which = rng() % std::size(types);
        const uint32_t t = types[which];
        platform::Handle h = xget1res(t, ids[which]);
        ASSERT_NE(h, nullptr) << which;
        Bytes b(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h));
        for (int c = 0, cuts = 1 + int(rng() % 3); c < cuts && !b.empty(); ++c) {
            switch (rng() % 3) {
            case 0: b[rng() % b.size()] = uint8_t(rng()); break;
            case 1: b.resize(rng() % b.size()); break;
            case 2: if (b.size() >= 2) platform::WriteBE16(&b[0], uint16_t(rng())); break;
            }
        }
        rmveresbyid(t, ids[which], true);
        platform::Handle damaged = nullptr;
        ASSERT_EQ(platform::PtrToHand(b.data(), &damaged, platform::Size(b.size())), 0);
        ASSERT_TRUE(xaddres(damaged, t, ids[which]));
        ASSERT_TRUE(closeres(f, true));

        const auto before = DocumentFiles(dir);
        ++tried;
        const int16_t result = appl_->OpenNamedDoc(fileSpec, 0);
        if (result == 0) {
            ASSERT_EQ(appl_->fDocList->Close(), 0);
            continue;
        }
        ++refused;
        EXPECT_EQ(appl_->fDocList, nullptr);
        EXPECT_EQ(DocumentFiles(dir), before) << base.name << ", directory " << which << " damaged, refused with " << result;
        std::filesystem::remove_all(dir);
    }
    EXPECT_EQ(refused, 200) << tried << " tried";
}

}  // namespace
}  // namespace readtest
