#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/core/Errors.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileErrors.h"
#include "platform/files/Sidecar.h"
#include "tests/toolbox/files/FileTestSupport.h"
#include "toolbox/files/FileKindHooks.h"
#include "toolbox/files/SystemFileServices.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileStream.h"
#include "toolbox/files/VFolder.h"
#include "toolbox/files/VMacFileObject.h"

using namespace files_testing;
using platform::FourCC;

namespace {

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

int16_t MapErrno(int err) { return MapFileError(platform::OSErrFromErrno(err)); }

}  // namespace

TEST(Files, StatusMachineAndItsCodes)
{
    TempFolder dir;
    WriteText(dir / "ro", "read only");
    ::chmod((dir / "ro").c_str(), 0444);
    VFile readOnly(ColonOf(dir / "ro"));
    EXPECT_EQ(readOnly.Open(kAccessRead), 0);
    EXPECT_EQ(readOnly.GetStatus(), kPathOpenRead);
    EXPECT_EQ(readOnly.Open(kAccessRead), kFileErrBusy);
    EXPECT_EQ(readOnly.PutData("x", 1), kFileErrNotWritable);
    char got[4] = {};
    uint32_t count = 4;
    EXPECT_EQ(readOnly.GetData(got, count, 5), 0);  // a file open for reading reads anywhere
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(std::string(got, 4), "only");
    EXPECT_EQ(readOnly.MAC_GetFile().Open(kAccessRead, false), kFileErrBusy);  // one fork at a time
    EXPECT_EQ(readOnly.Close(true), 0);
    EXPECT_EQ(readOnly.MAC_GetFile().Flush(), 0);  // nothing open, nothing to flush
    EXPECT_EQ(readOnly.Close(true), kFileErrNotOpen);
    EXPECT_EQ(readOnly.SetPos(0), kFileErrNotOpen);
    count = 4;
    EXPECT_EQ(readOnly.GetData(got, count, 0), kFileErrNotOpen);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(readOnly.Close(false), 0);
    EXPECT_EQ(readOnly.Open(5), kFileErrUnsupported);
    EXPECT_EQ(readOnly.GetStatus(), kPathExists);
    if (::geteuid() != 0) {  // root may write a mode-0444 file, so any mode opens it
        EXPECT_EQ(readOnly.Open(kAccessAny), 0);
        EXPECT_EQ(readOnly.GetStatus(), kPathOpenRead);
        readOnly.Close();
    }
    {
        // Any access: the first of 4, 3, 2, 1 that opens, whoever runs us.
        platform::ScopedFault refused(platform::FaultKind::FileBusy, 0, 3);
        EXPECT_EQ(readOnly.Open(kAccessAny), 0);
        EXPECT_EQ(readOnly.GetStatus(), kPathOpenRead);
        readOnly.Close();
    }
    {
        platform::ScopedFault refused(platform::FaultKind::FileBusy, 0, 4);
        EXPECT_EQ(readOnly.Open(kAccessAny), kFileErrNoAccessMode);
        EXPECT_EQ(readOnly.GetStatus(), kPathExists);
    }

    WriteText(dir / "doc", "keep me");
    VFile existing(ColonOf(dir / "doc"), FourCC("TEXT"), FourCC("ttxt"));
    EXPECT_EQ(existing.Create(false), kFileErrExists);
    EXPECT_EQ(ReadText(dir / "doc"), "keep me");
    EXPECT_EQ(existing.Rename(Text("a:b")), kFileErrColonInName);
    EXPECT_EQ(existing.Rename(Text(":ab")), kFileErrColonInName);  // the first character too
    EXPECT_EQ(existing.Rename(Text("ab:")), kFileErrColonInName);  // and the last
    EXPECT_TRUE(Exists(dir / "doc"));

    VFile missing(ColonOf(dir / "none"), 1);
    EXPECT_EQ(missing.GetSize(), 0xFFFFFFFFu);
    EXPECT_EQ(missing.Open(kAccessRead), kFileErrMissing);
    EXPECT_EQ(missing.Delete(), kFileErrMissing);

    VFolder folder(ColonOf(dir.path() + "/"));
    VFile onFolder(ColonOf(dir.path()), 1);
    EXPECT_FALSE(onFolder.Exists());
    EXPECT_TRUE(onFolder.ExistsButIsBad());

    VFileStream first(&existing), second(&existing);
    EXPECT_EQ(existing.SetWriter(&first), 0);
    EXPECT_EQ(existing.SetWriter(&second), kFileErrBusy);
    EXPECT_EQ(existing.GetWriter(), &first);
    EXPECT_EQ(existing.SetWriter(nullptr), 0);
    EXPECT_EQ(existing.SetWriter(&second), 0);
    existing.SetWriter(nullptr);
}

