#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "platform/core/FourCC.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/Sidecar.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// Every item of the folder by name, with its bytes ("/" for a folder).
std::map<std::string, std::string> Folder(const std::string& path)
{
    std::map<std::string, std::string> items;
    for (const auto& e : std::filesystem::directory_iterator(path))
        items[e.path().filename()] = e.is_directory() ? "/" : ReadText(e.path());
    return items;
}

}  // namespace

TEST(FileSpec, RenameOverReplacesTheTargetAndItsSidecar)
{
    TempFolder dir;
    FSSpec oldFile{dir / "doc"}, newFile{dir / "new"};
    ASSERT_EQ(FSpCreate(oldFile, FourCC("ttxt"), FourCC("TEXT")), noErr);
    ASSERT_TRUE(Exists(SidecarPath(oldFile.path)));
    std::ofstream(oldFile.path) << "old";
    ASSERT_EQ(FSpCreate(newFile, 0, 0), noErr);  // implies nothing: no sidecar
    std::ofstream(newFile.path) << "new";

    int16_t ref = 0;
    ASSERT_EQ(FSpOpenDF(oldFile, fsRdPerm, &ref), noErr);
    EXPECT_EQ(FSpRenameOver(newFile, oldFile), fBsyErr);
    ASSERT_EQ(FSClose(ref), noErr);

    ASSERT_EQ(FSpRenameOver(newFile, oldFile), noErr);
    EXPECT_EQ(ReadText(oldFile.path), "new");
    EXPECT_FALSE(Exists(newFile.path));
    EXPECT_FALSE(Exists(SidecarPath(oldFile.path)));

    ::mkdir((dir / "sub").c_str(), 0777);
    EXPECT_EQ(FSpRenameOver(oldFile, FSSpec{dir / "sub/doc"}), badMovErr);
    EXPECT_EQ(FSpRenameOver(oldFile, FSSpec{dir / "sub"}), notAFileErr);

    // A source whose sidecar cannot be read moves nowhere.
    FSSpec odd{dir / "odd"};
    std::ofstream(odd.path) << "odd";
    ::mkdir(SidecarPath(odd.path).c_str(), 0777);
    EXPECT_NE(FSpRenameOver(odd, oldFile), noErr);
    EXPECT_EQ(ReadText(odd.path), "odd");
    EXPECT_EQ(ReadText(oldFile.path), "new");

    // Onto a name too long to have a sidecar, one holding a resource fork
    // is refused (the target keeps its bytes and the source its sidecar);
    // one of Finder information alone is left out, the target then
    // answering what its name tells, and copies go the same way.
    FSSpec typed{dir / "typed"}, forked{dir / "forked"}, longName{dir / std::string(254, 'n')};
    ASSERT_EQ(FSpCreate(typed, FourCC("ttxt"), FourCC("TEXT")), noErr);
    std::ofstream(typed.path) << "typed";
    std::ofstream(forked.path) << "forked";
    AppleDouble fork;
    fork.resourceFork = std::vector<uint8_t>{1, 2, 3};
    ASSERT_EQ(WriteSidecar(forked.path, fork), noErr);
    std::ofstream(longName.path) << "long";
    const std::map<std::string, std::string> before = Folder(dir.path());
    EXPECT_EQ(FSpRenameOver(forked, longName), bdNamErr);
    EXPECT_EQ(FSpCopyFile(forked, FSSpec{dir / std::string(255, 'c')}), bdNamErr);
    EXPECT_EQ(Folder(dir.path()), before);
    const FSSpec copied{dir / std::string(255, 'c')};
    ASSERT_EQ(FSpCopyFile(typed, copied), noErr);
    ASSERT_EQ(FSpRenameOver(typed, longName), noErr);
    std::map<std::string, std::string> after = before;
    after.erase("typed");
    after.erase("._typed");
    after[std::string(254, 'n')] = "typed";
    after[std::string(255, 'c')] = "typed";
    EXPECT_EQ(Folder(dir.path()), after);
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(longName, &info), noErr);
    EXPECT_EQ(std::tuple(info.fdType, info.fdCreator), std::tuple(0u, 0u));

    FSRef r;
    EXPECT_EQ(FSpMakeFSRef(oldFile, &r), noErr);
    EXPECT_EQ(r.path, oldFile.path);
    EXPECT_EQ(FSpMakeFSRef(newFile, &r), fnfErr);
}

TEST(DirectoryIds, FoldersKeepTheirIdForTheRun)
{
    ResetDirectoryIds();
    TempFolder dir;
    ::mkdir((dir / "a").c_str(), 0777);
    int16_t vol = 0;
    int32_t id = 0, again = 0, other = 0;
    ASSERT_EQ(FSpGetDirID(FSSpec{dir / "a"}, &vol, &id), noErr);
    EXPECT_EQ(vol, kOnlyVolume);
    EXPECT_GT(id, kRootDirID);
    ASSERT_EQ(FSpGetDirID(FSSpec{dir.path()}, nullptr, &other), noErr);
    ASSERT_EQ(FSpGetDirID(FSSpec{dir / "a"}, nullptr, &again), noErr);
    EXPECT_EQ(again, id);
    EXPECT_NE(other, id);
    ASSERT_EQ(FSpGetDirID(FSSpec{"/"}, nullptr, &again), noErr);
    EXPECT_EQ(again, kRootDirID);
    vol = 7;
    id = 7;
    EXPECT_EQ(FSpGetDirID(FSSpec{dir / "missing"}, &vol, &id), dirNFErr);
    EXPECT_EQ(vol, 0);  // nothing left from before
    EXPECT_EQ(id, 0);

    FSSpec fileSpec;
    EXPECT_EQ(FSMakeFSSpecFromDirID(kOnlyVolume, other, "a", &fileSpec), noErr);
    EXPECT_EQ(fileSpec.path, dir / "a");
    EXPECT_EQ(FSMakeFSSpecFromDirID(kOnlyVolume, other, "new", &fileSpec), fnfErr);
    EXPECT_EQ(FSMakeFSSpecFromDirID(kOnlyVolume, 999999, "a", &fileSpec), dirNFErr);
    EXPECT_EQ(FSMakeFSSpecFromDirID(5, other, "a", &fileSpec), nsvErr);
    ResetDirectoryIds();
}
