// The open-file dialog: the options it is made with, which files each
// popup entry offers, the extra buttons, the files it answers, and the
// archive reader's question for a missing part. Scripts answer the dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "kernel/hostentry/HostEntry.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/events/InputState.h"
#include "platform/filedialogs/NavDialogModel.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/controls/ControlFixture.h"
#include "tests/platform/filedialogs/NavTestSupport.h"
#include "toolbox/files/FileKindHooks.h"
#include "toolbox/files/KindResource.h"
#include "toolbox/files/PartDialogHooks.h"
#include "toolbox/files/SystemFileServices.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileDialogFilter.h"
#include "toolbox/files/VFileDlg.h"
#include "toolbox/files/VFolder.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/system/ToolboxResources.h"
#include "toolbox/foundation/system/VSystem.h"
#include "tests/toolbox/files/FileTestSupport.h"

namespace {

using namespace platform;
namespace fs = std::filesystem;
using files_testing::ColonOf;
using files_testing::Text;

constexpr uint32_t kQzText = 0x51545854;  // 'QTXT': the toolbox kind of 'TEXT' files

uint32_t Code(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    return (uint32_t(a) << 24) | (uint32_t(b) << 16) | (uint32_t(c) << 8) | d;
}

VArrayLong Kinds(std::initializer_list<uint32_t> kinds)
{
    VArrayLong array(int32_t(kinds.size()));
    int32_t i = 1;
    for (uint32_t k : kinds) array.FromLong(int32_t(k), i++);
    return array;
}

void SetType(const std::string& path, uint32_t type)
{
    FInfo info;
    FSpGetFInfo(FSSpec{path}, &info);
    info.fdType = type;
    info.fdCreator = FourCC("QzTs");
    ASSERT_EQ(FSpSetFInfo(FSSpec{path}, info), noErr);
}

bool ReadPkgInfo(const FSRef* bundle, OSType* type, OSType* creator)
{
    std::ifstream in(bundle->path + "/Contents/PkgInfo", std::ios::binary);
    char b[8];
    if (!in.read(b, 8)) return false;
    auto code = [](const char* p) {
        return (uint32_t(uint8_t(p[0])) << 24) | (uint32_t(uint8_t(p[1])) << 16) | (uint32_t(uint8_t(p[2])) << 8) |
               uint8_t(p[3]);
    };
    *type = code(b);
    *creator = code(b + 4);
    return true;
}

void ShortStackHost(int16_t selector, parm* block)
{
    if (selector == kSelFreeStack) block->slot276.SetLong(11999);
}

// A folder of files of several kinds, a system object that knows the kinds,
// the kernel's host entry and the toolbox's file services.
class FileDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = folder.Path();
        fs::create_directories(root + "/Pkg.app/Contents");
        std::ofstream(root + "/Pkg.app/Contents/PkgInfo") << "APPLQzPk";
        std::ofstream(root + "/c.pic") << "picture";
        std::ofstream(root + "/d.zzz") << "unknown";
        SetType(root + "/c.pic", FourCC("PICT"));
        SetType(root + "/b.txt", FourCC("TEXT"));
        system.BuildKindList();  // the row of '????'
        system.AddFileKind(kQzText, FourCC(".TXT"), FourCC("TEXT"));
        system.AddFileKind(FourCC("BAS5"), FourCC(".QZB"), FourCC("BAS5"));
        system.AddFileKind(FourCC("PICT"), 0, FourCC("PICT"));
        savedSystem = gSystem;
        gSystem = &system;
        savedHost = gCallQz;
        gCallQz = entreeexterne;
        InstallSystemFileServices();
        FileDialogHooks hooks;
        hooks.getBundleInfo = ReadPkgInfo;
        SetFileDialogHooks(hooks);
    }
    void TearDown() override
    {
        SetFileDialogHooks({});
        ResetPartDialogHooks();
        ResetFileKindHooks();
        SetSystemFileServices({});
        gCallQz = savedHost;
        gSystem = savedSystem;
        ClearFileDialogAnswers();
    }
    std::string Path(const std::string& name) const { return root + "/" + name; }

    // Runs the dialog answered by the script's lines; the chosen file's path.
    std::string Run(VFileDialogFilter& filter, std::initializer_list<const char*> answers,
                    VArrayListPtrOf<VFile*>* files = nullptr)
    {
        for (const char* a : answers) {
            FileDialogAnswer answer;
            EXPECT_TRUE(ParseFileDialogAnswer(a, &answer)) << a;
            PushFileDialogAnswer(answer);
        }
        std::unique_ptr<VFile> file(MAC_RunGetFileDialog(&filter, files));
        ClearFileDialogAnswers();
        if (!file) return "(none)";
        VText path;
        file->GetUnixPath(path);
        lastKind = file->GetKind();
        lastCreator = file->GetCreator();
        return ToUtf8(path);
    }

    navtest::Folder folder;  // "a.QzB" ('BAS5'), "b.txt", ".hidden", "Sub/c.QzB"
    std::string root;
    VSystem system;
    VSystem* savedSystem = nullptr;
    HostEntryProc savedHost = nullptr;
    uint32_t lastKind = 0, lastCreator = 0;
};