TEST(Files, CreateWithReplaceKeepsTheOldFileUntilTheNewOneStands)
{
    TempFolder dir;
    WriteText(dir / "doc", "old contents");
    VFile file(ColonOf(dir / "doc"), FourCC("TEXT"), FourCC("ttxt"));
    ASSERT_EQ(file.Create(true), 0);
    EXPECT_EQ(file.GetStatus(), kPathOpenBase + kAccessReadWrite);
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_EQ(file.PutData("new", 3), 0);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(ReadText(dir / "doc"), "new");
    EXPECT_EQ(::access((dir / "doc").c_str(), F_OK), 0);

    // The old file is open elsewhere: it cannot be replaced, and stays whole.
    VFile other(ColonOf(dir / "doc"));
    ASSERT_EQ(other.Open(kAccessRead), 0);
    VFile again(ColonOf(dir / "doc"), FourCC("TEXT"), FourCC("ttxt"));
    EXPECT_EQ(again.Create(true), kFileErrNotDeleted);
    EXPECT_EQ(ReadText(dir / "doc"), "new");
    other.Close();

    // No temporary file is left behind either way.
    VFolder folder(ColonOf(dir.path() + "/"));
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (!platform::IsSidecarName(entry.path().filename().string())) ++count;
    EXPECT_EQ(count, 1);
}

TEST(Files, PlatformErrorsMapToToolboxCodesAndAreRecorded)
{
    EXPECT_EQ(MapErrno(ENOENT), kFileErrMissing);
    EXPECT_EQ(platform::OSErrFromErrno(ENOENT), platform::fnfErr);
    EXPECT_EQ(platform::OSErrFromErrno(ENOSPC), platform::dskFulErr);
    EXPECT_EQ(MapErrno(ENOSPC), kFileErrDiskFull);
    EXPECT_EQ(platform::OSErrFromErrno(EROFS), platform::vLckdErr);
    EXPECT_EQ(MapErrno(EROFS), kFileErrLocked);
    EXPECT_EQ(platform::OSErrFromErrno(EACCES), platform::permErr);
    EXPECT_EQ(MapErrno(EACCES), kFileErrBusy);
    EXPECT_EQ(platform::OSErrFromErrno(ENOMEM), platform::memFullErr);
    EXPECT_EQ(MapErrno(ENOMEM), kFileErrMemory);
    EXPECT_EQ(MapFileError(platform::eofErr), kFileErrEndOfData);
    EXPECT_EQ(MapFileError(platform::bdNamErr), kFileErrOther);
    EXPECT_EQ(MapFileError(-128), kFileErrCancelled);
    // Missing folders and files already open for writing are not "other".
    EXPECT_EQ(MapFileError(platform::dirNFErr), kFileErrMissing);
    EXPECT_EQ(MapFileError(platform::opWrErr), kFileErrBusy);
    EXPECT_NE(MapFileError(platform::dirNFErr), MapFileError(platform::opWrErr));

    TempFolder dir;
    WriteText(dir / "f", "x");
    VFile file(ColonOf(dir / "f"), 1);
    ASSERT_TRUE(file.Exists());
    ::unlink((dir / "f").c_str());
    EXPECT_EQ(file.Open(kAccessRead), kFileErrMissing);
    VFileErrorStack& errors = file.GetFileErrorStack();
    ASSERT_EQ(errors.GetCount(), 1);
    EXPECT_EQ(ToUtf8(errors.GetFileError(1)->GetFullDescription()), "OSErr =-43");
    EXPECT_EQ(int32_t(errors.GetFileError(1)->GetOSError()), -43);
    EXPECT_EQ(errors.GetFileError(1)->GetVError(), uint32_t(kFileErrMissing));
}

