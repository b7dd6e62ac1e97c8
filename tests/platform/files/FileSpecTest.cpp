#include "platform/files/FileSpec.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <tuple>

#include "platform/core/FourCC.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FolderListing.h"
#include "platform/files/Forks.h"
#include "platform/files/Sidecar.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(FileSpec, MakeReportsWhetherTheItemAndItsFolderExist)
{
    TempFolder dir;
    FSSpec fileSpec;
    EXPECT_EQ(FSMakeFSSpec(dir.path() + "/./x/../new", &fileSpec), fnfErr);
    EXPECT_EQ(fileSpec.path, dir / "new");
    EXPECT_EQ(FSMakeFSSpec(dir / "none/new", &fileSpec), dirNFErr);
    EXPECT_EQ(FSMakeFSSpec("relative", &fileSpec), bdNamErr);
    EXPECT_EQ(FSMakeFSSpec(dir / "._sidecar", &fileSpec), bdNamErr);
    FSSpec folder{dir.path()};
    EXPECT_EQ(FSMakeFSSpec(folder, "a/b", &fileSpec), bdNamErr);

    // Names stay whole, far beyond 31 bytes, with ':' and non-Roman letters.
    std::string name = "A rather long file name: beyond thirty-one bytes — 名前.data";
    EXPECT_EQ(FSMakeFSSpec(folder, name, &fileSpec), fnfErr);
    ASSERT_EQ(FSpCreate(fileSpec, FourCC("Qz  "), FourCC("DATA")), noErr);
    EXPECT_EQ(FSMakeFSSpec(folder, name, &fileSpec), noErr);
    EXPECT_EQ(FSpGetName(fileSpec), name);
    EXPECT_EQ(FSpGetParent(fileSpec), folder);

    std::string colon;
    ASSERT_EQ(FSpGetColonPath(fileSpec, &colon), noErr);
    FSSpec back;
    EXPECT_EQ(FSMakeFSSpecFromColonPath(colon, &back), noErr);
    EXPECT_EQ(back, fileSpec);
    ASSERT_EQ(FSpGetColonPath(folder, &colon), noErr);
    EXPECT_EQ(colon.back(), ':');
}

TEST(FileSpec, FinderInformationNeedsASidecarOnlyWhenTheExtensionDoesNotTellIt)
{
    TempFolder dir;
    FSSpec plain, odd;
    FSMakeFSSpec(dir / "notes.txt", &plain);
    FSMakeFSSpec(dir / "notes", &odd);

    ASSERT_EQ(FSpCreate(plain, FourCC("????"), FourCC("TEXT")), noErr);
    EXPECT_FALSE(Exists(dir / "._notes.txt"));
    ASSERT_EQ(FSpCreate(odd, FourCC("ttxt"), FourCC("TEXT")), noErr);
    EXPECT_TRUE(Exists(dir / "._notes"));
    EXPECT_EQ(FSpCreate(odd, FourCC("ttxt"), FourCC("TEXT")), dupFNErr);
    // A name too long to have a sidecar is made all the same, answering
    // what its extension tells whatever it was made as; so is its
    // information set.
    const std::tuple<std::string, OSType, OSType> longest[] = {
        {std::string(251, 'n') + ".txt", FourCC("TEXT"), FourCC("????")},
        {std::string(255, 'n'), 0, 0},
    };
    for (const auto& [name, type, creator] : longest) {
        const FSSpec item{dir / name};
        EXPECT_EQ(FSpCreate(item, FourCC("ttxt"), FourCC("TEXT")), noErr);
        FInfo made;
        ASSERT_EQ(FSpGetFInfo(item, &made), noErr);
        EXPECT_EQ(std::tuple(made.fdType, made.fdCreator), std::tuple(type, creator)) << name.size();
        made.fdType = FourCC("ttro");
        EXPECT_EQ(FSpSetFInfo(item, made), noErr);
        EXPECT_FALSE(Exists(SidecarPath(item.path)));
    }

    FInfo info;
    ASSERT_EQ(FSpGetFInfo(odd, &info), noErr);
    EXPECT_EQ(info.fdType, FourCC("TEXT"));
    EXPECT_EQ(info.fdCreator, FourCC("ttxt"));
    ASSERT_EQ(FSpGetFInfo(plain, &info), noErr);
    EXPECT_EQ(info.fdType, FourCC("TEXT"));

    // Without its sidecar a file still answers, from its extension or zero.
    ASSERT_EQ(RemoveSidecar(odd.path), noErr);
    ASSERT_EQ(FSpGetFInfo(odd, &info), noErr);
    EXPECT_EQ(info.fdType, 0u);

    // Setting flags writes a sidecar; setting back what the extension says drops it.
    FSpGetFInfo(plain, &info);
    info.fdFlags = kIsInvisible;
    ASSERT_EQ(FSpSetFInfo(plain, info), noErr);
    EXPECT_TRUE(Exists(dir / "._notes.txt"));
    CatInfo cat;
    ASSERT_EQ(FSpGetCatInfo(plain, &cat), noErr);
    EXPECT_TRUE(cat.isHidden);
    info.fdFlags = 0;
    ASSERT_EQ(FSpSetFInfo(plain, info), noErr);
    EXPECT_FALSE(Exists(dir / "._notes.txt"));

    // A damaged sidecar is not overwritten.
    WriteText(dir / "._notes", "junk");
    EXPECT_EQ(FSpSetFInfo(odd, info), ioErr);
    EXPECT_EQ(ReadText(dir / "._notes"), "junk");
    EXPECT_EQ(FSpGetFInfo(odd, &info), noErr);
}