TEST_F(FileDialog, OneFilterOfKindsOffersEveryFileWithoutAPopup)
{
    VFileDialogFilter filter;
    filter.AddFileFilter(new VFileFilter(Text("Bases"), FourCC("BAS5"), 0));
    VNavReplyInfo info;
    info.filter = &filter;
    NavDialogCreationOptions options;
    bool objectFilter = true;
    ASSERT_EQ(xMAC_NavDialogOptionFromReplyInfo(info, &options, &objectFilter), noErr);
    EXPECT_TRUE(options.optionFlags & kNavNoTypePopup);
    EXPECT_FALSE(objectFilter);
    EXPECT_TRUE(options.popupExtension.empty());
    // No object filter: a text file is offered too.
    EXPECT_EQ(Run(filter, {Path("b.txt").c_str()}), Path("b.txt"));
    EXPECT_EQ(lastKind, kQzText) << "the kind is read from the disk";

    // Asked to show the popup even for one filter, the bit is cleared.
    filter.fHideTypePopupForOneFilter = false;
    ASSERT_EQ(xMAC_NavDialogOptionFromReplyInfo(info, &options, &objectFilter), noErr);
    EXPECT_FALSE(options.optionFlags & kNavNoTypePopup);
}

TEST_F(FileDialog, TwoFiltersListTheirNamesAndEachEntryOffersItsOwnKinds)
{
    VFileDialogFilter filter;
    filter.AddFileFilter(new VFileFilter(Text("Bases"), FourCC("BAS5"), 0));
    filter.AddFileFilter(new VFileFilter(Text("T"), kQzText, 0));  // a name of one letter
    filter.SetInitialFilter(2);
    VNavReplyInfo info;
    info.filter = &filter;
    info.location.descriptorType = typeNull;
    NavDialogCreationOptions options;
    bool objectFilter = false;
    ASSERT_EQ(xMAC_NavDialogOptionFromReplyInfo(info, &options, &objectFilter), noErr);
    EXPECT_TRUE(objectFilter);
    EXPECT_FALSE(options.optionFlags & kNavNoTypePopup);

    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, xMAC_NavEventFilter, nullptr, xMAC_NavFileFilter, &info, &d),
              noErr);
    NavCallBack(d, kNavCBStart, nullptr);
    EXPECT_EQ(NavPopupEntries(d), (std::vector<std::string>{"Bases", "T"}));
    EXPECT_EQ(d->popupIndex, 1) << "the initial filter is selected";
    // The list follows the selected entry from the start.
    EXPECT_EQ(filter.GetCurrentFilter(), 2);
    EXPECT_TRUE(NavIsShown(d, Path("b.txt")));
    EXPECT_FALSE(NavIsShown(d, Path("a.QzB")));
    EXPECT_TRUE(NavIsShown(d, Path("Sub"))) << "folders are always shown";

    NavChoosePopupEntry(d, 0);
    EXPECT_EQ(filter.GetCurrentFilter(), 1);
    EXPECT_EQ(info.fileType, FourCC("BAS5"));
    EXPECT_TRUE(NavIsShown(d, Path("a.QzB")));
    EXPECT_FALSE(NavIsShown(d, Path("b.txt")));
    EXPECT_FALSE(NavIsShown(d, Path("c.pic")));

    // Index 0: a file passes when any filter accepts it.
    filter.SetCurrentFilter(0);
    EXPECT_TRUE(NavIsShown(d, Path("a.QzB")));
    EXPECT_TRUE(NavIsShown(d, Path("b.txt")));
    EXPECT_FALSE(NavIsShown(d, Path("c.pic")));
    NavDialogDispose(d);

    // The same from a script: entry 1, then a file of each kind.
    EXPECT_EQ(Run(filter, {"popup 1", Path("a.QzB").c_str()}), Path("a.QzB"));
    EXPECT_EQ(filter.GetCurrentFilter(), 1);
    EXPECT_EQ(Run(filter, {"popup 1", Path("b.txt").c_str()}), "(none)") << "hidden by the first filter";
    EXPECT_EQ(Run(filter, {Path("a.QzB").c_str()}), "(none)") << "hidden by the initial second filter";
}

