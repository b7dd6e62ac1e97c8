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

#include "design/documents/CompanionJournalFile.h"
#include "design/documents/DocumentPairs.h"
#include "resources/Companion.h"
#include "tests/design/DocFilesFixture.h"

namespace doctest {
namespace {

namespace fs = std::filesystem;

class CompanionJournal : public DocFiles {
protected:
    // A library whose companion holds a string list, and the new bytes a
    // change writes over that companion.
    void MakeDocument()
    {
        data_ = Build("library Kept\nstrings Old id 7\n  \"old\"\n  \"older\"\n");
        ASSERT_TRUE(CompanionSpec(data_, &companion_));
        journal_ = KeptCompanionJournal(data_);
        oldCompanion_ = newCompanion_ = Read(companion_);
        newCompanion_.back() ^= 0x5A;
    }
    // The data file at its next commit.
    void Commit()
    {
        const int16_t f = openres(data_, false);
        ASSERT_NE(f, 0);
        ASSERT_TRUE(xaddres(platform::NewHandle(2), FourCC("TEST"), 1));
        ASSERT_TRUE(updateres(f));
        closeres(f, false);
    }
    // A new file at the name, unflushed: the sweep writes thousands.
    static void Put(const platform::FSSpec& file, const Bytes& bytes)
    {
        fs::remove(file.path);
        std::ofstream(file.path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    platform::FSSpec data_, companion_, journal_;
    Bytes oldCompanion_, newCompanion_;
};

// The companion kept before a change of both files: put back when the data
// file never left its old commit and the companion holds what the change
// wrote; left as it is when the commit landed, or when the companion was
// written again since. The journal goes either way.
TEST_F(CompanionJournal, AKeptCompanionComesBackOnlyWhenTheDataFileNeverCommitted)
{
    const struct {
        const char* what;
        bool committed, writtenSince, back;
    } cases[] = {
        {"the data file at its old commit", false, false, true},
        {"the data file committed", true, false, false},
        {"the companion written since", false, true, false},
    };
    const Bytes written = {'n', 'e', 'w'}, since = {'s', 'i', 'n', 'c', 'e'};
    for (const auto& c : cases) {
        MakeDocument();
        bool kept = false;
        ASSERT_EQ(KeepCompanion(data_, written, &kept), 0) << c.what;
        ASSERT_TRUE(kept) << c.what;
        EXPECT_EQ(KeepCompanion(data_, since, &kept), platform::dupFNErr) << "one journal at a time";
        const Bytes& now = c.writtenSince ? since : written;
        Put(companion_, now);
        if (c.committed) Commit();
        bool unused = true;
        EXPECT_EQ(FinishPair(data_, &unused), 0) << c.what;
        EXPECT_FALSE(unused) << c.what;
        EXPECT_EQ(Read(companion_), c.back ? oldCompanion_ : now) << c.what;
        for (const auto& e : fs::directory_iterator(docs_))
            EXPECT_NE(e.path().filename().string().rfind(".qz.", 0), 0u) << c.what << ": " << e.path();
        fs::remove(data_.path);
        fs::remove(companion_.path);
    }
}

// The journal cut at every length and with each of its bytes changed in
// turn, beside the data file at its old commit and at its new one: only
// the whole journal is used (the old companion back, or the new one kept)
// and goes; any other leaves both files and itself as they are, and the
// opener is told. A journal of the layout before, which holds no check of
// its own, is used whole and never cut.
TEST_F(CompanionJournal, AJournalThatDoesNotVerifyNeverChangesTheDocument)
{
    MakeDocument();
    const Bytes oldData = Read(data_);
    bool kept = false;
    ASSERT_EQ(KeepCompanion(data_, newCompanion_, &kept), 0);
    const Bytes journal = Read(journal_);
    ASSERT_EQ(journal.size(), 60 + oldCompanion_.size());
    Commit();
    const Bytes newData = Read(data_);
    // The layout before: 'QzCJ', the mark, the new companion's size and
    // hash, the old bytes.
    Bytes older(journal.begin(), journal.begin() + 36);
    older[3] = 'J';
    older.insert(older.end(), oldCompanion_.begin(), oldCompanion_.end());

    std::vector<std::pair<std::string, Bytes>> variants;  // the whole ones first
    for (const Bytes* whole : std::initializer_list<const Bytes*>{&journal, &older}) {
        const std::string layout = whole == &journal ? "" : "older ";
        variants.emplace_back(layout + "whole", *whole);
        for (size_t n = 0; n < whole->size(); ++n)
            variants.emplace_back(layout + "cut to " + std::to_string(n), Bytes(whole->begin(), whole->begin() + int64_t(n)));
    }
    for (size_t i = 0; i < journal.size(); ++i) {
        variants.emplace_back("byte " + std::to_string(i) + " changed", journal);
        variants.back().second[i] ^= 0x01;
    }
    size_t tried = 0, failed = 0;
    for (const bool committed : {false, true}) {
        for (const auto& [what, bytes] : variants) {
            const bool whole = what.ends_with("whole");
            Put(data_, committed ? newData : oldData);
            Put(companion_, newCompanion_);
            Put(journal_, bytes);
            bool unused = false;
            const int16_t err = FinishPair(data_, &unused);
            const bool right = err == 0 && unused == !whole &&
                               Read(companion_) == (whole && !committed ? oldCompanion_ : newCompanion_) &&
                               Read(data_) == (committed ? newData : oldData) &&
                               fs::exists(journal_.path) == !whole && (whole || Read(journal_) == bytes);
            ++tried;
            if (!right && ++failed <= 5) ADD_FAILURE() << what << (committed ? ", data committed: " : ": ") << err;
        }
    }
    std::printf("[ journal  ] %zu journals tried beside the old and the new commit, %zu wrong\n", tried, failed);
    EXPECT_EQ(failed, 0u);
}

// Program B opens the document while program A, which holds it, is between
// the journal and its data file's commit; A is then killed after the
// commit. B leaves A's journal and companion alone (the document is busy),
// and the next open finds the change whole.
TEST_F(CompanionJournal, OnlyTheProgramHoldingTheDocumentDecidesItsJournal)
{
    MakeDocument();
    int toA[2], toB[2];
    ASSERT_EQ(::pipe(toA), 0);
    ASSERT_EQ(::pipe(toB), 0);
    const pid_t a = ::fork();
    ASSERT_GE(a, 0);
    if (a == 0) {
        // Program A: the document held as an open holds it, the companion
        // kept and written; once B has tried, the data file's commit, and A
        // is killed before it removes the journal.
        char step = 0;
        const int16_t f = openres(data_, false);
        bool kept = false;
        if (f == 0 || KeepCompanion(data_, newCompanion_, &kept) != 0 || !kept ||
            platform::WriteFileAtomically(companion_.path, newCompanion_.data(), newCompanion_.size()) != 0 ||
            ::write(toB[1], "1", 1) != 1 || ::read(toA[0], &step, 1) != 1 ||
            !xaddres(platform::NewHandle(2), FourCC("TEST"), 1) || !updateres(f))
            ::_exit(1);
        ::raise(SIGKILL);
    }
    char step = 0;
    ASSERT_EQ(::read(toB[0], &step, 1), 1);
    EXPECT_EQ(Open(data_, 0).err, -49);
    EXPECT_EQ(Read(companion_), newCompanion_) << "B took A's change back";
    EXPECT_TRUE(fs::exists(journal_.path));
    ASSERT_EQ(::write(toA[1], "c", 1), 1);
    int status = 0;
    ::waitpid(a, &status, 0);
    for (const int fd : {toA[0], toA[1], toB[0], toB[1]}) ::close(fd);
    ASSERT_TRUE(WIFSIGNALED(status)) << "A failed before its commit";

    const Opened next = Open(data_, 0);
    ASSERT_EQ(next.err, 0);
    EXPECT_EQ(Resource(next.container, FourCC("TEST"), 1).size(), 2u) << "the data file's commit";
    Close(next);
    EXPECT_EQ(Read(companion_), newCompanion_) << "the companion of that commit";
    EXPECT_FALSE(fs::exists(journal_.path));
}

}  // namespace
}  // namespace doctest