TEST(FileSpec, SidecarsTravelWithTheirFile)
{
    TempFolder dir;
    FSSpec a, sub, moved, copy;
    FSMakeFSSpec(dir / "a", &a);
    ASSERT_EQ(FSpCreate(a, FourCC("ttxt"), FourCC("TEXT")), noErr);
    WriteText(a.path, "data");
    FSMakeFSSpec(dir / "sub", &sub);
    ASSERT_EQ(FSpDirCreate(sub), noErr);

    ASSERT_EQ(FSpRename(a, "b:c"), noErr);
    EXPECT_FALSE(Exists(dir / "a"));
    EXPECT_FALSE(Exists(dir / "._a"));
    EXPECT_TRUE(Exists(dir / "._b:c"));
    FSMakeFSSpec(dir / "b:c", &a);
    EXPECT_EQ(FSpRename(a, "sub"), dupFNErr);
    EXPECT_EQ(FSpRename(a, "x/y"), bdNamErr);

    ASSERT_EQ(FSpCatMove(a, sub), noErr);
    FSMakeFSSpec(dir / "sub/b:c", &moved);
    EXPECT_TRUE(Exists(dir / "sub/._b:c"));
    EXPECT_EQ(FSpCatMove(sub, sub), badMovErr);

    FSMakeFSSpec(dir / "copy", &copy);
    ASSERT_EQ(FSpCopyFile(moved, copy), noErr);
    EXPECT_EQ(ReadText(copy.path), "data");
    FInfo info;
    FSpGetFInfo(copy, &info);
    EXPECT_EQ(info.fdCreator, FourCC("ttxt"));
    EXPECT_EQ(FSpCopyFile(moved, copy), dupFNErr);

    ASSERT_EQ(FSpDelete(moved), noErr);
    EXPECT_FALSE(Exists(dir / "sub/._b:c"));
    EXPECT_EQ(FSpDelete(moved), fnfErr);
    // A sidecar whose item is gone does not keep the folder from going; a
    // sidecar beside a real item does (the folder is not empty).
    WriteText(dir / "sub/._left-behind", "x");
    ASSERT_EQ(FSpDelete(sub), noErr);
    FSSpec full;
    ASSERT_EQ(FSpDirCreate(FSSpec{dir / "full"}), noErr);
    WriteText(dir / "full/item", "");
    WriteText(dir / "full/._item", "x");
    FSMakeFSSpec(dir / "full", &full);
    EXPECT_NE(FSpDelete(full), noErr);
    EXPECT_TRUE(Exists(dir / "full/._item"));

    // An orphan sidecar is never taken over by a new file of that name.
    WriteText(dir / "a", "");
    FSMakeFSSpec(dir / "a", &a);
    FInfo orphan;
    orphan.fdType = FourCC("APPL");
    ASSERT_EQ(FSpSetFInfo(a, orphan), noErr);
    ::unlink(a.path.c_str());
    ASSERT_EQ(FSpCreate(a, 0, 0), noErr);
    FSpGetFInfo(a, &info);
    EXPECT_EQ(info.fdType, 0u);
}

TEST(FileSpec, ListingHidesSidecarsAndReportsLinks)
{
    TempFolder dir;
    FSSpec fileSpec;
    FSMakeFSSpec(dir / "b", &fileSpec);
    FSpCreate(fileSpec, FourCC("ttxt"), FourCC("TEXT"));
    FSMakeFSSpec(dir / "a", &fileSpec);
    FSpCreate(fileSpec, 0, 0);
    FInfo info;
    info.fdFlags = kIsInvisible;
    FSpSetFInfo(fileSpec, info);
    WriteText(dir / ".x", "");
    FSMakeFSSpec(dir / "c", &fileSpec);
    FSpDirCreate(fileSpec);
    ASSERT_EQ(::symlink((dir / "c").c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "broken").c_str()), 0);

    std::vector<FolderEntry> entries;
    ASSERT_EQ(FSpListFolder(FSSpec{dir.path()}, &entries), noErr);
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{".x", "a", "b", "broken", "c", "link"}));
    EXPECT_TRUE(entries[0].hidden);
    EXPECT_TRUE(entries[1].hidden);
    EXPECT_FALSE(entries[2].hidden);
    EXPECT_TRUE(entries[3].brokenLink);
    EXPECT_EQ(entries[4].kind, EntryKind::Folder);
    EXPECT_TRUE(entries[5].isLink);
    EXPECT_EQ(entries[5].kind, EntryKind::Folder);

    FSSpec target;
    bool isFolder = false;
    ASSERT_EQ(FSpResolveLink(entries[5].fileSpec, &target, &isFolder), noErr);
    EXPECT_EQ(target.path, dir / "c");
    EXPECT_TRUE(isFolder);
    EXPECT_EQ(FSpResolveLink(entries[3].fileSpec, &target, &isFolder), fnfErr);
    EXPECT_EQ(FSpListFolder(FSSpec{dir / "none"}, &entries), fnfErr);
}

