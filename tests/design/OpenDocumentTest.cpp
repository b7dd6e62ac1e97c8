// Opening documents: refused, converted or accepted by level, version and
// byte order; the password tables normalised; the administrator asked;
// nothing left open after a refusal and a refused file left as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/Messages.h"
#include "design/documents/CompanionJournalFile.h"
#include "design/objects/TableDescriptions.h"
#include "platform/core/Endian.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"
#include "resources/Companion.h"
#include "tests/design/DocFilesFixture.h"

namespace doctest {
namespace {

std::string Text(int16_t list, int16_t index)
{
    unsigned char text[256];
    MyGetIndString(text, list, index);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

class OpenDocument : public DocFiles {
protected:
    bool CompanionOpen(const std::string& name)
    {
        platform::Boolean inChain = false;
        int16_t number = -1;
        return platform::FSpResourceFileAlreadyOpen(InFolder(name), &inChain, &number);
    }
    // Runs the open expecting a refusal: nothing open, out numbers -1, the
    // file as it was.
    void ExpectRefused(const platform::FSSpec& fileSpec, uint8_t isStructure, int16_t expected,
                       platform::Script script = {})
    {
        const Bytes before = Read(fileSpec);
        const Opened o = Open(fileSpec, isStructure, std::move(script));
        EXPECT_EQ(o.err, expected);
        EXPECT_EQ(o.rsrFile, -1);
        EXPECT_EQ(o.container, -1);
        EXPECT_EQ(o.password, "");
        EXPECT_EQ(OpenContainers(), 0);
        EXPECT_EQ(Read(fileSpec), before);
    }
    int16_t CompanionVersion(const std::string& name)
    {
        const int16_t saved = platform::CurResFile();
        const int16_t file = platform::FSpOpenResFile(InFolder(name), platform::fsRdPerm);
        platform::Handle h = platform::Get1Resource(FourCC("INQz"), 0);
        const int16_t version = h && *h ? int16_t(platform::ReadBE16(reinterpret_cast<uint8_t*>(*h))) : -1;
        platform::CloseResFile(file);
        platform::UseResFile(saved);
        return version;
    }
    // Rewrites one resource of a closed container (null bytes: removes it).
    void Rewrite(const platform::FSSpec& fileSpec, uint32_t type, int16_t id, const Bytes* bytes)
    {
        const int16_t file = openres(fileSpec, false);
        ASSERT_GT(file, 0);
        useres(file);
        rmveresbyid(type, id, true);
        if (bytes) {
            platform::Handle h = nullptr;
            ASSERT_EQ(platform::PtrToHand(bytes->data(), &h, platform::Size(bytes->size())), 0);
            ASSERT_TRUE(xaddres(h, type, id));
        }
        ASSERT_TRUE(closeres(file, true));
    }
};

TEST_F(OpenDocument, StructuresBelowTheCurrentLevelAreRefusedAndLibrariesOfferedTheConversion)
{
    for (int16_t index : {42, 43, 48}) EXPECT_FALSE(Text(1002, index).empty()) << index;
    ResetAlerts();
    // Left marked open by an earlier session, it keeps its mark too.
    const platform::FSSpec old = Build("structure B\nlevel 14\n");
    Bytes marked = Read(old);
    marked[23] = 1;
    ASSERT_EQ(platform::WriteFileAtomically(old.path, marked.data(), marked.size()), 0);
    ExpectRefused(old, 1, 1001, platform::Script().Choose(1));
    EXPECT_EQ(LastAlert().alertId, 1000);
    EXPECT_EQ(LastAlert().kind, kStopAlert);
    EXPECT_EQ(LastAlert().text, Text(1002, 42));

    const platform::FSSpec lib = Build("library L\nlevel 14\nversion 3\n");
    ExpectRefused(lib, 0, 1001, platform::Script().Choose(2));
    EXPECT_EQ(LastAlert().alertId, 1002);
    EXPECT_EQ(LastAlert().kind, kCautionAlert);
    EXPECT_EQ(LastAlert().text, Text(1002, 48));

    // Converted by an open that no read accepts, it keeps every byte.
    const Bytes before = Read(lib), companion = Read(InFolder("L.RSR"));
    Close(Open(lib, 0, platform::Script().Choose(1)));
    EXPECT_EQ(Read(lib), before);
    EXPECT_EQ(Read(InFolder("L.RSR")), companion);
    const Opened o = Open(lib, 0, platform::Script().Choose(1));
    ASSERT_EQ(o.err, 0);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(*hparam)[4], 15);
    CloseAccepted(o);
    EXPECT_EQ(CompanionVersion("L.RSR"), 6) << "renewed";
    const Opened again = Open(lib, 0);
    ASSERT_EQ(again.err, 0);
    EXPECT_EQ(Resource(again.container, FourCC("PRQz"), 0)[4], 15) << "stored";
    Close(again);
}

TEST_F(OpenDocument, OlderFormatsNeedThisMachinesByteOrder)
{
    ExpectRefused(Build("library L0\nlevel 0\norder little\n"), 0, 1018);
    ExpectRefused(Build("structure S9\nlevel 9\norder little\n"), 1, 1016);
    // In this order a structure is still never converted.
    ResetAlerts();
    ExpectRefused(Build("structure N9\nlevel 9\n"), 1, 1001, platform::Script().Choose(1));
    EXPECT_EQ(LastAlert().text, Text(1002, 42));
    // A library is asked twice: the older conversion, then the level.
    const platform::FSSpec lib = Build("library N0\nlevel 0\n");
    ExpectRefused(lib, 0, 1001, platform::Script().Choose(2));
    EXPECT_EQ(LastAlert().text, Text(1002, 43));
    const Opened o = Open(lib, 0, platform::Script().Choose(1).Choose(1));
    EXPECT_EQ(o.err, 0);
    EXPECT_EQ(LastAlert().text, Text(1002, 48));
    Close(o);
}

TEST_F(OpenDocument, VersionRecordsOfNewerProgramsAreRefusedAndVersionFiveIsRenewed)
{
    const Opened same = Open(Build("library V6\nversion 6\n"), 0);
    EXPECT_EQ(same.err, 0);
    Close(same);
    ExpectRefused(Build("library V7\nversion 7\n"), 0, 1002);
    EXPECT_FALSE(CompanionOpen("V7.RSR")) << "closed by the refusal, not left to the caller";
    const platform::FSSpec v5 = Build("structure V5\nversion 5\n");
    Close(Open(v5, 1));
    EXPECT_EQ(CompanionVersion("V5.RSR"), 5) << "not accepted: left as it was";
    const Opened five = Open(v5, 1);
    EXPECT_EQ(five.err, 0);
    CloseAccepted(five);
    EXPECT_EQ(CompanionVersion("V5.RSR"), 6);
    EXPECT_EQ(OpenContainers(), 0);
}

TEST_F(OpenDocument, MissingOrShortParameterRecordsAreDamage)
{
    const platform::FSSpec missing = Build("structure M\n");
    Rewrite(missing, FourCC("PRQz"), 0, nullptr);
    ExpectRefused(missing, 1, 1003);
    const platform::FSSpec shortOne = Build("library T\n");
    const Bytes four{0, 0, 0x11, 0};
    Rewrite(shortOne, FourCC("PRQz"), 0, &four);
    ExpectRefused(shortOne, 0, 1003);
    ExpectRefused(InFolder("nowhere.QzB"), 1, platform::fnfErr);
    const platform::FSSpec notContainer = InFolder("text.QzB");
    const Bytes text{'h', 'e', 'l', 'l', 'o'};
    ASSERT_EQ(platform::WriteFileAtomically(notContainer.path, text.data(), text.size()), 0);
    ExpectRefused(notContainer, 1, 1003);
    // A pipe in the companion's place: the document opens without one.
    const platform::FSSpec piped = Build("structure Piped\n");
    ASSERT_EQ(::unlink(InFolder("Piped.RSR").path.c_str()), 0);
    ASSERT_EQ(::mkfifo(InFolder("Piped.RSR").path.c_str(), 0600), 0);
    const Opened o = Open(piped, 1);
    EXPECT_EQ(o.err, 0);
    EXPECT_EQ(o.rsrFile, -1);
    Close(o);
}

// A pipe, a folder, a link to itself and a sparse file of 3 GiB under the
// document's name (alone or with a journal of its companion beside it) or
// under the journal's name: the open answers at once. Under the document's
// name it is no document, and the journal stays; under the journal's name
// it is no journal: the document opens as it is, the opener is told, and
// the thing stays where it is.
TEST_F(OpenDocument, OddFilesUnderTheDocumentsOrTheJournalsNameAreAnsweredAtOnce)
{
    namespace fs = std::filesystem;
    const auto make = [](const std::string& kind, const fs::path& at) {
        if (kind == "pipe") ::mkfifo(at.c_str(), 0600);
        if (kind == "folder") fs::create_directory(at);
        if (kind == "loop") fs::create_symlink(at.filename(), at);
        if (kind == "sparse") {
            { std::ofstream created(at); }
            fs::resize_file(at, uintmax_t(3) << 30);
        }
    };
    const auto present = [](const platform::FSSpec& at) { return fs::exists(fs::symlink_status(at.path)); };
    // Long enough to be read as a journal of the older layout.
    Bytes journal{'Q', 'z', 'C', 'J'};
    journal.resize(36);
    const std::pair<std::string, int16_t> kinds[] = {{"pipe", platform::notAFileErr},
                                                     {"folder", platform::notAFileErr},
                                                     {"loop", platform::dirNFErr},
                                                     {"sparse", 1003}};
    for (const auto& [kind, asDocument] : kinds) {
        SCOPED_TRACE(kind);
        for (const bool beside : {false, true}) {
            const platform::FSSpec doc = InFolder(kind + (beside ? "Beside" : "") + ".QzB");
            const platform::FSSpec kept = KeptCompanionJournal(doc);
            make(kind, doc.path);
            if (beside) {
                ASSERT_EQ(platform::WriteFileAtomically(kept.path, journal.data(), journal.size()), 0);
            }
            EXPECT_EQ(Open(doc, 1).err, asDocument);
            EXPECT_EQ(OpenContainers(), 0);
            EXPECT_TRUE(present(doc));
            EXPECT_EQ(Read(kept), beside ? journal : Bytes{});
        }
        const platform::FSSpec doc = Build("structure Odd" + kind + "\n"), kept = KeptCompanionJournal(doc);
        platform::FSSpec companion;
        ASSERT_TRUE(CompanionSpec(doc, &companion));
        const Bytes files = Read(companion);
        make(kind, kept.path);
        ResetAlerts();
        const Opened o = Open(doc, 1);
        EXPECT_EQ(o.err, 0);
        Close(o);
        EXPECT_EQ(AlertCount(), 1);
        EXPECT_TRUE(LastAlert().text.ends_with(platform::FSpGetName(kept))) << LastAlert().text;
        EXPECT_EQ(Read(companion), files);
        EXPECT_TRUE(present(kept));
    }
}

TEST_F(OpenDocument, FourByteUserTablesWithoutGroupsBecomeTheFixedEmptyTable)
{
    uint8_t fixed[4];
    EmptyScrambledTable(fixed);
    const platform::FSSpec lib = Build("library P\n");
    const Bytes odd{1, 2, 3, 4};
    Rewrite(lib, FourCC("PAQz"), 0, &odd);
    Rewrite(lib, FourCC("PAQz"), 1, nullptr);
    for (int round = 0; round < 2; ++round) {
        const Opened o = Open(lib, 0);
        ASSERT_EQ(o.err, 0);
        EXPECT_EQ(Resource(o.container, FourCC("PAQz"), 0), Bytes(fixed, fixed + 4)) << round;
        CloseAccepted(o);
        const Opened stored = Open(lib, 0);
        EXPECT_EQ(Resource(stored.container, FourCC("PAQz"), 0), Bytes(fixed, fixed + 4)) << round;
        Close(stored);
        Rewrite(lib, FourCC("PAQz"), 0, &odd);
    }
    const Bytes ten(10, 7);
    Rewrite(lib, FourCC("PAQz"), 0, &ten);
    const Opened o = Open(lib, 0);
    ASSERT_EQ(o.err, 0);
    EXPECT_EQ(Resource(o.container, FourCC("PAQz"), 0), ten);
    Close(o);
}

TEST_F(OpenDocument, TheAdministratorIsAskedForAPasswordUntilRightOrCancelled)
{
    const platform::FSSpec base = Build("structure A\nuser Designer password \"abcdefghijklmno\"\nuser Admin\n");
    ASSERT_EQ(platform::InitScreen(1024, 768), 0);
    const uint32_t beeps = platform::SysBeepCount();
    // Inked pixels of the password's field after the caret's first place.
    std::vector<int32_t> inked;
    std::vector<std::string> shown;
    platform::HeadlessOptions options;
    options.screenshot = [&](const std::string&) {
        platform::Rect content;
        platform::GetWindowBounds(platform::FrontWindow(), platform::kWindowContentRgn, &content);
        const platform::PixMap* screen = platform::ComposeScreen();
        int32_t dark = 0;
        for (int32_t v = content.top + 72; v < content.top + 85; ++v) {
            const auto* row = reinterpret_cast<const uint32_t*>(screen->baseAddr + (v - screen->bounds.top) * (screen->rowBytes & 0x3FFF));
            for (int32_t h = content.left + 24; h < content.left + 200; ++h)
                dark += (row[h - screen->bounds.left] & 0xFFFFFF) != 0xFFFFFF;
        }
        inked.push_back(dark);
        unsigned char text[256];
        GetText(text, platform::GetDialogFromWindow(platform::FrontWindow()), 4);
        shown.emplace_back(reinterpret_cast<const char*>(text + 1), text[0]);
        return platform::noErr;
    };
    platform::Script script;
    script.WaitIdle().Type("wrong").Wait(2).Screenshot("typed").Key("return");
    script.WaitIdle().Screenshot("refused").Type("abcdefghijklmnoXY").Key("return");
    Opened o;
    {
        unsigned char password[16] = {0};
        platform::testing::HeadlessRun run(std::move(script), options);
        o.err = OpenQzB(1, base, &o.rsrFile, &o.container, &o.other, password);
        o.password.assign(reinterpret_cast<const char*>(password + 1), password[0]);
    }
    ASSERT_EQ(o.err, 0);
    EXPECT_EQ(o.password, "abcdefghijklmno") << "cut to 15";
    EXPECT_EQ(platform::SysBeepCount() - beeps, 1u);
    EXPECT_EQ(shown, (std::vector<std::string>{"wrong", ""}));
    ASSERT_EQ(inked.size(), 2u);
    EXPECT_GT(inked[0], 20) << "the typed text shows";
    EXPECT_EQ(inked[1], 0) << "and is cleared with its item";
    EXPECT_EQ(platform::FrontWindow(), nullptr) << "the dialog is gone";
    Close(o);
    platform::InitScreen();

    ExpectRefused(base, 1, 1001, platform::Script().Choose(5));
    EXPECT_FALSE(CompanionOpen("A.RSR"));

    // A library is never asked; an empty password asks nothing.
    const Opened lib = Open(Build("library AL\nuser Designer password \"x\"\n"), 0);
    EXPECT_EQ(lib.err, 0);
    Close(lib);
    const Opened open = Open(Build("structure E\nuser Designer\nuser Admin password \"y\"\n"), 1);
    EXPECT_EQ(open.err, 0);
    EXPECT_EQ(open.password, "");
    Close(open);
}

// Cancelled, the password dialog clears the password and leaves the file
// that was current.
TEST_F(OpenDocument, ACancelledPasswordDialogLeavesNoPasswordAndTheCurrentFile)
{
    platform::FSpCreateResFile(InFolder("Other.RSR"), FourCC("QzA6"), FourCC("QzLB"), -1);
    const int16_t file = platform::FSpOpenResFile(InFolder("Other.RSR"), platform::fsRdPerm);
    ASSERT_GT(file, 0);
    unsigned char password[16] = {3, 'a', 'b', 'c'};
    bool accepted = true;
    {
        platform::testing::HeadlessRun run(platform::Script().Choose(5));
        accepted = CheckPassword(false, password);
    }
    EXPECT_FALSE(accepted);
    EXPECT_EQ(password[0], 0);
    EXPECT_EQ(platform::CurResFile(), file);
    platform::CloseResFile(file);
}

TEST_F(OpenDocument, ClosingOneDocumentLeavesTheOtherWorking)
{
    const platform::FSSpec aSpec = Build("structure A\n");
    const Opened a = Open(aSpec, 1);
    const Opened b = Open(Build("library B\nlevel 15\n"), 0);
    ASSERT_EQ(a.err, 0);
    ASSERT_EQ(b.err, 0);
    EXPECT_EQ(Open(aSpec, 1).err, -49) << "already open";
    UseQzRes(a.container);
    platform::Handle aRecord = hparam;
    ASSERT_NE(aRecord, nullptr);
    UseQzRes(b.container);
    EXPECT_NE(hparam, aRecord);
    Close(b);
    UseQzRes(a.container);
    // A refused open leaves the current document current.
    EXPECT_EQ(Open(Build("library Newer\nversion 7\n"), 0).err, 1002);
    EXPECT_EQ(numresfalse, a.container);
    EXPECT_EQ(hparam, aRecord);
    UseQzRes(a.container);
    EXPECT_EQ(hparam, aRecord);
    EXPECT_NE(xget1res(FourCC("PRQz"), 0), nullptr);
    // The table loader keeps to the current document's record.
    EXPECT_EQ(Init_ef(), 0);
    EXPECT_EQ(DocParamRecord(a.container), hparam);
    DisposeTableRecords();
    EXPECT_EQ(DocParamRecord(a.container), hparam);
    Close(a);
    EXPECT_EQ(hparam, nullptr);
    EXPECT_EQ(OpenContainers(), 0);
}

TEST_F(OpenDocument, DamagedContainersAreRefusedOrReadAndNeverChanged)
{
    const platform::FSSpec base = Build("structure D\nuser Designer password \"pw\"\nuser Admin\nusergroup G\n  user Admin\n");
    const Bytes original = Read(base);
    const platform::FSSpec work = InFolder("W.QzB");
    std::filesystem::copy_file(docs_ + "/D.RSR", docs_ + "/W.RSR");
    auto check = [&](const std::string& what) {
        const Bytes before = Read(work);
        const Opened o = Open(work, 1, platform::Script().Choose(5));
        if (o.err == 0) Close(o);
        EXPECT_EQ(OpenContainers(), 0) << what;
        if (o.err) {
            EXPECT_EQ(Read(work), before) << what;
        }
    };
    for (size_t length : {size_t(0), size_t(20), size_t(36), size_t(4096), original.size() / 2, original.size() - 1}) {
        ASSERT_EQ(platform::WriteFileAtomically(work.path, original.data(), length), 0);
        check("cut at " + std::to_string(length));
    }
    std::mt19937 random(1234);
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(platform::WriteFileAtomically(work.path, original.data(), original.size()), 0);
        const uint32_t type = i % 2 ? FourCC("PRQz") : FourCC("PAQz");
        const int16_t file = openres(work, false);
        ASSERT_GT(file, 0);
        useres(file);
        platform::Handle h = xget1res(type, 0);
        ASSERT_NE(h, nullptr);
        Bytes bytes(*h, *h + platform::GetHandleSize(h));
        closeres(file, false);
        const int changes = 1 + int(random() % 8);
        for (int c = 0; c < changes; ++c) {
            const uint32_t r = random();
            if (r % 5 == 0) bytes.resize(random() % (bytes.size() + 1));
            else if (!bytes.empty()) bytes[random() % bytes.size()] = uint8_t(r >> 8);
        }
        Rewrite(work, type, 0, &bytes);
        check("corruption " + std::to_string(i));
    }
}

}  // namespace
}  // namespace doctest