// A filter named by a C string keeps its name; its kinds are numbered from
// 1 and none lies outside 1..count.
TEST_F(FileDialog, FilterNamesAndKindsByNumber)
{
    VFileFilter filter(reinterpret_cast<const uint8_t*>("Texts"), kQzText, 0);
    EXPECT_EQ(ToUtf8(filter.GetName()), "Texts");
    filter.AddFileKind(FourCC("BAS5"), 0);
    ASSERT_EQ(filter.GetKindCount(), 2);
    EXPECT_EQ(filter.GetKind(1), kQzText);
    EXPECT_EQ(filter.GetKind(2), FourCC("BAS5"));
    EXPECT_EQ(filter.GetKind(0), 0u);
    EXPECT_EQ(filter.GetKind(3), 0u);
    EXPECT_EQ(filter.GetCreator(3), 0u);
    filter.AddFileKind(Text("public.text"));
    for (int32_t n = 0; n <= 2; ++n) {
        VText uti = Text("stale");
        filter.GetNthUTIKind(n, uti);
        EXPECT_EQ(ToUtf8(uti), n == 1 ? "public.text" : "") << n;
    }

    // A file on the disk without a type is told by its extension.
    std::ofstream(Path("plain.txt")) << "text";
    VFileFilter texts(reinterpret_cast<const uint8_t*>("Texts"), kQzText, 0);
    EXPECT_TRUE(texts.MAC_FilterFile(platform::FSRef{Path("plain.txt")}, nullptr));
    EXPECT_FALSE(texts.MAC_FilterFile(platform::FSRef{Path("d.zzz")}, nullptr));
    std::ofstream(Path("prog.qzb")) << "program";
    VFileFilter programs(reinterpret_cast<const uint8_t*>("Programs"), FourCC("BAS5"), 0);
    EXPECT_TRUE(programs.MAC_FilterFile(platform::FSRef{Path("prog.qzb")}, nullptr));
    EXPECT_FALSE(programs.MAC_FilterFile(platform::FSRef{Path("plain.txt")}, nullptr));
}

TEST_F(FileDialog, KindListsWithoutTheSystemTablesKeepTheirKinds)
{
    gSystem = nullptr;
    VArrayString names;
    names.AppendVString(new VStr<80>(Text(std::string(70, 'n'))), 0);
    const VArrayLong mac = Kinds({FourCC("ZZZZ")});
    VGetFileDialogFilter filter(mac, names, kKindPlatformMac);
    ASSERT_EQ(filter.GetFileFilterCount(), 1);
    EXPECT_EQ(filter.GetFileFilter(1)->GetKind(1), FourCC("ZZZZ"));
    EXPECT_TRUE(filter.GetTemporaryKinds().empty());
    EXPECT_EQ(filter.GetFileFilter(1)->GetName().GetLength(), 63) << "names are cut to 63 characters";
}

// A kind marked a template in the system's kind table ('FMAP' records:
// kind, platform type, other platform's kind, flags) is one to the files.
TEST_F(FileDialog, TemplateKindsComeFromTheSystemTable)
{
    static Handle fmap = nullptr;
    const uint8_t bytes[] = {0, 1, 'T', 'M', 'P', 'L', 'T', 'M', 'P', 'F', '.', 'Q', 'Z', 'T', 0x80, 0};
    ASSERT_EQ(PtrToHand(bytes, &fmap, Size(sizeof bytes)), noErr);
    ToolboxResources access;
    access.listIDs = [](ResType type) { return type == FourCC("FMAP") ? std::vector<int16_t>{128} : std::vector<int16_t>{}; };
    access.getResource = [](ResType, int16_t) { return fmap; };
    access.releaseResource = [](Handle) {};
    SetToolboxResources(access);
    VSystem withTemplates;
    withTemplates.BuildKindList();
    SetToolboxResources({});
    DisposeHandle(fmap);
    gSystem = &withTemplates;
    EXPECT_TRUE(IsTemplateFileKind(FourCC("TMPL")));
    EXPECT_FALSE(IsTemplateFileKind(FourCC("PICT")));
    EXPECT_EQ(VirtualKindFromMacKind(FourCC("TMPF"), true, Text("form")), FourCC("TMPL"));
}