TEST(FileSpec, CatalogueInformationCountsBothForks)
{
    TempFolder dir;
    FSSpec fileSpec;
    FSMakeFSSpec(dir / "f", &fileSpec);
    FSpCreate(fileSpec, FourCC("ttxt"), FourCC("TEXT"));
    WriteText(fileSpec.path, "0123456789");
    int16_t ref = 0;
    ASSERT_EQ(FSpOpenRF(fileSpec, fsRdWrPerm, &ref), noErr);
    int64_t count = 20;
    std::string twenty(20, 'r');
    ASSERT_EQ(FSWrite(ref, &count, twenty.data()), noErr);
    ASSERT_EQ(FSClose(ref), noErr);

    CatInfo info;
    ASSERT_EQ(FSpGetCatInfo(fileSpec, &info), noErr);
    EXPECT_EQ(info.dataSize, 10);
    EXPECT_EQ(info.rsrcSize, 20);
    EXPECT_EQ(info.finderInfo.fdCreator, FourCC("ttxt"));
    EXPECT_FALSE(info.isFolder);

    ASSERT_EQ(FSpSetPermissions(fileSpec, 0444), noErr);
    uint16_t mode = 0;
    ASSERT_EQ(FSpGetPermissions(fileSpec, &mode), noErr);
    EXPECT_EQ(mode, 0444);
    int64_t freeBytes = -1, total = -1;
    ASSERT_EQ(FSpGetFreeSpace(FSSpec{dir / "not/yet"}, &freeBytes, &total), noErr);
    EXPECT_GE(freeBytes, 0);
    EXPECT_GE(total, freeBytes);
}

TEST(FileErrors, ErrnoMapsToClassicCodes)
{
    EXPECT_EQ(OSErrFromErrno(ENOENT), -43);
    EXPECT_EQ(OSErrFromErrno(ENOSPC), -34);
    EXPECT_EQ(OSErrFromErrno(EROFS), -46);
    EXPECT_EQ(OSErrFromErrno(EACCES), -54);
    EXPECT_EQ(OSErrFromErrno(ENOMEM), -108);
    EXPECT_EQ(OSErrFromErrno(EEXIST), -48);
    EXPECT_EQ(OSErrFromErrno(EBUSY), -47);
    EXPECT_EQ(OSErrFromErrno(ENOTDIR), -120);
    EXPECT_EQ(OSErrFromErrno(EIO), -36);
}

// Every allocation of making a file's FSSpec may fail: the entry answers
// memFullErr and throws nothing; with memory back it answers as before.
TEST(FileSpec, MakingRunsOutOfMemoryWithAnErrorCode)
{
    TempFolder dir;
    WriteText(dir / "there", "x");
    const FSSpec folder{dir.path()};
    struct Form {
        const char* what;
        std::function<OSErr(FSSpec*)> make;
        OSErr answer;
    };
    const std::string deep = dir.path() + "/a/./b/../../" + std::string(100, 'n');
    std::string colon;
    ASSERT_EQ(FSpGetColonPath(FSSpec{dir / "there"}, &colon), noErr);
    const Form forms[] = {
        {"path", [&](FSSpec* s) { return FSMakeFSSpec(deep, s); }, fnfErr},
        {"folder and name", [&](FSSpec* s) { return FSMakeFSSpec(folder, "there", s); }, noErr},
        {"colon path", [&](FSSpec* s) { return FSMakeFSSpecFromColonPath(colon, s); }, noErr},
    };
    for (const Form& f : forms) {
        SCOPED_TRACE(f.what);
        int failed = 0;
        for (int64_t n = 0; n < 200; ++n) {
            FSSpec made;
            testfaults::FailNthNew(n);
            OSErr err = noErr;
            EXPECT_NO_THROW(err = f.make(&made));
            const bool fired = !testfaults::NewFailurePending();
            testfaults::StopFailingNew();
            if (!fired) {
                EXPECT_EQ(err, f.answer) << n;
                break;
            }
            EXPECT_TRUE(err == memFullErr || err == f.answer) << n << ": " << err;
            failed += err == memFullErr;
        }
        EXPECT_GT(failed, 0);
    }
}