TEST(Files, FinderInformationTravelsWithTheFile)
{
    TempFolder dir;
    VFolder folder(ColonOf(dir.path() + "/"));
    {
        VFile file(folder, Text("notes"), FourCC("TEXT"), FourCC("ttxt"));
        ASSERT_EQ(file.Create(false), 0);
        ASSERT_EQ(file.PutData("0123456789", 10), 0);
        ASSERT_EQ(file.Close(), 0);
        ASSERT_EQ(file.Open(kAccessReadWrite, true), 0);
        char fork[20] = {};
        ASSERT_EQ(file.PutData(fork, 20), 0);
        ASSERT_EQ(file.GetSize(kDataFork), 20u);  // the open fork's length
        ASSERT_EQ(file.Close(), 0);
    }
    VFile again(folder, Text("notes"));
    EXPECT_EQ(again.GetKind(), FourCC("TEXT"));
    EXPECT_EQ(again.GetCreator(), FourCC("ttxt"));
    EXPECT_EQ(again.GetSize(kBothForks), 30u);
    EXPECT_EQ(again.GetSize(kResourceFork), 20u);

    ASSERT_EQ(again.Rename(Text("Grüße ☃")), 0);
    EXPECT_FALSE(Exists(platform::SidecarPath(dir / "notes")));
    EXPECT_TRUE(Exists(platform::SidecarPath(dir / "Grüße ☃")));
    VFile renamed(folder, Text("Grüße ☃"));
    EXPECT_EQ(renamed.GetKind(), FourCC("TEXT"));
    EXPECT_EQ(ToUtf8(renamed.GetPath()), ToUtf8(again.GetPath()));

    ASSERT_EQ(renamed.Delete(), 0);
    EXPECT_FALSE(Exists(dir / "Grüße ☃"));
    EXPECT_FALSE(Exists(platform::SidecarPath(dir / "Grüße ☃")));
    // The deleted file keeps its place and can be made again.
    ASSERT_EQ(renamed.Create(false), 0);
    renamed.Close();
    EXPECT_TRUE(Exists(dir / "Grüße ☃"));
}

TEST(Files, TemplateKindsAreStationeryThroughTheKindHooks)
{
    FileKindHooks hooks;
    hooks.isTemplateFileKind = [](uint32_t kind) { return kind == FourCC("TMPL"); };
    hooks.virtualKindFromMacKind = [](uint32_t type, bool stationery, const VString&) {
        return stationery ? FourCC("TMPL") : type;
    };
    SetFileKindHooks(hooks);
    TempFolder dir;
    VFile file(ColonOf(dir / "form"), FourCC("TMPL"), FourCC("Qzzz"));
    ASSERT_EQ(file.Create(false), 0);
    file.Close();
    EXPECT_TRUE(file.IsTemplate());
    VFile again(ColonOf(dir / "form"));
    EXPECT_EQ(again.GetKind(), FourCC("TMPL"));

    // A template stored under a plain type is told apart by its stationery
    // flag alone.
    hooks.macKindFromVirtualKind = [](uint32_t kind) { return kind == FourCC("TMPL") ? FourCC("TEXT") : kind; };
    SetFileKindHooks(hooks);
    VFile plainType(ColonOf(dir / "form2"), FourCC("TMPL"), FourCC("Qzzz"));
    ASSERT_EQ(plainType.Create(false), 0);
    plainType.Close();
    VFile reread(ColonOf(dir / "form2"));
    EXPECT_EQ(reread.GetKind(), FourCC("TMPL"));
    ResetFileKindHooks();
}