TEST_F(FileDialog, FilterFaultsStayMendedThroughTheDialog)
{
    // Identifiers only, with no conformance service: every file, not none.
    VFileDialogFilter filter;
    auto* byIdentifier = new VFileFilter();
    byIdentifier->AddFileKind(Text("public.plain-text"));
    filter.AddFileFilter(byIdentifier);
    EXPECT_EQ(Run(filter, {Path("c.pic").c_str()}), Path("c.pic"));

    // A kind and an extension without Windows kinds (both 0) do not match:
    // 'PICT' does not take in an untyped ".zzz" file.
    VFileDialogFilter mapped;
    mapped.fMapEveryExtension = true;
    mapped.AddFileFilter(new VFileFilter(Text("Pictures"), FourCC("PICT"), 0));
    mapped.AddFileFilter(new VFileFilter(Text("Bases"), FourCC("BAS5"), 0));
    EXPECT_EQ(Run(mapped, {"popup 1", Path("d.zzz").c_str()}), "(none)");
    EXPECT_EQ(Run(mapped, {"popup 1", Path("c.pic").c_str()}), Path("c.pic"));
    // '????' lets everything through.
    mapped.AddFileFilter(new VFileFilter(Text("All"), kAnyFileKind, 0));
    EXPECT_EQ(Run(mapped, {"popup 3", Path("d.zzz").c_str()}), Path("d.zzz"));
}

TEST_F(FileDialog, OptionsTextsAndParentReachTheDialog)
{
    VFileDialogFilter filter;
    filter.AddFileFilter(new VFileFilter(Text("Bases"), FourCC("BAS5"), 0));
    VNavReplyInfo info;
    info.filter = &filter;
    NavDialogCreationOptions options;
    auto flags = [&] {
        EXPECT_EQ(xMAC_NavDialogOptionFromReplyInfo(info, &options, nullptr), noErr);
        return options.optionFlags;
    };
    const NavDialogOptionFlags off = flags();
    EXPECT_FALSE(off & (kNavAllowPreviews | kNavDontResolveAliases | kNavAllowOpenPackages | kNavSelectAllReadableItem |
                        kNavAllowMultipleFiles | kNavSupportPackages));
    EXPECT_EQ(off & (kNavDontAddTranslateItems | kNavDontAutoTranslate),
              kNavDontAddTranslateItems | kNavDontAutoTranslate);
    filter.fAllowPreviews = filter.fDontResolveAliases = filter.fAllowOpeningPackages = true;
    filter.fSelectAllReadable = filter.fAllowMultipleFiles = filter.fSupportPackages = true;
    filter.fTranslationAllowed = true;
    const NavDialogOptionFlags on = flags();
    EXPECT_EQ(on & 0x3AC0u, 0x3AC0u);  // 0x40 0x80 0x200 0x800 0x1000 0x2000
    EXPECT_EQ(on & 0x6u, 0u);

    filter.SetMessage(Text("Choose a base"));
    filter.SetTitle(Text("Open"));
    filter.SetPos(30, 40);
    filter.SetPreferenceKey(FourCC("Test"));
    EXPECT_EQ(xMAC_NavDialogOptionFromReplyInfo(info, &options, nullptr), noErr);
    EXPECT_EQ(options.message, "Choose a base");
    EXPECT_EQ(options.windowTitle, "Open");
    EXPECT_EQ(options.location.h, 30);
    EXPECT_EQ(options.location.v, 40);
    EXPECT_EQ(options.preferenceKey, FourCC("Test"));
    EXPECT_EQ(options.modality, kWindowModalityAppModal);
    auto* parent = reinterpret_cast<WindowRecord*>(0x1000);
    filter.SetParentWindow(parent);
    EXPECT_EQ(xMAC_NavDialogOptionFromReplyInfo(info, &options, nullptr), noErr);
    EXPECT_EQ(options.parentWindow, parent);
    EXPECT_EQ(options.modality, kWindowModalityWindowModal);

    // The client name is the program's, from its resource file.
    EXPECT_EQ(options.clientName, "");
    const int16_t app = OpenResFile(QZ_APP_RESOURCES, fsRdPerm, ResFileFork::Data);
    ASSERT_NE(app, -1);
    EXPECT_EQ(xMAC_NavDialogOptionFromReplyInfo(info, &options, nullptr), noErr);
    CloseResFile(app);
    EXPECT_EQ(options.clientName, "Qz Structure Browser");
}

