#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "platform/core/FourCC.h"
#include "platform/files/FileSpec.h"
#include "tests/toolbox/files/FileTestSupport.h"
#include "platform/core/Errors.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VMacFileObject.h"
#include "toolbox/files/VFileFilter.h"
#include "toolbox/files/VFileIterator.h"
#include "toolbox/files/VFolder.h"

using namespace files_testing;
using platform::FourCC;

namespace {

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// The names of everything the iterator lists, in order.
std::vector<std::string> List(const VFolder& folder, FileIteratorOptions options, uint32_t kind = 0)
{
    std::vector<std::string> names;
    VFileIterator items(folder, options, kind);
    for (VPath* item = items.First(); item; item = items.Next()) {
        VText name;
        item->GetName(name);
        names.push_back(ToUtf8(name) + (item->IsAFolder() ? "/" : ""));
        delete item;
    }
    EXPECT_TRUE(items.IsEnd());
    return names;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(Iteration, OptionsChooseFilesFoldersAndHiddenItems)
{
    TempFolder dir;
    WriteText(dir / "a", "");
    WriteText(dir / "b", "");
    WriteText(dir / ".x", "");
    ::mkdir((dir / "c").c_str(), 0777);
    VFolder folder(ColonOf(dir.path() + "/"));
    VFile kinded(folder, Text("b"), FourCC("TEXT"), 0);
    platform::FInfo info;
    info.fdType = FourCC("TEXT");
    platform::FSpSetFInfo(platform::FSSpec{dir / "b"}, info);  // b gets a sidecar

    VFileIterator files(folder, kIterateFiles);
    std::unique_ptr<VPath> a(files.Next());  // Next on a fresh iterator is First
    std::unique_ptr<VPath> b(files.Next());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(files.GetPos(), 2);
    // Usable through the generic cursor.
    VIteratorOf<VPath*>& cursor = files;
    EXPECT_EQ(cursor.Next(), nullptr);
    EXPECT_EQ(cursor.GetPos(), 2);
    EXPECT_EQ(files.Next(), nullptr);
    EXPECT_TRUE(files.IsEnd());

    EXPECT_EQ(List(folder, kIterateFiles | kIterateFolders), (Names{"a", "b", "c/"}));
    EXPECT_EQ(List(folder, kIterateFiles | kIterateInvisible), (Names{".x", "a", "b"}));
    EXPECT_EQ(List(folder, kIterateFolders), (Names{"c/"}));
    EXPECT_EQ(List(folder, kIterateFiles, FourCC("TEXT")), (Names{"b"}));
    EXPECT_EQ(List(folder, kIterateFiles, kAnyFileKind), (Names{"a", "b"}));
    {
        // A filter given again is kept, not freed under the iterator.
        VFileIterator texts(folder, kIterateFiles);
        auto* filter = new VFileFilter(nullptr, FourCC("TEXT"), 0);
        texts.SetFilter(filter);
        texts.SetFilter(filter);
        std::unique_ptr<VPath> only(texts.First());
        ASSERT_TRUE(only);
        EXPECT_EQ(ToUtf8(only->GetPath()), ToUtf8(kinded.GetPath()));
        EXPECT_EQ(texts.Next(), nullptr);
    }

    VFolder missing(ColonOf(dir / "none/"));
    VFileIterator nothing(missing, kIterateFiles);
    EXPECT_EQ(nothing.First(), nullptr);
    EXPECT_EQ(nothing.Next(), nullptr);

    // A folder with nothing to show: no position, at its end.
    VFileIterator onlyFolders(VFolder(ColonOf(dir / "c/")), kIterateFiles);
    EXPECT_EQ(onlyFolders.First(), nullptr);
    EXPECT_EQ(onlyFolders.GetPos(), 0);
    EXPECT_TRUE(onlyFolders.IsEnd());
}

TEST(Iteration, LinksResolveWhenAskedAndBrokenOnesAreSkipped)
{
    TempFolder dir;
    ::mkdir((dir / "in").c_str(), 0777);
    ::mkdir((dir / "elsewhere").c_str(), 0777);
    ::symlink((dir / "elsewhere").c_str(), (dir / "in/alias").c_str());
    ::symlink((dir / "gone").c_str(), (dir / "in/broken").c_str());
    WriteText(dir / "in/z", "");
    VFolder folder(ColonOf(dir / "in/"));

    EXPECT_EQ(List(folder, kIterateFiles | kIterateFolders), (Names{"alias", "broken", "z"}));
    EXPECT_EQ(List(folder, kIterateFiles | kIterateFolders | kIterateResolveAliases), (Names{"elsewhere/", "z"}));
}

TEST(Iteration, DeletingContentsStaysInsideTheFolder)
{
    TempFolder dir;
    ::mkdir((dir / "tree").c_str(), 0777);
    ::mkdir((dir / "tree/sub").c_str(), 0777);
    ::mkdir((dir / "tree/sub/deeper").c_str(), 0777);
    ::mkdir((dir / "outside").c_str(), 0777);
    WriteText(dir / "outside/precious", "keep");
    WriteText(dir / "tree/sub/deeper/f", "");
    WriteText(dir / "tree/.hidden", "");
    WriteText(dir / "tree/g", "");
    platform::FInfo info;
    info.fdType = FourCC("TEXT");
    platform::FSpSetFInfo(platform::FSSpec{dir / "tree/g"}, info);
    ::symlink((dir / "outside").c_str(), (dir / "tree/sub/link").c_str());
    ::symlink((dir / "gone").c_str(), (dir / "tree/broken").c_str());

    VFolder tree(ColonOf(dir / "tree/"));
    EXPECT_EQ(tree.DeleteContents(true), 0);
    EXPECT_TRUE(Exists(dir / "tree"));
    EXPECT_EQ(List(tree, kIterateFiles | kIterateFolders | kIterateInvisible), Names{});
    EXPECT_FALSE(Exists(dir / "tree/._g"));
    EXPECT_EQ(ReadText(dir / "outside/precious"), "keep");

    // Destroying a link to a folder removes only the link.
    ::symlink((dir / "outside").c_str(), (dir / "tree/link").c_str());
    VFolder link(ColonOf(dir / "tree/link/"));
    EXPECT_EQ(link.Destroy(false), 0);
    EXPECT_FALSE(Exists(dir / "tree/link"));
    EXPECT_EQ(ReadText(dir / "outside/precious"), "keep");

    EXPECT_EQ(tree.Destroy(false), 0);
    EXPECT_FALSE(Exists(dir / "tree"));
    EXPECT_EQ(tree.Destroy(false), kFileErrMissing);
}

TEST(Iteration, AFailedDeletionStopsTheWalkCleanly)
{
    TempFolder dir;
    ::mkdir((dir / "box").c_str(), 0777);
    WriteText(dir / "box/a", "");
    ::mkdir((dir / "box/b").c_str(), 0777);
    WriteText(dir / "box/b/inner", "");
    WriteText(dir / "box/c", "");
    WriteText(dir / "box/d", "");
    VFolder box(ColonOf(dir / "box/"));
    // Without recursion a folder that still holds items cannot go: the
    // walk stops there and nothing it had not reached is touched (or leaked).
    EXPECT_NE(box.DeleteContents(false), 0);
    EXPECT_FALSE(Exists(dir / "box/a"));
    EXPECT_TRUE(Exists(dir / "box/b/inner"));
    EXPECT_TRUE(Exists(dir / "box/c"));
    EXPECT_TRUE(Exists(dir / "box/d"));
    EXPECT_EQ(box.Destroy(false), 0);
    EXPECT_FALSE(Exists(dir / "box"));
}

TEST(Folders, CreateRecursiveReportsWhyItStopped)
{
    TempFolder dir;
    int16_t err = -99;
    std::unique_ptr<VFolder> made(VFolder::CreateRecursive(ColonOf(dir / "a/b/c"), &err));
    ASSERT_TRUE(made);
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(made->Exists());
    EXPECT_EQ(ToUtf8(made->GetPath()), ToUtf8(ColonOf(dir / "a/b/c/")));

    WriteText(dir / "file", "");
    EXPECT_EQ(VFolder::CreateRecursive(ColonOf(dir / "file/x"), &err), nullptr);
    EXPECT_EQ(err, kFileErrExists);
    EXPECT_FALSE(Exists(dir / "file/x"));

    VFolder existing(ColonOf(dir / "a/"));
    EXPECT_EQ(existing.Create(false), kFileErrExists);
    std::unique_ptr<VFolder> sub(existing.GetSubFolder(Text("new")));
    EXPECT_FALSE(sub->Exists());
    EXPECT_EQ(sub->Create(false), 0);
    EXPECT_TRUE(Exists(dir / "a/new"));
    std::unique_ptr<VFolder> parent(sub->GetParent());
    ASSERT_TRUE(parent);
    EXPECT_EQ(ToUtf8(parent->GetPath()), ToUtf8(existing.GetPath()));
}

TEST(Folders, DirectoryIdsAndSpecialFoldersNameTheSameFolder)
{
    TempFolder dir;
    ::mkdir((dir / "docs").c_str(), 0777);
    ::setenv("QZ_DOCUMENTS_DIR", (dir / "docs").c_str(), 1);
    VFolder documents(kDocumentsFolderKind);
    ::unsetenv("QZ_DOCUMENTS_DIR");
    EXPECT_TRUE(documents.Exists());
    EXPECT_EQ(ToUtf8(documents.GetPath()), ToUtf8(ColonOf(dir / "docs/")));

    int32_t dirID = 0;
    int16_t vRefNum = 0;
    ASSERT_EQ(documents.GetDirectoryID(&dirID, &vRefNum), 0);
    // A name longer than 31 characters is kept whole.
    const std::string longName = "a folder name well past thirty-one characters";
    ::mkdir((dir / "docs/" + longName).c_str(), 0777);
    VFolder byId(vRefNum, dirID, Text(longName));
    EXPECT_TRUE(byId.Exists());
    EXPECT_EQ(ToUtf8(byId.GetPath()), ToUtf8(ColonOf(dir / "docs/" + longName + "/")));

    // A path through a missing folder leaves no folder behind, even in an
    // object that named one before.
    EXPECT_NE(byId.MAC_GetFolder().Init(vRefNum, dirID, Text(":missing:deeper:")), 0);
    EXPECT_FALSE(byId.MAC_GetFolder().IsOnDisk());
    EXPECT_EQ(byId.GetDirectoryID(&dirID, &vRefNum), MapFileError(platform::fnfErr));
    EXPECT_EQ(dirID, 0);

    // A documents folder that is not there is not on the disk.
    ::setenv("QZ_DOCUMENTS_DIR", (dir / "absent").c_str(), 1);
    VFolder absent(kDocumentsFolderKind);
    ::unsetenv("QZ_DOCUMENTS_DIR");
    EXPECT_FALSE(absent.MAC_GetFolder().IsOnDisk());
    EXPECT_FALSE(absent.Exists());

    // Through a link, the target must be a folder.
    WriteText(dir / "plain", "");
    ::symlink((dir / "plain").c_str(), (dir / "link").c_str());
    VFolder linkFolder(platform::FSRef{dir / "link"});
    EXPECT_EQ(linkFolder.MAC_GetFolder().GetDirectoryID(&dirID, &vRefNum, true), MapFileError(platform::paramErr));
}

TEST(Folders, RelativePathsFromADirectoryId)
{
    TempFolder dir;
    ::mkdir((dir / "base").c_str(), 0777);
    ::mkdir((dir / "base/one").c_str(), 0777);
    ::mkdir((dir / "base/one/two").c_str(), 0777);
    VFolder base(ColonOf(dir / "base/"));
    int32_t dirID = 0;
    int16_t vRefNum = 0;
    ASSERT_EQ(base.GetDirectoryID(&dirID, &vRefNum), 0);

    VFolder nested(vRefNum, dirID, Text(":one:two:"));
    EXPECT_TRUE(nested.Exists());
    EXPECT_EQ(ToUtf8(nested.GetPath()), ToUtf8(ColonOf(dir / "base/one/two/")));
    const uint8_t pName[] = {4, ':', 'o', 'n', 'e'};
    VFolder fromPString(vRefNum, dirID, pName);
    EXPECT_EQ(ToUtf8(fromPString.GetPath()), ToUtf8(ColonOf(dir / "base/one/")));
    VFolder climbed(vRefNum, dirID, Text(":one:two::"));
    EXPECT_EQ(ToUtf8(climbed.GetPath()), ToUtf8(ColonOf(dir / "base/one/")));

    // The last folder may be missing, to be made; a missing middle one
    // leaves nowhere to make it.
    VFolder toMake(vRefNum, dirID, Text(":one:three"));
    EXPECT_FALSE(toMake.Exists());
    EXPECT_EQ(toMake.Create(false), 0);
    EXPECT_TRUE(Exists(dir / "base/one/three"));
    VFolder nowhere(vRefNum, dirID, Text(":none:two"));
    EXPECT_FALSE(nowhere.Exists());
    EXPECT_NE(nowhere.Create(false), 0);
    EXPECT_FALSE(Exists(dir / "base/two"));
}

TEST(FileFilters, KindsTypesAndExtensions)
{
    const uint8_t txt[] = {4, '.', 't', 'x', 't'};
    VFileFilter any(reinterpret_cast<const uint8_t*>("All"), kAnyFileKind, 0);
    EXPECT_TRUE(any.MAC_FilterFile(txt, FourCC("JUNK"), nullptr));
    VFileFilter text(reinterpret_cast<const uint8_t*>("Text"), FourCC("TEXT"), FourCC("ttxt"));
    EXPECT_TRUE(text.MAC_FilterFile(txt, FourCC("TEXT"), nullptr));
    EXPECT_FALSE(text.MAC_FilterFile(txt, FourCC("PICT"), nullptr));
    // No type and an extension without a Windows kind: not taken for text.
    EXPECT_FALSE(text.MAC_FilterFile(txt, 0, nullptr));
    VFileFilter none;
    EXPECT_TRUE(none.MAC_FilterFile(txt, 0, nullptr));
    none.AddFileKind(0, 0);  // not a valid kind: nothing added
    EXPECT_EQ(none.GetKindCount(), 0);
    none.AddFileKind(Text("public.text"));
    VText uti;
    none.GetNthUTIKind(1, uti);
    EXPECT_EQ(ToUtf8(uti), "public.text");
    EXPECT_EQ(none.GetUTIKindsCount(), 1);

    // The last kind and creator are there; one past them is not.
    VFileFilter two(reinterpret_cast<const uint8_t*>("Two"), FourCC("TEXT"), FourCC("ttxt"));
    two.AddFileKind(FourCC("PICT"), FourCC("ogle"));
    ASSERT_EQ(two.GetKindCount(), 2);
    EXPECT_EQ(two.GetKind(2), FourCC("PICT"));
    EXPECT_EQ(two.GetCreator(2), FourCC("ogle"));
    EXPECT_EQ(two.GetKind(3), 0u);
    EXPECT_EQ(two.GetCreator(0), 0u);

    // Names from the disk: a truncated sequence at the end is not dropped.
    VText name;
    FromUtf8("ab\xC3", name);
    EXPECT_EQ(name.GetLength(), 3);
    const char16_t lone[2] = {u'a', char16_t(0xD800)};
    name.FromUniBlock(lone, 0, 2);
    EXPECT_GT(ToUtf8(name).size(), 1u);
}

TEST(Iteration, KindFiltersAndAliasTargets)
{
    struct Case {
        std::vector<uint32_t> kinds;
        uint32_t file;
        bool accepted;
    };
    const Case cases[] = {
        {{}, FourCC("QzB "), true},                          // no kinds: everything
        {{FourCC("TEXT")}, FourCC("QzB "), false},
        {{FourCC("TEXT")}, FourCC("TEXT"), true},
        {{FourCC("TEXT"), kAnyFileKind}, FourCC("QzB "), true},
    };
    EXPECT_TRUE(xFilterFile(nullptr, FourCC("QzB ")));
    for (const Case& c : cases) {
        VFileFilter filter;
        for (uint32_t kind : c.kinds) filter.AddFileKind(kind, 0);
        EXPECT_EQ(xFilterFile(&filter, c.file), c.accepted) << c.kinds.size();
    }

    // An alias to a folder: the folder it names when resolving, else the alias itself.
    TempFolder dir;
    ::mkdir((dir / "in").c_str(), 0777);
    ::mkdir((dir / "there").c_str(), 0777);
    ::symlink((dir / "there").c_str(), (dir / "in/alias").c_str());
    VFolder folder(ColonOf(dir / "in/"));
    for (bool resolve : {true, false}) {
        VFileIterator items(folder, kIterateFiles | kIterateFolders | (resolve ? kIterateResolveAliases : 0));
        std::unique_ptr<VPath> item(items.First());
        ASSERT_TRUE(item);
        EXPECT_EQ(item->IsAFolder(), resolve);
        VText path;
        item->GetFullPath(path);
        EXPECT_EQ(ToUtf8(path), ToUtf8(resolve ? ColonOf(dir / "there/") : ColonOf(dir / "in/alias"))) << resolve;
        EXPECT_EQ(items.Next(), nullptr);
    }
}