TEST(Files, PermissionsAndLinks)
{
    TempFolder dir;
    WriteText(dir / "target", "t");
    ::chmod((dir / "target").c_str(), 0444);
    VFile file(ColonOf(dir / "target"), 1);
    EXPECT_FALSE(file.IsWritableByAll());
    ::chmod((dir / "target").c_str(), 0644);
    EXPECT_FALSE(file.IsWritableByAll()) << "writable by its owner only";
    ::chmod((dir / "target").c_str(), 0444);
    ASSERT_EQ(file.MakeWritableByAll(), 0);
    struct stat st {};
    ::stat((dir / "target").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0666u);  // added to what was there
    EXPECT_TRUE(file.IsWritableByAll());

    // A file that is not there has no permissions to read or change.
    VFile missing(ColonOf(dir / "none"), 1);
    EXPECT_FALSE(missing.IsWritableByAll());
    EXPECT_EQ(missing.SetPermissions(0644), kFileErrMissing);
    EXPECT_NE(missing.MakeWritableByAll(), 0);
    EXPECT_FALSE(Exists(dir / "none"));
    // Folders alike: writable by their owner only is not writable by all.
    ::mkdir((dir / "shared").c_str(), 0700);
    ::chmod((dir / "shared").c_str(), 0755);
    VFolder shared(ColonOf(dir / "shared/"));
    EXPECT_FALSE(shared.IsWritableByAll());
    ASSERT_EQ(shared.MakeWritableByAll(), 0);
    EXPECT_TRUE(shared.IsWritableByAll());

    ::symlink((dir / "target").c_str(), (dir / "link").c_str());
    ::symlink((dir / "gone").c_str(), (dir / "broken").c_str());
    ::mkdir((dir / "sub").c_str(), 0777);
    ::symlink((dir / "sub").c_str(), (dir / "sublink").c_str());
    VFile link(ColonOf(dir / "link"), 1);
    EXPECT_TRUE(link.IsAliasFile());
    EXPECT_FALSE(file.IsAliasFile());
    std::unique_ptr<VPath> target(link.ResolveAlias());
    ASSERT_TRUE(target);
    EXPECT_FALSE(target->IsAFolder());
    EXPECT_EQ(ToUtf8(target->GetPath()), ToUtf8(ColonOf(dir / "target")));
    VFile broken(ColonOf(dir / "broken"), 1);
    EXPECT_TRUE(broken.Exists());
    EXPECT_EQ(broken.ResolveAlias(), nullptr);
    // A link that leads back to itself cannot be followed: it stands for itself.
    ::symlink((dir / "loop").c_str(), (dir / "loop").c_str());
    VFile loop(ColonOf(dir / "loop"), 1);
    std::unique_ptr<VPath> itself(loop.ResolveAlias());
    ASSERT_TRUE(itself);
    EXPECT_EQ(ToUtf8(itself->GetPath()), ToUtf8(ColonOf(dir / "loop")));
    VFile toFolder(ColonOf(dir / "sublink"), 1);
    std::unique_ptr<VPath> folder(toFolder.ResolveAlias());
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->IsAFolder());
    // Deleting a link removes the link only.
    EXPECT_EQ(toFolder.Delete(), 0);
    EXPECT_TRUE(Exists(dir / "sub"));
    EXPECT_EQ(broken.Delete(), 0);

    // A folder destroyed (a link to one, or a real one) knows it is gone.
    ::symlink((dir / "sub").c_str(), (dir / "sublink").c_str());
    VFolder viaLink(ColonOf(dir / "sublink/"));
    ASSERT_TRUE(viaLink.Exists());
    EXPECT_EQ(viaLink.Destroy(false), 0);
    EXPECT_FALSE(viaLink.Exists());
    EXPECT_TRUE(Exists(dir / "sub"));
    VFolder real(ColonOf(dir / "sub/"));
    ASSERT_TRUE(real.Exists());
    EXPECT_EQ(real.Destroy(false), 0);
    EXPECT_FALSE(real.Exists());
    EXPECT_FALSE(Exists(dir / "sub"));
}

// Before any layer installs its kind functions, kinds are taken as they
// are and no platform kind is known.
TEST(Files, KindsWithoutHooksKeepTheirDefaults)
{
    ResetFileKindHooks();
    EXPECT_EQ(MacKindFromVirtualKind(FourCC("TEXT")), FourCC("TEXT"));
    EXPECT_FALSE(IsTemplateFileKind(5));
    EXPECT_TRUE(IsValidFileKind(5));
    EXPECT_FALSE(IsValidFileKind(0));
    EXPECT_EQ(WinKindFromVirtualKind(5), 0u);
    EXPECT_EQ(WinKindFromExtension(reinterpret_cast<const uint8_t*>("\x04.txt")), 0u);
}

TEST(Files, SystemServicesAnswerWithoutTheSystemTables)
{
    ASSERT_EQ(gSystem, nullptr);
    InstallSystemFileServices();
    EXPECT_EQ(MacKindFromVirtualKind(FourCC("TEXT")), FourCC("TEXT"));
    EXPECT_TRUE(IsValidFileKind(5));
    EXPECT_FALSE(IsValidFileKind(0));
    EXPECT_FALSE(IsTemplateFileKind(5));
    EXPECT_EQ(WinKindFromVirtualKind(5), 0u);
    EXPECT_EQ(WinKindFromExtension(nullptr), 0u);
    EXPECT_NE(WinKindFromExtension(reinterpret_cast<const uint8_t*>("\x04.txt")), 0u);
    std::unique_ptr<VFile> app(VSystem::GetAppFile());
    ASSERT_NE(app, nullptr);
    EXPECT_NE(ToUtf8(app->GetPath()).find("toolbox_files_tests"), std::string::npos);
    ResetFileKindHooks();
    SetSystemFileServices({});
}