TEST(KindResource, TheClientNameIsTheFirstEntryOnlyWhenItNamesTheProgram)
{
    uint8_t name[256];
    const uint8_t program[] = {'Q', 'z', 'S', 'B', 0, 0, 0, 1, 'a', 'p', 'n', 'm', 2, 'Q', 'z', 0};
    ASSERT_TRUE(ReadKindAppName(program, sizeof program, name));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Qz");
    const uint8_t other[] = {'Q', 'z', 'S', 'B', 0, 0, 0, 1, 'T', 'E', 'X', 'T', 2, 'Q', 'z', 0};
    EXPECT_FALSE(ReadKindAppName(other, sizeof other, name));
    EXPECT_FALSE(ReadKindAppName(program, 14, name)) << "a name cut short";
    const uint8_t none[] = {'Q', 'z', 'S', 'B', 0, 0, 0, 0, 'a', 'p', 'n', 'm', 0};
    EXPECT_FALSE(ReadKindAppName(none, sizeof none, name)) << "no entries";
    const uint8_t unnamed[] = {'Q', 'z', 'S', 'B', 0, 0, 0, 1, 'a', 'p', 'n', 'm', 0};
    ASSERT_TRUE(ReadKindAppName(unnamed, sizeof unnamed, name)) << "an empty name fits exactly";
    EXPECT_EQ(name[0], 0);
    EXPECT_FALSE(ReadKindAppName(unnamed, sizeof unnamed - 1, name)) << "one byte short";
}

TEST_F(FileDialog, FiltersFromKindListsInEachPlatform)
{
    VArrayString names;
    for (const char* n : {"Texts", "Everything", "Others"}) names.AppendVString(new VStr<63>(Text(n)), 0);
    const int32_t count = system.CountKinds();
    uint32_t temporary = 0;
    {
        const VArrayLong mac = Kinds({FourCC("TEXT"), kAnyFileKind, FourCC("ZZZZ")});
        VGetFileDialogFilter filter(mac, names, kKindPlatformMac);
        ASSERT_EQ(filter.GetFileFilterCount(), 3);
        EXPECT_EQ(filter.GetInitialFilter(), 1);
        EXPECT_EQ(ToUtf8(filter.GetFileFilter(1)->GetName()), "Texts");
        EXPECT_EQ(ToUtf8(filter.GetFileFilter(3)->GetName()), "Others");
        EXPECT_EQ(filter.GetFileFilter(1)->GetKind(1), kQzText);
        EXPECT_EQ(filter.GetFileFilter(2)->GetKind(1), kAnyFileKind);
        const uint8_t none[1] = {0};
        EXPECT_TRUE(filter.GetFileFilter(2)->MAC_FilterFile(none, FourCC("PICT"), &filter));
        ASSERT_EQ(filter.GetTemporaryKinds().size(), 1u);
        temporary = filter.GetTemporaryKinds()[0];
        EXPECT_EQ(filter.GetFileFilter(3)->GetKind(1), temporary);
        EXPECT_EQ(system.GetMacKindFromVirtualKind(temporary), FourCC("ZZZZ"));
        EXPECT_EQ(system.CountKinds(), count + 1);
    }
    EXPECT_FALSE(system.IsValidFileKind(temporary)) << "removed with the dialog filter";
    EXPECT_EQ(system.CountKinds(), count);
    {
        const VArrayLong win = Kinds({FourCC(".TXT"), kAnyFileKind, FourCC(".ZZZ")});
        VGetFileDialogFilter filter(win, names, kKindPlatformWindows);
        EXPECT_EQ(filter.GetFileFilter(1)->GetKind(1), kQzText);
        ASSERT_EQ(filter.GetTemporaryKinds().size(), 1u);
        temporary = filter.GetTemporaryKinds()[0];
        EXPECT_EQ(system.GetWinKindFromVirtualKind(temporary), Code('Z', 'Z', 'Z', 0));
        EXPECT_EQ(WinKindFromVirtualKind(temporary), Code('Z', 'Z', 'Z', 0)) << "through the installed services";
    }
    EXPECT_FALSE(system.IsValidFileKind(temporary));
    {
        const VArrayLong toolbox = Kinds({kQzText, kAnyFileKind, FourCC("BAS5")});
        VGetFileDialogFilter filter(toolbox, names, kKindPlatformToolbox);
        EXPECT_EQ(filter.GetFileFilter(3)->GetKind(1), FourCC("BAS5"));
        EXPECT_TRUE(filter.GetTemporaryKinds().empty());
    }
}

