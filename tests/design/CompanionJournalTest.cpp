// The journal that keeps a document's old companion while a change of both
// of its files is under way: used only whole and verified, and only by the
// program that holds the document.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "design/documents/CompanionJournal.h"
#include "design/documents/CompanionJournalFile.h"
#include "design/documents/DocumentPairs.h"
#include "platform/core/Faults.h"
#include "platform/resfiles/Resources.h"
#include "resources/Companion.h"
#include "tests/design/DocFilesFixture.h"

namespace doctest {
namespace {

namespace fs = std::filesystem;

class CompanionJournal : public DocFiles {
protected:
    // A library whose companion holds a string list, and the new bytes a
    // change writes over that companion.
    void SetUp() override
    {
        DocFiles::SetUp();
        data_ = Build("library Kept\nstrings Old id 7\n  \"old\"\n  \"older\"\n");
        ASSERT_TRUE(CompanionSpec(data_, &companion_));
        journal_ = KeptCompanionJournal(data_);
        oldCompanion_ = newCompanion_ = Read(companion_);
        newCompanion_.back() ^= 0x5A;
    }

    platform::FSSpec data_, companion_, journal_;
    Bytes oldCompanion_, newCompanion_;
};

// The companion kept before a change of both files: put back when the data
// file never left its old commit and the companion holds what the change
// wrote; left as it is when the commit landed, or when the companion was
// written again since. The journal goes either way. The journal cut at
// every length, or with any one byte changed, is never used: both files
// and the journal stay as they are, and the opener is told. A journal of
// the layout before, which holds no check of its own, is used only whole.
TEST_F(CompanionJournal, AKeptCompanionComesBackOnlyWhenTheDataFileNeverCommitted)
{
    const Bytes oldData = Read(data_), since = {'s', 'i', 'n', 'c', 'e'};
    bool kept = false;
    ASSERT_EQ(KeepCompanion(data_, newCompanion_, &kept), 0);
    ASSERT_TRUE(kept);
    EXPECT_EQ(KeepCompanion(data_, since, &kept), platform::dupFNErr) << "one journal at a time";
    const Bytes journal = Read(journal_);
    ASSERT_EQ(journal.size(), 60 + oldCompanion_.size());
    const int16_t f = openres(data_, false);  // the data file's next commit
    ASSERT_TRUE(f != 0 && xaddres(platform::NewHandle(2), FourCC("TEST"), 1) && updateres(f));
    closeres(f, false);
    const Bytes newData = Read(data_);
    // New files, unflushed: the sweep writes thousands.
    const auto put = [](const platform::FSSpec& file, const Bytes& bytes) {
        fs::remove(file.path);
        std::ofstream(file.path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    };
    // The layout before: 'QzCJ', the mark, the new companion's size and
    // hash, the old bytes.
    Bytes older(journal.begin(), journal.begin() + 36);
    older[3] = 'J';
    older.insert(older.end(), oldCompanion_.begin(), oldCompanion_.end());

    std::vector<std::pair<std::string, Bytes>> variants;
    for (const Bytes* whole : std::initializer_list<const Bytes*>{&journal, &older}) {
        const std::string layout = whole == &journal ? "" : "older ";
        variants.emplace_back(layout + "whole", *whole);
        for (size_t n = 0; n < whole->size(); ++n)
            variants.emplace_back(layout + "cut to " + std::to_string(n),
                                  Bytes(whole->begin(), whole->begin() + int64_t(n)));
    }
    for (size_t i = 0; i < journal.size(); ++i) {
        variants.emplace_back("byte " + std::to_string(i) + " changed", journal);
        variants.back().second[i] ^= 0x01;
    }
    const struct {
        const char* what;
        bool committed;
        const Bytes& companion;
    } states[] = {{"at the old commit", false, newCompanion_}, {"committed", true, newCompanion_},
                  {"companion written since", false, since}};
    size_t tried = 0, failed = 0;
    for (const auto& state : states) {
        for (const auto& [what, bytes] : variants) {
            const bool whole = what.ends_with("whole");
            const bool back = whole && !state.committed && &state.companion == &newCompanion_;
            put(data_, state.committed ? newData : oldData);
            put(companion_, state.companion);
            put(journal_, bytes);
            bool unused = false;
            const int16_t err = FinishPair(data_, &unused);
            const bool right = err == 0 && unused == !whole &&
                               Read(companion_) == (back ? oldCompanion_ : state.companion) &&
                               Read(data_) == (state.committed ? newData : oldData) &&
                               fs::exists(journal_.path) == !whole && (whole || Read(journal_) == bytes);
            ++tried;
            if (!right && ++failed <= 5) ADD_FAILURE() << what << ", " << state.what << ": " << err;
            for (const auto& e : fs::directory_iterator(docs_))  // nothing hidden left once it is used
                EXPECT_TRUE(!whole || e.path().filename().string().rfind(".qz.", 0) != 0) << what << ": " << e.path();
        }
    }
    std::printf("[ journal  ] %zu journals tried beside the two commits and a companion written since, %zu wrong\n",
                tried, failed);
    EXPECT_EQ(failed, 0u);
}

// Program B opens the document while program A, which holds it, is between
// the journal and its data file's commit; A is then killed after the
// commit. B leaves A's journal and companion alone (the document is busy),
// and the next open finds the change whole.
TEST_F(CompanionJournal, OnlyTheProgramHoldingTheDocumentDecidesItsJournal)
{
    const pid_t a = ::fork();
    ASSERT_GE(a, 0);
    if (a == 0) {
        // Program A: the document held as an open holds it, the companion
        // kept and written; stopped while B tries, then the data file's
        // commit, and killed before it removes the journal.
        const int16_t f = openres(data_, false);
        bool kept = false;
        if (f == 0 || KeepCompanion(data_, newCompanion_, &kept) != 0 || !kept ||
            platform::WriteFileAtomically(companion_.path, newCompanion_.data(), newCompanion_.size()) != 0 ||
            ::raise(SIGSTOP) != 0 || !xaddres(platform::NewHandle(2), FourCC("TEST"), 1) || !updateres(f))
            ::_exit(1);
        ::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(a, &status, WUNTRACED), a);
    ASSERT_TRUE(WIFSTOPPED(status)) << "A failed before its commit";
    EXPECT_EQ(Open(data_, 0).err, -49);
    EXPECT_EQ(Read(companion_), newCompanion_) << "B took A's change back";
    EXPECT_TRUE(fs::exists(journal_.path));
    ::kill(a, SIGCONT);
    ASSERT_EQ(::waitpid(a, &status, 0), a);
    ASSERT_TRUE(WIFSIGNALED(status)) << "A failed at its commit";

    const Opened next = Open(data_, 0);
    ASSERT_EQ(next.err, 0);
    EXPECT_EQ(Resource(next.container, FourCC("TEST"), 1).size(), 2u) << "the data file's commit";
    Close(next);
    EXPECT_EQ(Read(companion_), newCompanion_) << "the companion of that commit";
    EXPECT_FALSE(fs::exists(journal_.path));
}

// A command's changes to the companion taken back, and that failing: the
// list cannot grow back for want of memory while the file is held, or the
// companion already written cannot be written back on a full disk. Said,
// never 0. Memory that is not what the old companion was never reaches
// the disk; memory that is reaches it with the next write. The disk holds
// a whole companion throughout, and the old one once the journal is done.
TEST_F(CompanionJournal, ATakingBackThatFailsIsSaidAndTheDiskKeepsAWholeCompanion)
{
    const struct {
        const char* what;
        bool committed;
        platform::FaultKind fault;
        int16_t said, written;  // then what the next write answers
    } cases[] = {
        {"held, memory short", false, platform::FaultKind::Allocation, platform::resFileAdriftErr,
         platform::resFileAdriftErr},
        {"written, disk full", true, platform::FaultKind::DiskFull, platform::dskFulErr, platform::noErr},
    };
    for (const auto& c : cases) {
        const Opened o = Open(data_, 0);
        ASSERT_EQ(o.err, 0) << c.what;
        ASSERT_EQ(AcceptQzB(o.rsrFile, o.container), 0) << c.what;
        const Bytes before = Read(companion_);
        ::CompanionJournal journal;
        journal.Open(o.rsrFile, data_);
        ASSERT_EQ(journal.Note(FourCC("STR#"), 7), 0) << c.what;
        {
            platform::UsingResFile file(o.rsrFile);
            platform::Handle list = platform::Get1Resource(FourCC("STR#"), 7);
            ASSERT_NE(list, nullptr) << c.what;
            platform::SetHandleSize(list, 2);
            platform::ChangedResource(list);
        }
        if (c.committed) {
            ASSERT_EQ(journal.Commit(), 0) << c.what;
        }
        const Bytes changed = Read(companion_);
        {
            platform::ScopedFault fault(c.fault, 0, -1);
            EXPECT_EQ(journal.Abandon(), c.said) << c.what;
        }
        EXPECT_EQ(Read(companion_), changed) << c.what;
        EXPECT_EQ(fs::exists(journal_.path), c.committed) << c.what;
        platform::UpdateResFile(o.rsrFile);
        EXPECT_EQ(platform::ResError(), c.written) << c.what;
        Close(o);
        EXPECT_EQ(Read(companion_), before) << c.what;
        bool unused = false;
        EXPECT_EQ(FinishPair(data_, &unused), 0) << c.what;
        EXPECT_EQ(Read(companion_), before) << c.what;
        EXPECT_FALSE(fs::exists(journal_.path)) << c.what;
    }
}

}  // namespace
}  // namespace doctest