// A file object off the disk keeps the place where it would be; one with no
// such place answers no name and no path.
TEST(Files, FileObjectsOffTheDiskKeepTheirPlace)
{
    TempFolder dir;
    VFolder folder(ColonOf(dir.path() + "/"));
    VText name;

    VFileObject_Mac later;
    EXPECT_EQ(later.Init(folder, Text("later.txt")), MapFileError(platform::fnfErr));
    EXPECT_FALSE(later.IsOnDisk());
    ASSERT_EQ(later.GetName(name), 0);
    EXPECT_EQ(ToUtf8(name), "later.txt");
    EXPECT_EQ(later.Init(later), 0);  // onto itself: nothing lost
    ASSERT_EQ(later.GetName(name), 0);
    EXPECT_EQ(ToUtf8(name), "later.txt");

    VFileObject_Mac badName;
    EXPECT_EQ(badName.Init(folder, Text(std::string(300, 'n'))), MapFileError(platform::bdNamErr));
    EXPECT_FALSE(badName.IsOnDisk());

    VFileObject_Mac nowhere;
    EXPECT_EQ(nowhere.Init(platform::FSSpec{dir / "no/such/file"}), 0);
    EXPECT_FALSE(nowhere.IsOnDisk());
    EXPECT_EQ(nowhere.GetName(name), kFileErrMissing);
    VText path;
    path.SetNull(true);
    ASSERT_TRUE(VFileObject_Mac::FSRefToHFSPath(platform::FSRef{dir.path()}, path));
    EXPECT_FALSE(path.IsNull());
    EXPECT_EQ(ToUtf8(path), ToUtf8(ColonOf(dir.path() + "/")));
    path.SetNull(true);
    EXPECT_FALSE(VFileObject_Mac::FSRefToHFSPath(platform::FSRef{}, path));
    EXPECT_FALSE(path.IsNull()) << "no path is an empty value";
    EXPECT_FALSE(nowhere.GetUnixPath(path));
    EXPECT_EQ(path.GetLength(), 0);
    EXPECT_EQ(nowhere._Delete(), MapFileError(platform::fnfErr));

    // A deleted file is where it was, ready to be made again.
    WriteText(dir / "gone", "x");
    VFileObject_Mac gone;
    gone.Init(platform::FSSpec{dir / "gone"});
    ASSERT_TRUE(gone.IsOnDisk());
    EXPECT_EQ(gone._Delete(), 0);
    EXPECT_FALSE(Exists(dir / "gone"));
    EXPECT_FALSE(gone.IsOnDisk());
    ASSERT_EQ(gone.GetName(name), 0);
    EXPECT_EQ(ToUtf8(name), "gone");
    EXPECT_EQ(gone._Delete(), MapFileError(platform::fnfErr));

    // A renamed file object follows its file.
    WriteText(dir / "old", "x");
    VFileObject_Mac renamed;
    renamed.Init(platform::FSSpec{dir / "old"});
    ASSERT_EQ(renamed._Rename(Text("new")), 0);
    EXPECT_TRUE(renamed.IsOnDisk());
    ASSERT_EQ(renamed.GetName(name), 0);
    EXPECT_EQ(ToUtf8(name), "new");
    ASSERT_TRUE(renamed.GetUnixPath(path));
    EXPECT_EQ(ToUtf8(path), dir / "new");
}

// A fork whose bytes reach the disk only when it is flushed or closed: a
// full disk then is the close's error, never a silent loss, and the file is
// closed whichever way it ends.
TEST(Files, ADiskFullAtCloseIsTheClosesError)
{
    TempFolder dir;
    // Failures injected from the flush on (-1: every one), and the close's answer.
    const std::pair<int32_t, int16_t> cases[] = {{0, 0}, {1, kFileErrDiskFull}, {-1, kFileErrCloseFailed}};
    for (const auto& [failures, expected] : cases) {
        SCOPED_TRACE(failures);
        VFile file(ColonOf(dir / "f"), FourCC("TEXT"), FourCC("ttxt"));
        if (!file.Exists()) {
            ASSERT_EQ(file.Create(false), 0);
            file.Close();
        }
        ASSERT_EQ(file.Open(kAccessReadWrite, true), 0);
        ASSERT_EQ(file.PutData("fork", 4), 0);
        {
            platform::ScopedFault full(platform::FaultKind::DiskFull, 0, failures);
            EXPECT_EQ(file.Close(), expected);
        }
        EXPECT_EQ(file.GetStatus(), kPathExists);
        EXPECT_EQ(file.Close(true), kFileErrNotOpen);
    }
}