TEST_F(FileDialog, AnswersCancelFilesPackagesAndTheStartFolder)
{
    VFileDialogFilter filter;
    filter.AddFileFilter(new VFileFilter(Text("Bases"), FourCC("BAS5"), 0));
    EXPECT_EQ(Run(filter, {"cancel"}), "(none)");
    EXPECT_EQ(Run(filter, {Path("a.QzB").c_str()}), Path("a.QzB"));
    EXPECT_EQ(lastKind, FourCC("BAS5"));

    // Several files: every one goes to the result list, once.
    filter.fAllowMultipleFiles = true;
    VArrayListPtrOf<VFile*> files;
    const std::string both = "files " + Path("a.QzB") + " | " + Path("b.txt");
    EXPECT_EQ(Run(filter, {both.c_str()}, &files), Path("a.QzB"));
    ASSERT_EQ(files.GetCount(), 2);
    VText second;
    files.GetNth(2)->GetUnixPath(second);
    EXPECT_EQ(ToUtf8(second), Path("b.txt"));
    files.Destroy(kListDeleteData);

    // A package folder is one file with the package's type and creator.
    filter.fSupportPackages = true;
    EXPECT_EQ(Run(filter, {Path("Pkg.app").c_str()}), Path("Pkg.app"));
    EXPECT_EQ(lastKind, FourCC("APPL"));
    EXPECT_EQ(lastCreator, FourCC("QzPk"));

    // The start folder: the dialog opens there (and remembers it under the key).
    VFolder start(ColonOf(Path("Sub") + "/"));
    filter.SetStartFolder(&start);
    filter.SetPreferenceKey(FourCC("Strt"));
    EXPECT_EQ(Run(filter, {"cancel"}), "(none)");
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.preferenceKey = FourCC("Strt");
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    EXPECT_EQ(d->folder, Path("Sub"));
    NavDialogDispose(d);

    // Without 12000 bytes of stack no dialog opens: the answer stays queued.
    gCallQz = ShortStackHost;
    PushFileDialogAnswer(Path("a.QzB"));
    std::unique_ptr<VFile> none(MAC_RunGetFileDialog(&filter, nullptr));
    EXPECT_EQ(none, nullptr);
    EXPECT_TRUE(HasFileDialogAnswer());
}

TEST_F(FileDialog, AMissingPartIsAskedForWithEveryFileShown)
{
    PushFileDialogAnswer(Path("c.pic"));
    std::unique_ptr<VFile> chosen(LocateMissingPart(Text("Arch.part002.zip")));
    ASSERT_NE(chosen, nullptr);
    VText path;
    chosen->GetUnixPath(path);
    EXPECT_EQ(ToUtf8(path), Path("c.pic"));
    // A cancelled question is no file; the folder is remembered under 'VSCT'.
    PushFileDialogAnswer(FileDialogAnswer{FileDialogAnswer::Kind::Cancel, {}, 0, {}});
    EXPECT_EQ(std::unique_ptr<VFile>(LocateMissingPart(Text("Arch.part002.zip"))), nullptr);
    NavDialogCreationOptions options;
    NavGetDefaultDialogCreationOptions(&options);
    options.preferenceKey = kPartDialogKey;
    NavDialogRef d = nullptr;
    ASSERT_EQ(NavCreateGetFileDialog(&options, nullptr, nullptr, nullptr, nullptr, nullptr, &d), noErr);
    EXPECT_EQ(d->folder, root);
    NavDialogDispose(d);
}

}  // namespace

