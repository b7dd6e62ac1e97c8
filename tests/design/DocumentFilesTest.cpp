// Moving a document with its companion, the companion's place, and the
// compilation state of a structure.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "app/dialogs/Messages.h"
#include "design/documents/DocumentPairs.h"
#include "design/objects/TableDescriptions.h"
#include "forms/drawing/StyleSheetsInUse.h"
#include "platform/files/Forks.h"
#include "resources/Companion.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/design/DocFilesFixture.h"

namespace doctest {
namespace {

class DocumentFiles : public DocFiles {
protected:
    // A data file of `size` patterned bytes and its companion holding one
    // resource.
    void MakeDocument(const std::string& name, size_t size, uint8_t seed)
    {
        Bytes data(size);
        for (size_t i = 0; i < size; ++i) data[i] = uint8_t(i * 7 + seed);
        const platform::FSSpec fileSpec = InFolder(name + ".QTL");
        ASSERT_EQ(platform::FSpCreate(fileSpec, FourCC("QzA6"), FourCC("QzLB"), -1), 0);
        int16_t ref = 0;
        ASSERT_EQ(platform::FSpOpenDF(fileSpec, platform::fsWrPerm, &ref), 0);
        int64_t count = int64_t(size);
        ASSERT_EQ(platform::FSWrite(ref, &count, data.data()), 0);
        platform::FSClose(ref);
        const platform::FSSpec companion = InFolder(name + ".RSR");
        platform::FSpCreateResFile(companion, FourCC("QzA6"), FourCC("QzLB"), -1);
        const int16_t file = platform::FSpOpenResFile(companion, platform::fsRdWrPerm);
        ASSERT_NE(file, -1);
        platform::Handle h = platform::NewHandle(3);
        (*h)[0] = char(seed);
        platform::AddResource(h, FourCC("INQz"), 0, reinterpret_cast<const unsigned char*>(""));
        platform::CloseResFile(file);
    }
    // The companion's 'INQz' 0 first byte, -1 when it cannot be read.
    int32_t CompanionMark(const std::string& name)
    {
        const int16_t file = platform::FSpOpenResFile(InFolder(name), platform::fsRdPerm);
        if (file == -1) return -1;
        platform::Handle h = platform::Get1Resource(FourCC("INQz"), 0);
        const int32_t mark = h && *h ? uint8_t((*h)[0]) : -1;
        platform::CloseResFile(file);
        return mark;
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(docs_))
            if (e.path().filename().string().rfind("._", 0) != 0) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(DocumentFiles, ADocumentMovesWholeWithItsCompanion)
{
    MakeDocument("Src", 8192, 1);
    const Bytes data = Read(InFolder("Src.QTL"));
    EXPECT_EQ(CopyFile(InFolder("Src.QTL"), InFolder("Src.QTL")), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Src.QTL", "Src.RSR"})) << "nothing touched";

    ASSERT_EQ(CopyFile(InFolder("Src.QTL"), InFolder("Dest.QTL")), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Dest.QTL", "Dest.RSR"}));
    EXPECT_EQ(Read(InFolder("Dest.QTL")), data) << "an exact multiple of the block";
    EXPECT_EQ(CompanionMark("Dest.RSR"), 1);
    platform::FInfo info;
    ASSERT_EQ(platform::FSpGetFInfo(InFolder("Dest.QTL"), &info), 0);
    EXPECT_EQ(info.fdType, FourCC("QzLB"));

    // Names differing only by case are two files.
    MakeDocument("base", 100, 2);
    ASSERT_EQ(CopyFile(InFolder("base.QTL"), InFolder("Base.QTL")), 0);
    EXPECT_EQ(CompanionMark("Base.RSR"), 2);
    EXPECT_FALSE(platform::FSpExists(InFolder("base.QTL")));
    // A hard link is the same file under another name.
    std::filesystem::create_hard_link(docs_ + "/Base.QTL", docs_ + "/Link.QTL");
    EXPECT_EQ(CopyFile(InFolder("Base.QTL"), InFolder("Link.QTL")), 0);
    EXPECT_TRUE(platform::FSpExists(InFolder("Base.QTL")));
}

TEST_F(DocumentFiles, AFailedMoveKeepsTheSourcesAndTheOldDestination)
{
    MakeDocument("Src", 5000, 3);
    platform::FSpDelete(InFolder("Src.RSR"));
    EXPECT_EQ(CopyFile(InFolder("Src.QTL"), InFolder("Dest.QTL")), platform::fnfErr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Src.QTL"})) << "nothing left at the destination";

    platform::FSpDelete(InFolder("Src.QTL"));
    MakeDocument("Src", 5000, 3);
    MakeDocument("Dest", 300, 9);
    const Bytes source = Read(InFolder("Src.QTL")), dest = Read(InFolder("Dest.QTL"));
    int32_t failures = 0;
    for (int32_t after = 0; after < 50; ++after) {
        int16_t err;
        {
            platform::ScopedFault fault(platform::FaultKind::DiskFull, after);
            err = CopyFile(InFolder("Src.QTL"), InFolder("Dest.QTL"));
        }
        if (!err) break;
        ++failures;
        EXPECT_EQ(Read(InFolder("Dest.QTL")), dest) << after;
        EXPECT_EQ(CompanionMark("Dest.RSR"), 9) << after;
        EXPECT_EQ(Read(InFolder("Src.QTL")), source) << after;
        EXPECT_EQ(Names(), (std::vector<std::string>{"Dest.QTL", "Dest.RSR", "Src.QTL", "Src.RSR"})) << after;
    }
    EXPECT_GT(failures, 1);
    EXPECT_EQ(Read(InFolder("Dest.QTL")), source);
    EXPECT_EQ(CompanionMark("Dest.RSR"), 3);
}

TEST_F(DocumentFiles, AMovedDocumentKeepsItsOwnResourceFork)
{
    MakeDocument("Src", 10, 4);
    platform::FSpCreateResFile(InFolder("Src.QTL"), FourCC("QzA6"), FourCC("QzLB"), -1);
    const int16_t file = platform::FSpOpenResFile(InFolder("Src.QTL"), platform::fsRdWrPerm);
    ASSERT_NE(file, -1);
    platform::Handle h = platform::NewHandle(1);
    (*h)[0] = char(42);
    platform::AddResource(h, FourCC("INQz"), 0, reinterpret_cast<const unsigned char*>(""));
    platform::CloseResFile(file);
    ASSERT_EQ(CopyFile(InFolder("Src.QTL"), InFolder("Dest.QTL")), 0);
    EXPECT_EQ(CompanionMark("Dest.QTL"), 42);
    EXPECT_EQ(CompanionMark("Dest.RSR"), 4);
}

// A file at the name of a move's journal that is no journal of it stops
// the move before anything is copied.
TEST_F(DocumentFiles, AForeignFileAtAJournalsNameStopsTheMove)
{
    for (const char* journal : {".qz.Src.QTL.replacing", ".qz.Dest.QTL.replacing"}) {
        MakeDocument("Src", 100, 7);
        MakeDocument("Dest", 50, 8);
        std::ofstream(docs_ + "/" + journal) << "12345";
        EXPECT_EQ(CopyFile(InFolder("Src.QTL"), InFolder("Dest.QTL")), platform::ioErr) << journal;
        EXPECT_EQ(Names(), (std::vector<std::string>{journal, "Dest.QTL", "Dest.RSR", "Src.QTL", "Src.RSR"}));
        EXPECT_EQ(CompanionMark("Dest.RSR"), 8) << journal;
        EXPECT_EQ(Read(InFolder("Src.QTL")).size(), 100u) << journal;
        std::filesystem::remove_all(docs_);
        std::filesystem::create_directories(docs_);
    }
}

TEST_F(DocumentFiles, MemoryRunningOutInAMoveThrowsNothingOutAndKeepsBothDocuments)
{
    MakeDocument("Src", 5000, 5);
    MakeDocument("Dest", 300, 6);
    const Bytes source = Read(InFolder("Src.QTL"));
    const platform::FSSpec from = InFolder("Src.QTL"), to = InFolder("Dest.QTL");
    int32_t failures = 0;
    bool kept = true;
    for (int64_t after = 0; after < 5000; ++after) {
        int16_t err = 0;
        testfaults::FailNthNew(after);
        try {
            err = CopyFile(from, to);
        } catch (const std::bad_alloc&) {
            err = platform::memFullErr;
            ADD_FAILURE() << "memory running out after " << after << " allocations escaped the move";
        }
        const bool failed = !testfaults::NewFailurePending();
        testfaults::StopFailingNew();
        if (!failed) {
            kept = false;
            break;
        }
        ++failures;
        // The document is whole at its source or at its destination.
        kept = Read(InFolder("Src.QTL")) == source && CompanionMark("Src.RSR") == 5;
        const bool moved = Read(InFolder("Dest.QTL")) == source && CompanionMark("Dest.RSR") == 5;
        ASSERT_TRUE(kept || moved) << after;
        // Nothing beside them: no made pair, no journal, no sidecar of one.
        for (const auto& e : std::filesystem::directory_iterator(docs_)) {
            const std::string name = e.path().filename().string(), of = name.rfind("._", 0) == 0 ? name.substr(2) : name;
            EXPECT_TRUE(of == "Src.QTL" || of == "Src.RSR" || of == "Dest.QTL" || of == "Dest.RSR") << after << ": " << name;
        }
        if (!kept || err == 0) break;
    }
    EXPECT_GT(failures, 5);
    // Nothing stays open: a document still at its source moves yet.
    if (kept) {
        ASSERT_EQ(CopyFile(from, to), 0);
    }
    EXPECT_EQ(Read(InFolder("Dest.QTL")), source);
    EXPECT_EQ(CompanionMark("Dest.RSR"), 5);
}

// The names a new pair is made under fit a file name: up to exactly 255
// characters as they are, past that cut and told apart by a hash.
TEST_F(DocumentFiles, TheNamesOfANewPairFitAFileName)
{
    for (const size_t length : {size_t(247), size_t(248)}) {
        const std::string name = std::string(length - 4, 'a') + ".QTL";
        const std::string companion = std::string(length - 4, 'a') + ".RSR";
        platform::FSSpec data, made;
        ASSERT_TRUE(MadePair(InFolder(name), &data, &made));
        EXPECT_EQ(platform::FSpGetParent(data).path, docs_);
        const std::string dataName = platform::FSpGetName(data), madeName = platform::FSpGetName(made);
        EXPECT_EQ(dataName.size(), 255u) << length;
        EXPECT_EQ(madeName.size(), 255u) << length;
        EXPECT_EQ(dataName == ".qz." + name + ".new", length == 247) << length;
        EXPECT_EQ(madeName == ".qz." + companion + ".new", length == 247) << length;
        EXPECT_EQ(dataName.substr(0, 4 + 230), ".qz." + name.substr(0, 230)) << length;
        EXPECT_NE(dataName, madeName);
    }
    // A name that cannot have a companion has no pair.
    const platform::FSSpec tooLong = InFolder(std::string(252, 'b'));
    platform::FSSpec data, made;
    EXPECT_FALSE(MadePair(tooLong, &data, &made));
    EXPECT_EQ(ReplacePair(tooLong), platform::bdNamErr);
    EXPECT_EQ(FinishPair(tooLong), 0);
}

TEST_F(DocumentFiles, TheCompanionIsTheForkElseTheSibling)
{
    MakeDocument("Doc", 10, 4);
    const int16_t sibling = OpenResFile(InFolder("Doc.QTL"), platform::fsRdPerm);
    ASSERT_NE(sibling, -1);
    EXPECT_EQ(platform::Get1Resource(FourCC("INQz"), 0) != nullptr, true);
    platform::CloseResFile(sibling);
    // A fork of its own wins.
    platform::FSpCreateResFile(InFolder("Doc.QTL"), FourCC("QzA6"), FourCC("QzLB"), -1);
    const int16_t fork = OpenResFile(InFolder("Doc.QTL"), platform::fsRdPerm);
    ASSERT_NE(fork, -1);
    EXPECT_EQ(platform::Get1Resource(FourCC("INQz"), 0), nullptr);
    platform::CloseResFile(fork);
    EXPECT_EQ(OpenResFile(InFolder("None.QTL"), platform::fsRdPerm), -1);
}

// Flushing the volume opens the current folder for the call and closes it.
TEST_F(DocumentFiles, FlushingTheVolumeLeavesNoDescriptorOpen)
{
    const auto open = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator{});
    };
    const auto before = open();
    for (int i = 0; i < 3; ++i) FlushAll();
    EXPECT_EQ(open(), before);
}

// The current parameter record follows its document's record when that is
// replaced, and is left alone when another document's record changes.
TEST_F(DocumentFiles, ReplacingADocumentsParameterRecordKeepsTheCurrentOneRight)
{
    platform::Handle a = platform::NewHandle(4), b = platform::NewHandle(4), c = platform::NewHandle(4);
    platform::Handle other = platform::NewHandle(4);
    SetDocParamRecord(1, a);
    SetDocParamRecord(2, other);
    hparam = a;
    SetDocParamRecord(1, a);
    EXPECT_TRUE(platform::IsValidHandle(a)) << "the same record again is kept";
    EXPECT_EQ(DocParamRecord(1), a);
    SetDocParamRecord(1, b);
    EXPECT_EQ(hparam, b);
    EXPECT_EQ(DocParamRecord(1), b);
    hparam = other;
    SetDocParamRecord(1, c);
    EXPECT_EQ(hparam, other);
    EXPECT_EQ(DocParamRecord(1), c);
    ForgetDocParamRecord(1);
    EXPECT_EQ(hparam, other);
    EXPECT_EQ(DocParamRecord(1), nullptr);
    ForgetDocParamRecord(2);
    EXPECT_EQ(hparam, nullptr);
}

TEST_F(DocumentFiles, ResettingTheDocumentsDropsTheirRecordsTheCurrentFileAndTheStyleSheets)
{
    platform::Handle loose = platform::NewHandle(2);
    for (const bool current : {true, false}) {
        platform::Handle a = platform::NewHandle(4);
        SetDocParamRecord(3, a);
        hparam = current ? a : loose;
        numresfalse = 3;
        curStyles = platform::NewHandle(8);
        ResetDocResources();
        EXPECT_EQ(hparam, current ? nullptr : loose) << "a record of no document stays current";
        EXPECT_EQ(numresfalse, 0);
        EXPECT_EQ(curStyles, nullptr);
        EXPECT_EQ(DocParamRecord(3), nullptr);
    }
    hparam = nullptr;
    platform::DisposeHandle(loose);
}

TEST_F(DocumentFiles, TheCompilationStateFollowsTheCompiledResources)
{
    struct Case {
        const char* description;
        int16_t type;
    };
    const char* method = "method M\n  comment \"x\"\n";
    const Case cases[] = {
        {"structure A\n", 0},
        {"structure B\ncompiled\n", 1},
        {"structure C\ncompiled code 1 dirty 0\n", 2},
        {"structure D\ncompiled code 1 dirty 3\n", 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        std::string description = cases[i].description;
        if (i == 2 || i == 3) description += method;
        const platform::FSSpec base = Build(description);
        const int16_t file = openres(base, false);
        ASSERT_GT(file, 0);
        UseQzRes(file);
        EXPECT_EQ(GetDBType(file), cases[i].type) << description;
        EXPECT_EQ(basecompilee(), cases[i].type == 1) << description;
        EXPECT_EQ(numresfalse, file);
        closeres(file, false);
    }
    const platform::FSSpec fresh = Build("structure F\n");
    const int16_t file = openres(fresh, false);
    UseQzRes(file);
    EXPECT_FALSE(IsDatabaseDirtyForCompiler());
    SetDatabaseDirtyForCompiler();
    EXPECT_TRUE(IsDatabaseDirtyForCompiler()) << "the first change counts";
    EXPECT_EQ(Resource(file, FourCC("QzQz"), 2), (Bytes{0, 0, 0, 1}));
    SetDatabaseDirtyForCompiler();
    EXPECT_EQ(Resource(file, FourCC("QzQz"), 2), (Bytes{0, 0, 0, 2}));
    closeres(file, false);
}

// One companion, one document. A library put by hand beside a structure of
// the same name (Demo.QTL beside Demo.QzB and its Demo.RSR) opens neither:
// the message names both, and no file changes; also where this program has
// the structure open already. A stray Demo.rsr beside Demo.RSR is nobody's:
// a save over Demo writes Demo.RSR alone, and both spellings take one lock.
TEST_F(DocumentFiles, ACompanionIsWrittenThroughOneDocumentOnly)
{
    const platform::FSSpec demo = Build("structure Demo\ntable T\n  field A longint\nstrings Own id 7000\n  \"own\"\n");
    std::filesystem::create_directory(docs_ + "/lib");
    const auto lib = docbuilder::BuildDocument("library Demo\nstrings Lib id 7100\n  \"lib\"\n", "l.qzdoc",
                                               docs_ + "/lib");
    ASSERT_EQ(lib.error, 0) << lib.message;
    const platform::FSSpec library = InFolder("Demo.QTL");
    const auto snapshot = [&] {
        std::vector<std::pair<std::string, Bytes>> files;
        for (const std::string& name : Names())
            if (!std::filesystem::is_directory(docs_ + "/" + name)) files.emplace_back(name, Read(InFolder(name)));
        return files;
    };
    const auto sharedText = [](const char* first, const char* second) {
        std::string text;
        platform::Str255 part;
        for (int16_t item = 127; item <= 129; ++item) {
            MyGetIndString(part, 1002, item);
            text.append(reinterpret_cast<const char*>(part + 1), part[0]);
            if (item < 129) text += item == 127 ? first : second;
        }
        return text;
    };

    std::filesystem::copy_file(lib.dataPath, library.path);  // as cp copies it: the data file alone
    auto before = snapshot();
    for (const auto& [doc, isStructure, other] :
         {std::tuple{library, uint8_t(0), "Demo.QzB"}, std::tuple{demo, uint8_t(1), "Demo.QTL"}}) {
        ResetAlerts();
        const Opened o = Open(doc, isStructure);
        Close(o);
        EXPECT_EQ(o.err, 1001);
        EXPECT_EQ(LastAlert().text, sharedText(platform::FSpGetName(doc).c_str(), other));
        EXPECT_EQ(snapshot(), before);
    }

    // Both in this program: the structure open first, the library put
    // beside it afterwards.
    std::filesystem::remove(library.path);
    const Opened structure = Open(demo, 1);
    ASSERT_EQ(structure.err, 0);
    ASSERT_EQ(AcceptQzB(structure.rsrFile, structure.container), 0);
    std::filesystem::copy_file(lib.dataPath, library.path);
    before = snapshot();
    ResetAlerts();
    const Opened second = Open(library, 0);
    Close(second);
    EXPECT_EQ(second.err, 1001);
    EXPECT_EQ(LastAlert().text, sharedText("Demo.QTL", "Demo.QzB"));
    EXPECT_EQ(snapshot(), before);
    Close(structure);

    // A stray lower-case companion beside the real one.
    std::filesystem::remove(library.path);
    const platform::FSSpec lockBefore = PairLockFile(demo);
    std::filesystem::rename(docs_ + "/Demo.RSR", docs_ + "/Demo.rsr");
    EXPECT_EQ(PairLockFile(demo), lockBefore) << "the spellings of one companion take two locks";
    std::filesystem::rename(docs_ + "/Demo.rsr", docs_ + "/Demo.RSR");
    std::filesystem::copy_file(lib.dataPath.substr(0, lib.dataPath.size() - 3) + "RSR", docs_ + "/Demo.rsr");
    const Bytes stray = Read(InFolder("Demo.rsr"));
    const platform::FSSpec src = Build("structure Src\ntable New\n  field B text\n");
    const Bytes srcData = Read(src), srcCompanion = Read(InFolder("Src.RSR"));
    std::filesystem::remove(demo.path + ".manifest");
    std::filesystem::remove(src.path + ".manifest");
    ASSERT_EQ(CopyFile(src, demo), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Demo.QzB", "Demo.RSR", "Demo.rsr", "lib"}));
    EXPECT_TRUE(Read(demo) == srcData && Read(InFolder("Demo.RSR")) == srcCompanion) << "Demo is not Src's pair";
    EXPECT_EQ(Read(InFolder("Demo.rsr")), stray);
    const Opened reopened = Open(demo, 1);
    EXPECT_EQ(reopened.err, 0);
    CloseAccepted(reopened);
    EXPECT_EQ(Read(InFolder("Demo.rsr")), stray);
}

// A data file replaced (not moved) under an open document: its change
// lands nowhere and says the document was moved or replaced; the new file
// stays whole.
// A document moved away after a change landed: its close writes nothing
// into the moved file either.
TEST_F(DocumentFiles, AChangeOfADocumentReplacedBehindItsBackIsRefused)
{
    const platform::FSSpec demo = Build("structure Demo\ntable T\n  field A longint\n");
    const platform::FSSpec other = Build("structure Other\ntable U\n  field B text\n");
    const Opened o = Open(demo, 1);
    ASSERT_EQ(o.err, 0);
    ASSERT_EQ(AcceptQzB(o.rsrFile, o.container), 0);
    std::filesystem::copy_file(other.path, docs_ + "/replacement");
    std::filesystem::rename(docs_ + "/replacement", demo.path);
    const Bytes replacement = Read(demo);
    useres(o.container);
    platform::Handle h = platform::NewHandle(4);
    ASSERT_TRUE(xaddres(h, FourCC("TEST"), 1));
    EXPECT_FALSE(updateres(o.container));
    EXPECT_EQ(reserr, platform::fileMovedErr);
    Close(o);
    EXPECT_EQ(Read(demo), replacement);

    const platform::FSSpec moving = Build("structure Moving\ntable T\n  field A longint\n");
    const Opened m = Open(moving, 1);
    ASSERT_EQ(m.err, 0);
    ASSERT_EQ(AcceptQzB(m.rsrFile, m.container), 0);
    useres(m.container);
    ASSERT_TRUE(xaddres(platform::NewHandle(4), FourCC("TEST"), 1));
    ASSERT_TRUE(updateres(m.container));
    std::filesystem::rename(moving.path, docs_ + "/Moved.QzB");
    const Bytes moved = Read(platform::FSSpec{docs_ + "/Moved.QzB"});
    Close(m);
    EXPECT_EQ(Read(platform::FSSpec{docs_ + "/Moved.QzB"}), moved);
}

}  // namespace
}  // namespace doctest
