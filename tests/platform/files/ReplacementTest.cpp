// Files replaced together: the journal decides whether what a crash left
// is finished or undone, and the leftovers go either way; a replacement
// that fails at any step of its own takes back what it did.
#include "platform/files/Replacement.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/files/FileOps.h"
#include "platform/files/WholeFile.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

using Files = std::map<std::string, std::string>;

Files Folder(const std::string& path)
{
    Files out;
    for (const auto& e : std::filesystem::directory_iterator(path)) {
        std::vector<uint8_t> b;
        ReadWholeFile(e.path(), &b);
        out[e.path().filename()] = std::string(b.begin(), b.end());
    }
    return out;
}

void Put(const std::string& path, const std::string& text)
{
    ASSERT_EQ(WriteFileAtomically(path, text.data(), text.size()), noErr);
}

// Two targets A and B, their new files made as .A and .B, journal J; the
// old ones (and their sidecars) set aside as A~ and B~.
std::vector<Replacement> Items(const TempFolder& dir)
{
    std::vector<Replacement> items;
    for (const char* name : {"A", "B"}) {
        const std::string n = name;
        items.push_back({FSSpec{dir / ("." + n)}, FSSpec{dir / n}, FSSpec{dir / (n + "~")}, FSSpec{dir / ("._" + n + "~")}});
    }
    return items;
}

// Fails the call number `nth` (from 0) that changes or flushes a name.
class FailingCall : public FileOpObserver {
public:
    explicit FailingCall(int nth) : nth_(nth) {}
    int Refusal(const std::string&) override { return calls_++ == nth_ ? EIO : 0; }
    bool Met() const { return calls_ > nth_; }

private:
    int nth_, calls_ = 0;
};

struct Case {
    const char* what;
    Files start;   // besides the old A, ._A and B
    Files after;   // what FinishReplacement leaves
    std::vector<std::string> gone = {};  // of the old ones, renamed away
};

}  // namespace

TEST(Replacement, TheJournalFinishesOrUndoesWhatACrashLeft)
{
    const Files old = {{"A", "old a"}, {"._A", "old side a"}, {"B", "old b"}};
    const Files fresh = {{"A", "new a"}, {"._A", "new side a"}, {"B", "new b"}};
    const Case cases[] = {
        {"no journal, new files made", {{".A", "new a"}, {"._.A", "new side a"}, {".B", "new b"}}, old},
        {"no journal, a temporary of the file service", {{"._A.0123abcd", "x"}, {"._A.keep", "y"}},
         {{"A", "old a"}, {"._A", "old side a"}, {"B", "old b"}, {"._A.keep", "y"}}},
        {"journal, nothing renamed", {{".A", "new a"}, {"._.A", "new side a"}, {".B", "new b"}, {"J", std::string("\1\0", 2)}}, fresh},
        {"journal, A renamed", {{"A", "new a"}, {"._.A", "new side a"}, {".B", "new b"}, {"J", std::string("\1\0", 2)}}, fresh},
        {"journal, A and its sidecar renamed", {{"A", "new a"}, {"._A", "new side a"}, {".B", "new b"}, {"J", std::string("\1\0", 2)}},
         fresh},
        {"journal, all renamed", {{"A", "new a"}, {"._A", "new side a"}, {"B", "new b"}, {"J", std::string("\1\0", 2)}}, fresh},
        {"journal, A's new file has no sidecar", {{".A", "new a"}, {".B", "new b"}, {"J", std::string("\0\0", 2)}},
         {{"A", "new a"}, {"B", "new b"}}},
        {"a journal of something else", {{".A", "new a"}, {"J", "\1\1\1"}},
         {{"A", "old a"}, {"._A", "old side a"}, {"B", "old b"}, {".A", "new a"}, {"J", "\1\1\1"}}},
        // The old files set aside before the new take their names.
        {"journal, A and its sidecar set aside", {{".A", "new a"}, {"._.A", "new side a"}, {".B", "new b"},
                                                  {"A~", "old a"}, {"._A~", "old side a"}, {"J", std::string("\1\0", 2)}},
         fresh, {"A", "._A"}},
        {"journal, A set aside and replaced, B set aside",
         {{"A", "new a"}, {"._A", "new side a"}, {".B", "new b"}, {"A~", "old a"}, {"._A~", "old side a"}, {"B~", "old b"},
          {"J", std::string("\1\0", 2)}},
         fresh, {"B"}},
        {"no journal, what a finished replacement set aside",
         {{"A", "new a"}, {"._A", "new side a"}, {"B", "new b"}, {"A~", "old a"}, {"._A~", "old side a"}, {"B~", "old b"}},
         fresh},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        for (const Files* set : {&old, &c.start})
            for (const auto& [name, text] : *set) Put(dir / name, text);
        const std::vector<Replacement> items = Items(dir);
        for (const std::string& name : c.gone) std::filesystem::remove(dir / name);
        const OSErr err = FinishReplacement(items.data(), 2, FSSpec{dir / "J"});
        EXPECT_EQ(err, c.start.count("J") && c.start.at("J").size() != 2 ? ioErr : noErr);
        EXPECT_EQ(Folder(dir.path()), c.after);
    }
}


// A replacement whose own step fails (the system refusing a rename, a
// removal or a flush, call after call in turn) leaves the old files and
// nothing else: no journal, no made file. One past its last step lands
// whole, with nothing beside it.
TEST(Replacement, AReplacementFailingAtAnyStepTakesBackWhatItDid)
{
    const Files old = {{"A", "old a"}, {"._A", "old side a"}, {"B", "old b"}, {"._B", "old side b"}};
    const Files made = {{".A", "new a"}, {"._.A", "new side a"}, {".B", "new b"}};
    const Files fresh = {{"A", "new a"}, {"._A", "new side a"}, {"B", "new b"}};
    int failed = 0;
    for (int nth = 0;; ++nth) {
        SCOPED_TRACE("call " + std::to_string(nth));
        ASSERT_LT(nth, 100);
        TempFolder dir;
        for (const Files* set : {&old, &made})
            for (const auto& [name, text] : *set) Put(dir / name, text);
        const std::vector<Replacement> items = Items(dir);
        FailingCall failing(nth);
        SetFileOpObserver(&failing);
        const OSErr err = ReplaceTogether(items.data(), 2, FSSpec{dir / "J"});
        SetFileOpObserver(nullptr);
        if (!failing.Met()) {
            EXPECT_EQ(err, noErr);
            EXPECT_EQ(Folder(dir.path()), fresh);
            break;
        }
        // Past the journal's removal the replacement is done: a set-aside
        // file whose removal failed is what the next FinishReplacement
        // removes.
        if (err == noErr) {
            Files now = Folder(dir.path());
            for (const char* aside : {"A~", "._A~", "B~", "._B~"}) now.erase(aside);
            EXPECT_EQ(now, fresh);
            EXPECT_EQ(FinishReplacement(items.data(), 2, FSSpec{dir / "J"}), noErr);
            EXPECT_EQ(Folder(dir.path()), fresh);
            continue;
        }
        ++failed;
        EXPECT_EQ(Folder(dir.path()), old);
    }
    EXPECT_GT(failed, 8);
}