// --- On the screen: the extra buttons ------------------------------------

namespace platform::testing {
namespace {

class FileDialogButtons : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        ResetNavPreferences();
        savedHost = gCallQz;
        gCallQz = entreeexterne;
    }
    void TearDown() override
    {
        gCallQz = savedHost;
        ControlTest::TearDown();
    }
    HostEntryProc savedHost = nullptr;
};

TEST_F(FileDialogButtons, ButtonTwoCancelsAndIsReported)
{
    navtest::Folder folder;
    VFileDialogFilter filter;
    filter.AddFileFilter(new VFileFilter(files_testing::Text("Bases"), FourCC("BAS5"), 0));
    filter.SetPos(100, 100);
    const VText first = files_testing::Text("Other file");
    const VText second = files_testing::Text("Skip");
    filter.SetCustomButton(1, &first);
    filter.SetCustomButton(2, &second);

    // The custom area starts 32 below the list (at 274) and 14 from the
    // left; the buttons sit 12 inside it, 12 apart, at their best size.
    Rect one{}, two{}, best{};
    ControlID idOne{}, idTwo{};
    Script script;
    script.Wait(5).Screenshot("probe").Wait(5).AnswerFileDialog("button 2").Wait(5);
    PlayWithProbe(std::move(script), [&](const std::string&) {
        WindowRef w = FrontWindow();
        ControlRef a = nullptr, b = nullptr;
        FindControl(Point{int16_t(274 + 14), int16_t(14 + 14)}, w, &a);
        ASSERT_NE(a, nullptr);
        GetControlBounds(a, &one);
        GetControlID(a, &idOne);
        int16_t baseline = 0;
        GetBestControlRect(a, &best, &baseline);
        FindControl(Point{int16_t(one.top + 2), int16_t(one.right + 12 + 2)}, w, &b);
        ASSERT_NE(b, nullptr);
        GetControlBounds(b, &two);
        GetControlID(b, &idTwo);
        // Pressed on the bare custom area and let go over button 1: no click.
        SetPortWindowPort(w);
        Point bare{int16_t(274 + 6), int16_t(14 + 6)}, over{int16_t(one.top + 2), int16_t(one.left + 2)};
        LocalToGlobal(&bare);
        LocalToGlobal(&over);
        InputMouseMoved(bare);
        InputButton(true, bare, 0);
        InputMouseMoved(over);
        InputButton(false, over, 0);
    });
    std::unique_ptr<VFile> answer(MAC_RunGetFileDialog(&filter, nullptr));
    EXPECT_EQ(answer, nullptr);
    EXPECT_EQ(filter.GetChosenCustomButton(), 2);
    EXPECT_EQ(one.top, 274 + 12);
    EXPECT_EQ(one.left, 14 + 12);
    EXPECT_EQ(one.right - one.left, best.right - best.left);
    EXPECT_EQ(one.bottom - one.top, best.bottom - best.top);
    EXPECT_EQ(two.left, one.right + 12);
    EXPECT_EQ(two.top, one.top);
    EXPECT_EQ(idOne.signature, FourCC("xTbx"));
    EXPECT_EQ(idOne.id, 1);
    EXPECT_EQ(idTwo.id, 2);
    EXPECT_TRUE(run->watchdogMessage.empty()) << run->watchdogMessage;
}

}  // namespace
}  // namespace platform::testing

// Two custom buttons, numbered 1 and 2; other numbers change nothing.
TEST(FileDialogFilterButtons, OnlyButtonsOneAndTwoHoldTitles)
{
    VFileDialogFilter filter;
    VText title = files_testing::Text("kept");
    const VText skip = files_testing::Text("Skip");
    for (int16_t n = 0; n <= 3; ++n) {
        EXPECT_FALSE(filter.GetCustomButton(n, title)) << n;
        filter.SetCustomButton(n, &skip);
        EXPECT_EQ(filter.HasCustomButton(n), n == 1 || n == 2) << n;
    }
    EXPECT_EQ(ToUtf8(title), "kept");
    ASSERT_TRUE(filter.GetCustomButton(2, title));
    EXPECT_EQ(ToUtf8(title), "Skip");
    filter.SetCustomButton(2, nullptr);
    EXPECT_FALSE(filter.HasCustomButton(2));
    EXPECT_TRUE(filter.HasCustomButton(1));
}
