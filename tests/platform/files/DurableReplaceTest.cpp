// Files replaced through a temporary: the bytes are flushed before the
// rename and the folder after it, the umask is never touched, and a failed
// flush leaves the old file and no temporary behind. The system calls are
// watched by defining them in the test program, in front of the C library.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

struct CallLog {
    bool watching = false;
    bool failFlush = false;
    std::vector<std::string> calls;
};

CallLog& Log()
{
    static CallLog log;
    return log;
}

std::string PathOfDescriptor(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    std::error_code ec;
    return std::filesystem::read_symlink(link, ec).string();
}

template <typename F>
F Real(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

// Watches the calls for one test and names paths relative to its folder:
// "<folder>" for the folder, "<temp>" for a hidden temporary.
class Watch {
public:
    explicit Watch(const std::string& folder)
    {
        folder_ = folder;
        Log() = CallLog{};
        Log().watching = true;
    }
    ~Watch() { Log() = CallLog{}; }

    std::vector<std::string> Calls() const
    {
        std::vector<std::string> out;
        for (std::string call : Log().calls) {
            for (;;) {
                size_t at = call.find(folder_);
                if (at == std::string::npos) break;
                size_t end = at + folder_.size();
                if (end == call.size() || call[end] == ' ') {
                    call.replace(at, folder_.size(), "<folder>");
                } else if (call.compare(end, 3, "/._") == 0) {
                    size_t stop = call.find(' ', end);
                    call.replace(at, (stop == std::string::npos ? call.size() : stop) - at, "<temp>");
                } else {
                    call.erase(at, folder_.size() + 1);
                }
            }
            out.push_back(call);
        }
        return out;
    }

private:
    std::string folder_;
};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

}  // namespace

extern "C" int fsync(int fd)
{
    static auto real = Real<int (*)(int)>("fsync");
    if (Log().watching) {
        Log().calls.push_back("fsync " + PathOfDescriptor(fd));
        if (Log().failFlush) {
            errno = EIO;
            return -1;
        }
    }
    return real(fd);
}

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags) noexcept
{
    static auto real = Real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    if (Log().watching) Log().calls.push_back(std::string("rename ") + from + " " + to);
    return real(fromFolder, from, toFolder, to, flags);
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, 0);
}

extern "C" mode_t umask(mode_t mask) noexcept
{
    static auto real = Real<mode_t (*)(mode_t)>("umask");
    if (Log().watching) Log().calls.push_back("umask " + std::to_string(mask));
    return real(mask);
}

TEST(DurableReplace, WholeFileWritesFlushTheFileThenRenameThenFlushTheFolder)
{
    TempFolder dir;
    const std::string doc = dir / "doc";
    const mode_t mask = ::umask(022);
    ::umask(mask);

    {
        Watch watch(dir.path());
        ASSERT_EQ(WriteFileAtomically(doc, "new", 3, 0666), noErr);
        EXPECT_EQ(watch.Calls(), (std::vector<std::string>{"fsync <temp>", "rename <temp> doc", "fsync <folder>"}));
    }
    EXPECT_EQ(ReadText(doc), "new");
    EXPECT_EQ(ModeOf(doc), 0666 & ~mask);

    // A replaced file keeps its permission bits.
    ::chmod(doc.c_str(), 0640);
    {
        Watch watch(dir.path());
        ASSERT_EQ(WriteFileAtomically(doc, "newer", 5, 0666), noErr);
        EXPECT_EQ(watch.Calls(), (std::vector<std::string>{"fsync <temp>", "rename <temp> doc", "fsync <folder>"}));
    }
    EXPECT_EQ(ReadText(doc), "newer");
    EXPECT_EQ(ModeOf(doc), mode_t(0640));
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"doc"});
}

TEST(DurableReplace, CopiedFilesAreFlushedBeforeTheyAppearAndTheFolderAfter)
{
    TempFolder dir;
    std::ofstream(dir / "source") << "contents";
    ::chmod((dir / "source").c_str(), 0604);
    {
        Watch watch(dir.path());
        ASSERT_EQ(FSpCopyFile(FSSpec{dir / "source"}, FSSpec{dir / "copy"}), noErr);
        EXPECT_EQ(watch.Calls(), (std::vector<std::string>{"fsync <temp>", "rename <temp> copy", "fsync <folder>"}));
    }
    EXPECT_EQ(ReadText(dir / "copy"), "contents");
    EXPECT_EQ(ModeOf(dir / "copy"), mode_t(0604));

    // The temporary of an item whose name is near the longest allowed is
    // still a valid name.
    const std::string longName(250, 'n');
    EXPECT_EQ(FSpCopyFile(FSSpec{dir / "source"}, FSSpec{dir / longName}), noErr);
    EXPECT_EQ(ReadText(dir / longName), "contents");
    EXPECT_EQ(WriteFileAtomically(dir / longName, "new", 3, 0666), noErr);
    EXPECT_EQ(ReadText(dir / longName), "new");
}

TEST(DurableReplace, AFailedFlushKeepsTheOldFileAndLeavesNoTemporary)
{
    TempFolder dir;
    const std::string doc = dir / "doc";
    ASSERT_EQ(WriteFileAtomically(doc, "old", 3, 0666), noErr);
    std::ofstream(dir / "source") << "contents";

    Watch watch(dir.path());
    Log().failFlush = true;
    EXPECT_EQ(WriteFileAtomically(doc, "new", 3, 0666), ioErr);
    EXPECT_EQ(FSpCopyFile(FSSpec{dir / "source"}, FSSpec{dir / "copy"}), ioErr);
    Log().failFlush = false;

    EXPECT_EQ(ReadText(doc), "old");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"doc", "source"}));
    for (const std::string& call : watch.Calls()) EXPECT_EQ(call.rfind("rename", 0), std::string::npos) << call;
}

// Memory running out at any point of a replacement: the old file stays
// and the failure is said, or the new one landed and nothing is.
TEST(DurableReplace, MemoryRunningOutKeepsTheOldFileOrSaysNothing)
{
    TempFolder dir;
    const std::string doc = dir / "doc";
    int failed = 0;
    for (int64_t n = 0; n < 200; ++n) {
        ASSERT_EQ(WriteFileAtomically(doc, "old", 3, 0666), noErr);
        testfaults::FailNthNew(n);
        const OSErr err = WriteFileAtomically(doc, "new", 3, 0666);
        const bool fired = !testfaults::NewFailurePending();
        testfaults::StopFailingNew();
        EXPECT_EQ(ReadText(doc), err == noErr ? "new" : "old") << n << ": " << err;
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"doc"}) << n;
        if (!fired) break;
        failed += err == memFullErr;
    }
    EXPECT_GT(failed, 0);
}

// Whole files: exactly the allowed size is read, one byte more is refused.
TEST(WholeFiles, TheLimitIsInclusive)
{
    platform::testing::TempFolder dir;
    const std::vector<uint8_t> ten(10, 4);
    ASSERT_EQ(platform::WriteFileAtomically(dir / "ten", ten.data(), ten.size()), platform::noErr);
    std::vector<uint8_t> read;
    EXPECT_EQ(platform::ReadWholeFile(dir / "ten", &read, 10), platform::noErr);
    EXPECT_EQ(read, ten);
    EXPECT_EQ(platform::ReadWholeFile(dir / "ten", &read, 9), platform::memFullErr);
}
