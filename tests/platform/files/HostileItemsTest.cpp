// Pipes placed where files are expected, beside a document or as one, are
// never opened blocking: they count as absent sidecars and as no files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <future>

#include "platform/files/FileErrors.h"
#include "platform/files/FileSpec.h"
#include "platform/files/FolderListing.h"
#include "platform/files/Forks.h"
#include "platform/files/Sidecar.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

// Runs `call`; when it is still waiting on the pipe after a long while, a
// writer is opened on the pipe to free it and the test fails.
void RunsAtOnce(const std::string& pipe, const std::function<void()>& call)
{
    auto done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
        ADD_FAILURE() << "blocked on the pipe " << pipe;
        int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
    done.get();
}

}  // namespace

TEST(HostileItems, APipeAsASidecarIsAnAbsentSidecar)
{
    TempFolder dir;
    std::ofstream(dir / "doc") << "data";
    const std::string pipe = dir / "._doc";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    RunsAtOnce(pipe, [&] {
        std::vector<FolderEntry> entries;
        ASSERT_EQ(FSpListFolder(FSSpec{dir.path()}, &entries), noErr);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].name, "doc");
        EXPECT_EQ(entries[0].kind, EntryKind::File);

        FInfo info;
        EXPECT_EQ(FSpGetFInfo(FSSpec{dir / "doc"}, &info), noErr);

        int16_t ref = 0;
        ASSERT_EQ(FSpOpenRF(FSSpec{dir / "doc"}, fsRdPerm, &ref), noErr);
        int64_t length = -1;
        EXPECT_EQ(GetEOF(ref, &length), noErr);
        EXPECT_EQ(length, 0);
        EXPECT_EQ(FSClose(ref), noErr);
    });
    struct stat st {};
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));  // still the pipe: nothing was written over it
}

TEST(HostileItems, APipeIsNoFileToCopy)
{
    TempFolder dir;
    const std::string pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    RunsAtOnce(pipe, [&] {
        EXPECT_EQ(FSpCopyFile(FSSpec{pipe}, FSSpec{dir / "copy"}), notAFileErr);
        int16_t ref = 0;
        EXPECT_EQ(FSpOpenDF(FSSpec{pipe}, fsRdPerm, &ref), notAFileErr);
    });
    EXPECT_FALSE(std::ifstream(dir / "copy").good());
}
