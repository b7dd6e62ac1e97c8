#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>

#include "platform/core/FourCC.h"
#include "platform/files/CFURL.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FSRefAliases.h"
#include "platform/files/FSRefCatalog.h"
#include "platform/files/FSRefForks.h"
#include "platform/files/FSRefIterator.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

FSRef RefOf(const std::string& path)
{
    FSRef ref;
    EXPECT_EQ(FSPathMakeRef(path, &ref), noErr) << path;
    return ref;
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(FSRefForks, OpenReadWriteSizeAndCloseThroughReferences)
{
    TempFolder dir;
    FSRef folder = RefOf(dir.path());
    FSRef file;
    FSCatalogInfo info;
    info.finderInfo.fdType = FourCC("TEXT");
    info.finderInfo.fdCreator = FourCC("QzA6");
    ASSERT_EQ(FSCreateFileUnicode(folder, 4, u"data", kFSCatInfoFinderInfo, &info, &file, nullptr), noErr);
    EXPECT_EQ(FSCreateFileUnicode(folder, 4, u"data", kFSCatInfoNone, nullptr, nullptr, nullptr), dupFNErr);

    HFSUniStr255 dataFork, rsrcFork;
    FSGetDataForkName(&dataFork);
    FSGetResourceForkName(&rsrcFork);
    EXPECT_EQ(dataFork.length, 0);
    EXPECT_EQ(std::u16string(rsrcFork.unicode, rsrcFork.length), u"RESOURCE_FORK");
    int16_t fork = 0;
    EXPECT_EQ(FSOpenFork(file, 4, u"junk", fsRdWrPerm, &fork), errFSForkNotFound);
    ASSERT_EQ(FSOpenFork(file, dataFork.length, dataFork.unicode, fsRdWrPerm, &fork), noErr);

    uint32_t moved = 0;
    EXPECT_EQ(FSWriteFork(fork, fsFromStart, 0, 10, "0123456789", &moved), noErr);
    EXPECT_EQ(moved, 10u);
    EXPECT_EQ(FSWriteFork(fork, fsFromStart, 12, 2, "xy", &moved), noErr) << "past the end: a gap of zeros";
    int64_t size = 0;
    EXPECT_EQ(FSGetForkSize(fork, &size), noErr);
    EXPECT_EQ(size, 14);

    // Reads: from the start, from the end, at the mark, and past the end.
    struct Read {
        uint16_t mode;
        int64_t offset;
        uint32_t count;
        OSErr result;
        std::string bytes;
    };
    const Read reads[] = {
        {fsFromStart, 2, 3, noErr, "234"},
        {fsAtMark, 0, 2, noErr, "56"},
        {fsFromLEOF, -2, 2, noErr, "xy"},
        {fsFromStart, 9, 3, noErr, std::string("9\0\0", 3)},
        {fsFromStart, 12, 5, eofErr, "xy"},
    };
    for (const Read& r : reads) {
        char buffer[8] = {};
        uint32_t got = 99;
        EXPECT_EQ(FSReadFork(fork, r.mode, r.offset, r.count, buffer, &got), r.result) << r.offset;
        EXPECT_EQ(std::string(buffer, got), r.bytes) << r.offset;
    }

    EXPECT_EQ(FSSetForkSize(fork, fsFromStart, 4), noErr);
    EXPECT_EQ(FSGetForkSize(fork, &size), noErr);
    EXPECT_EQ(size, 4);
    EXPECT_EQ(FSSetForkSize(fork, fsFromLEOF, -1), noErr);
    EXPECT_EQ(FSGetForkSize(fork, &size), noErr);
    EXPECT_EQ(size, 3);
    EXPECT_EQ(FSSetForkSize(fork, fsFromLEOF, -4), posErr);
    EXPECT_EQ(FSSetForkPosition(fork, fsFromStart, 1), noErr);
    int64_t mark = 0;
    EXPECT_EQ(FSGetForkPosition(fork, &mark), noErr);
    EXPECT_EQ(mark, 1);
    EXPECT_EQ(FSFlushFork(fork), noErr);
    EXPECT_EQ(FSCloseFork(fork), noErr);
    EXPECT_EQ(Contents(dir / "data"), "012");

    // The resource fork is a fork of its own, sized in the catalogue.
    ASSERT_EQ(FSOpenFork(file, rsrcFork.length, rsrcFork.unicode, fsRdWrPerm, &fork), noErr);
    EXPECT_EQ(FSWriteFork(fork, fsAtMark, 0, 5, "abcde", &moved), noErr);
    EXPECT_EQ(FSCloseFork(fork), noErr);
    ASSERT_EQ(FSGetCatalogInfo(file, kFSCatInfoDataSizes | kFSCatInfoRsrcSizes | kFSCatInfoFinderInfo, &info,
                               nullptr, nullptr, nullptr),
              noErr);
    EXPECT_EQ(info.dataLogicalSize, 3);
    EXPECT_EQ(info.rsrcLogicalSize, 5);
    EXPECT_EQ(info.finderInfo.fdType, FourCC("TEXT"));
    EXPECT_EQ(info.finderInfo.fdCreator, FourCC("QzA6"));
}

TEST(FSRefCatalog, NamesParentsRenamesAndDeletes)
{
    TempFolder dir;
    ::mkdir((dir / "sub").c_str(), 0700);
    std::ofstream(dir / "sub/a:b").put('x');
    const FSRef folder = RefOf(dir / "sub");
    bool isDir = false;
    FSRef ref;
    EXPECT_EQ(FSPathMakeRef(dir / "sub", &ref, &isDir), noErr);
    EXPECT_TRUE(isDir);
    EXPECT_EQ(FSPathMakeRef(dir / "none/x", &ref), fnfErr);

    // A catalogue name writes the Linux ':' as '/'.
    EXPECT_EQ(FSMakeFSRefUnicode(folder, 3, u"a/b", &ref), noErr);
    EXPECT_EQ(ref.path, dir / "sub/a:b");
    EXPECT_EQ(FSMakeFSRefUnicode(folder, 1, u"c", &ref), fnfErr);
    EXPECT_EQ(FSMakeFSRefUnicode(folder, 2, u"..", &ref), bdNamErr);
    EXPECT_EQ(FSMakeFSRefUnicode(RefOf(dir / "sub/a:b"), 1, u"c", &ref), dirNFErr) << "a file is no parent";

    FSCatalogInfo info;
    HFSUniStr255 name;
    FSRef parent;
    FSSpec fsSpec;
    ASSERT_EQ(FSGetCatalogInfo(RefOf(dir / "sub/a:b"), kFSCatInfoGettableInfo, &info, &name, &fsSpec, &parent), noErr);
    EXPECT_EQ(std::u16string(name.unicode, name.length), u"a/b");
    EXPECT_EQ(parent, folder);
    EXPECT_EQ(fsSpec.path, dir / "sub/a:b");
    EXPECT_EQ(info.nodeFlags & kFSNodeIsDirectoryMask, 0);
    EXPECT_EQ(info.dataLogicalSize, 1);
    int16_t volume = 0;
    int32_t subId = 0;
    ASSERT_EQ(FSpGetDirID(FSSpec{dir / "sub"}, &volume, &subId), noErr);
    EXPECT_EQ(info.parentDirID, subId);
    ASSERT_EQ(FSGetCatalogInfo(folder, kFSCatInfoNodeFlags | kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr),
              noErr);
    EXPECT_EQ(info.nodeFlags, kFSNodeIsDirectoryMask);
    EXPECT_EQ(info.nodeID, subId);

    info.permissions = 0600;
    ASSERT_EQ(FSSetCatalogInfo(RefOf(dir / "sub/a:b"), kFSCatInfoPermissions, info), noErr);
    struct stat st {};
    ::stat((dir / "sub/a:b").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    FSRef renamed;
    ASSERT_EQ(FSRenameUnicode(RefOf(dir / "sub/a:b"), 3, u"new", &renamed), noErr);
    EXPECT_EQ(renamed.path, dir / "sub/new");
    int32_t newId = 0;
    EXPECT_EQ(FSCreateDirectoryUnicode(folder, 4, u"kids", kFSCatInfoNone, nullptr, &ref, nullptr, &newId), noErr);
    EXPECT_GT(newId, subId);
    EXPECT_EQ(FSDeleteObject(folder), fBsyErr) << "not empty";
    EXPECT_EQ(FSDeleteObject(ref), noErr);
    EXPECT_EQ(FSDeleteObject(renamed), noErr);
    EXPECT_EQ(FSDeleteObject(folder), noErr);
    EXPECT_EQ(FSGetCatalogInfo(folder, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr), fnfErr);
    EXPECT_EQ(FSGetCatalogInfo(FSRef{}, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr), errFSBadFSRef);
}

TEST(FSRefCatalog, ParameterBlocksAndSpecialFolders)
{
    TempFolder dir;
    ::mkdir((dir / "f").c_str(), 0700);
    std::ofstream(dir / "f/x.txt").put('x');
    int16_t volume = 0;
    int32_t folderId = 0;
    ASSERT_EQ(FSpGetDirID(FSSpec{dir / "f"}, &volume, &folderId), noErr);
    const uint8_t name[] = {5, 'x', '.', 't', 'x', 't'};
    CInfoPBRec pb;
    pb.ioVRefNum = volume;
    pb.ioDirID = folderId;
    pb.ioNamePtr = name;
    ASSERT_EQ(PBGetCatInfoSync(&pb), noErr);
    EXPECT_EQ(pb.ioFlAttrib, 0);
    EXPECT_EQ(pb.ioFlFndrInfo.fdType, FourCC("TEXT"));
    EXPECT_EQ(pb.ioDrParID, folderId);
    pb.ioFDirIndex = -1;  // the folder itself
    ASSERT_EQ(PBGetCatInfoSync(&pb), noErr);
    EXPECT_EQ(pb.ioFlAttrib, 0x10);
    EXPECT_EQ(pb.ioDrDirID, folderId);
    pb.ioDirID = 999999;
    EXPECT_EQ(PBGetCatInfoSync(&pb), dirNFErr);
    EXPECT_EQ(pb.ioResult, dirNFErr);

    uint8_t volumeName[256] = {9};
    HVolumeParam vp;
    vp.ioNamePtr = volumeName;
    EXPECT_EQ(PBHGetVInfoSync(&vp), noErr);
    EXPECT_EQ(vp.ioVRefNum, kOnlyVolume);
    EXPECT_EQ(volumeName[0], 0);
    EXPECT_GT(vp.ioVTotalBytes, 0);
    vp.ioVolIndex = 2;
    EXPECT_EQ(PBHGetVInfoSync(&vp), nsvErr);

    ::setenv("QZ_DOCUMENTS_DIR", (dir / "f").c_str(), 1);
    ::setenv("QZ_EXTENSIONS_DIR", (dir / "ext").c_str(), 1);
    FSRef ref;
    EXPECT_EQ(FSFindFolder(kUserDomain, FourCC("docs"), false, &ref), noErr);
    EXPECT_EQ(ref.path, dir / "f");
    EXPECT_EQ(FSFindFolder(kLocalDomain, FourCC("empz"), false, &ref), fnfErr);
    EXPECT_EQ(FSFindFolder(kLocalDomain, FourCC("empz"), true, &ref), noErr);
    EXPECT_EQ(ref.path, dir / "ext");
    EXPECT_EQ(FSFindFolder(kUserDomain, FourCC("empz"), true, &ref), fnfErr) << "the extensions are local";
    ::unsetenv("QZ_DOCUMENTS_DIR");
    ::unsetenv("QZ_EXTENSIONS_DIR");
}

TEST(FSRefAliases, LinksResolveToTheirTargetsAndIterationListsInNameOrder)
{
    TempFolder dir;
    ::mkdir((dir / "in").c_str(), 0700);
    ::mkdir((dir / "target").c_str(), 0700);
    std::ofstream(dir / "in/b").put('b');
    std::ofstream(dir / "in/.hid").put('h');
    ::symlink((dir / "target").c_str(), (dir / "in/a").c_str());
    ::symlink((dir / "gone").c_str(), (dir / "in/c").c_str());

    bool alias = false, folder = false, wasAliased = false;
    FSRef ref = RefOf(dir / "in/a");
    EXPECT_EQ(FSIsAliasFile(ref, &alias, &folder), noErr);
    EXPECT_TRUE(alias && folder);
    EXPECT_EQ(FSResolveAliasFileWithMountFlags(&ref, true, &folder, &wasAliased, kResolveAliasFileNoUI), noErr);
    EXPECT_EQ(ref.path, dir / "target");
    EXPECT_TRUE(folder && wasAliased);
    EXPECT_EQ(FSResolveAliasFile(&ref, true, &folder, &wasAliased), noErr) << "not an alias: stays";
    EXPECT_EQ(ref.path, dir / "target");
    EXPECT_FALSE(wasAliased);
    ref = RefOf(dir / "in/c");
    EXPECT_EQ(FSResolveAliasFile(&ref, true, &folder, &wasAliased), fnfErr);

    FSIterator it = nullptr;
    EXPECT_EQ(FSOpenIterator(RefOf(dir / "in"), kFSIterateSubtree, &it), paramErr);
    ASSERT_EQ(FSOpenIterator(RefOf(dir / "in"), kFSIterateFlat, &it), noErr);
    struct Item {
        std::u16string name;
        uint16_t nodeFlags;
        uint16_t finderFlags;
    };
    const Item items[] = {
        {u".hid", 0, kIsInvisible},
        {u"a", kFSNodeIsDirectoryMask, kIsAlias},  // the target's node flags, the alias's flag
        {u"b", 0, 0},
        {u"c", 0, kIsAlias},
    };
    for (const Item& want : items) {
        uint32_t count = 0;
        FSCatalogInfo info;
        HFSUniStr255 name;
        FSRef item;
        ASSERT_EQ(FSGetCatalogInfoBulk(it, 1, &count, nullptr, kFSCatInfoNodeFlags | kFSCatInfoFinderInfo, &info,
                                       &item, nullptr, &name),
                  noErr);
        ASSERT_EQ(count, 1u);
        EXPECT_EQ(std::u16string(name.unicode, name.length), want.name);
        EXPECT_EQ(info.nodeFlags, want.nodeFlags) << int(want.name[0]);
        EXPECT_EQ(info.finderInfo.fdFlags & (kIsAlias | kIsInvisible), want.finderFlags) << int(want.name[0]);
    }
    uint32_t count = 7;
    EXPECT_EQ(FSGetCatalogInfoBulk(it, 1, &count, nullptr, 0, nullptr, nullptr, nullptr, nullptr), errFSNoMoreItems);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(FSCloseIterator(it), noErr);
    EXPECT_EQ(FSOpenIterator(RefOf(dir / "in/b"), kFSIterateFlat, &it), dirNFErr);
}

TEST(CFURLPaths, PathsRoundTripThroughURLsInBothStyles)
{
    TempFolder dir;
    ::mkdir((dir / "d").c_str(), 0700);
    std::ofstream(dir / "d/f").put('f');
    std::string colonDir;
    ASSERT_EQ(FSpGetColonPath(FSSpec{dir / "d"}, &colonDir), noErr);
    ASSERT_EQ(colonDir.back(), ':');

    struct Case {
        std::string path;
        CFURLPathStyle style;
        bool made;
        std::string posix;
    };
    const Case cases[] = {
        {dir / "d/f", kCFURLPOSIXPathStyle, true, dir / "d/f"},
        {colonDir + "f", kCFURLHFSPathStyle, true, dir / "d/f"},
        {colonDir + "missing", kCFURLHFSPathStyle, true, dir / "d/missing"},
        {":relative", kCFURLHFSPathStyle, false, ""},
        {"relative/path", kCFURLPOSIXPathStyle, false, ""},
    };
    for (const Case& c : cases) {
        const auto url = CFURLCreateWithFileSystemPath(CFStringCreateWithUTF8(c.path), c.style, false);
        ASSERT_EQ(url.has_value(), c.made) << c.path;
        if (url) {
            EXPECT_EQ(url->posixPath, c.posix);
        }
    }

    const auto folderURL = CFURLCreateFromFSRef(RefOf(dir / "d"));
    ASSERT_TRUE(folderURL);
    EXPECT_TRUE(folderURL->isDirectory);
    EXPECT_EQ(CFStringGetUTF8(CFURLCopyFileSystemPath(*folderURL, kCFURLHFSPathStyle)), colonDir);
    EXPECT_EQ(CFStringGetUTF8(CFURLCopyFileSystemPath(*folderURL, kCFURLPOSIXPathStyle)), dir / "d");
    FSRef back;
    EXPECT_TRUE(CFURLGetFSRef(*folderURL, &back));
    EXPECT_EQ(back.path, dir / "d");
    EXPECT_FALSE(CFURLGetFSRef(CFURL{dir / "d/missing", false}, &back));
    EXPECT_FALSE(CFURLCreateFromFSRef(FSRef{dir / "d/missing"}).has_value());
    // A link to a folder is an alias file: a file's URL, no trailing ':'.
    ::symlink((dir / "d").c_str(), (dir / "link").c_str());
    const auto linkURL = CFURLCreateFromFSRef(RefOf(dir / "link"));
    ASSERT_TRUE(linkURL);
    EXPECT_FALSE(linkURL->isDirectory);
    EXPECT_NE(CFStringGetUTF8(CFURLCopyFileSystemPath(*linkURL, kCFURLHFSPathStyle)).back(), ':');
}
