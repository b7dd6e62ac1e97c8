// Files replaced together: the journal decides whether what a crash left
// is finished or undone, and the leftovers go either way.
#include "platform/files/Replacement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

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

// Two targets A and B, their new files made as .A and .B, journal J.
struct Case {
    const char* what;
    Files start;   // besides the old A, ._A and B
    Files after;   // what FinishReplacement leaves
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        for (const Files* set : {&old, &c.start})
            for (const auto& [name, text] : *set) Put(dir / name, text);
        const Replacement items[2] = {{FSSpec{dir / ".A"}, FSSpec{dir / "A"}}, {FSSpec{dir / ".B"}, FSSpec{dir / "B"}}};
        const OSErr err = FinishReplacement(items, 2, FSSpec{dir / "J"});
        EXPECT_EQ(err, c.start.count("J") && c.start.at("J").size() != 2 ? ioErr : noErr);
        EXPECT_EQ(Folder(dir.path()), c.after);
    }
}

