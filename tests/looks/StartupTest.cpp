#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/hostentry/HostEntry.h"
#include "kernel/numtext/NumTextGlobals.h"
#include "kernel/startup/KernelGlobals.h"
#include "kernel/startup/StartupServices.h"
#include "kernel/startup/XmlPlatform.h"
#include "kernel/tasks/TaskRecords.h"
#include "looks/AppResources.h"
#include "looks/Startup.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/drawing/VClipScrap.h"
#include "toolbox/drawing/VDesignResFile.h"
#include "toolbox/drawing/VMacResFile.h"
#include "toolbox/files/VFile.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"
#include "toolbox/foundation/intl/VKeyboardSettings.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/TextEditors.h"
#include "toolbox/views/VCursor.h"
#include "toolbox/views/VDialQz.h"
#include "tests/ScopedEnvironment.h"
#include "tests/platform/files/TempFolder.h"

using platform::FourCC;
using platform::testing::TempFolder;

namespace {

// The whole start-up, headless, in the order of the program, against the
// shipped resources in the build tree: the resource file is found in the
// program's folder.
TEST(Startup, RunsInOrderAgainstTheShippedResources)
{
    setenv("QZ_EXTENSIONS_DIR", QZ_EXTENSIONS, 1);
    const qztest::ScopedEnvironment program("QZ_APPLICATION_DIR", std::filesystem::path(QZ_APP_RESOURCES).parent_path());
    EXPECT_EQ(std::filesystem::path(ApplicationResourcesPath()), std::filesystem::path(QZ_APP_RESOURCES));

    ASSERT_EQ(StartQz(), 0) << StartQzMessage();
    const int16_t ref = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(ref, 0) << "already open: its reference number again";

    // The toolbox.
    EXPECT_EQ(gCallQz, entreeexterne);
    EXPECT_NE(gDefaultIntl, nullptr);
    ASSERT_NE(gSystem, nullptr);
    EXPECT_TRUE(gSystem->IsValidFileKind(kAnyFileKind));
    EXPECT_TRUE(gSystem->IsValidFileKind(FourCC("HTML")));
    EXPECT_EQ(gSystem->GetTimeSeparator(), u':');
    auto* resFile = dynamic_cast<VMacResFile*>(gResFile);
    ASSERT_NE(resFile, nullptr);
    EXPECT_EQ(resFile->GetRefNum(), ref);
    EXPECT_TRUE(resFile->GetSearchChain());
    ASSERT_NE(gEngine, nullptr);
    ASSERT_NE(gEngine->GetDesignResFile(), nullptr);
    EXPECT_FALSE(gEngine->GetDesignResFile()->IsValid()) << "this host names no design file";
    ASSERT_NE(VIntlManagerRoot::sIntlManagerRoot, nullptr);
    EXPECT_EQ(VIntlManagerRoot::sIntlManagerRoot->GetKeyboardManager().GetSettings()->fEntries.GetCount(), 105);
    VStr<15> yes;
    gSystem->GetBoolString(yes, true);
    EXPECT_GT(yes.GetLength(), 0) << "read through gResFile";
    VFile* app = VSystem::GetAppFile();
    ASSERT_NE(app, nullptr) << "the files layer answers for the system object";
    delete app;
    // The views layer's steps.
    EXPECT_NE(gCursor, nullptr);
    ASSERT_NE(gScrap, nullptr);
    EXPECT_EQ(gScrap->CountKinds(), 2);
    EXPECT_EQ(gScrap->GetKind(1), FourCC("TEXT"));
    EXPECT_EQ(gScrap->GetKind(2), FourCC("PICT"));
    EXPECT_NE(gSystem->GetTextServicesDoc(), nullptr);
    ASSERT_NE(gVDialQzList, nullptr);
    EXPECT_EQ(gVDialQzList->GetCount(), 0);
    EXPECT_NE(VFrameTextEdit::GetDrawTextBox(false), nullptr);
    EXPECT_NE(VFrameTextEdit::GetDrawTextBox(true), nullptr);
    EXPECT_EQ(QT_GetVersion(), platform::kGestaltMovieVersion);
    EXPECT_TRUE(VMlteTextEditor::IsStarted());

    // The kernel.
    EXPECT_TRUE(IsXmlPlatformReady());
    EXPECT_NE(triangleleft, nullptr);
    EXPECT_NE(triangleup, nullptr);
    ASSERT_NE(gRollBackArrayFile, nullptr);
    EXPECT_EQ(gRollBackArrayFile->GetCount(), 0);
    EXPECT_EQ(scriptmanager, 0) << "a Roman-only system without a 'Scrp' override";
    EXPECT_EQ(undefint, 32767);
    EXPECT_EQ(undeflong, 2147483647);
    EXPECT_DOUBLE_EQ(epsilon, 1e-6);
    EXPECT_EQ(createur, FourCC("Qz+6"));
    EXPECT_EQ(applres, ref);
    EXPECT_EQ(gSystem->GetWinKindFromVirtualKind(FourCC("BASA")), FourCC("REA ") & 0xFFFFFF00u)
        << "the program's document kind";
    ASSERT_NE(curtu, nullptr);
    EXPECT_EQ(curtu->tasknum, 1);
    platform::Str255 taskName;
    platform::GetIndString(taskName, 1007, 9);
    ASSERT_GT(taskName[0], 0) << "the shipped name of the main task";
    EXPECT_EQ(std::memcmp(curtu->name, taskName, size_t(taskName[0]) + 1), 0) << "named from the task names' item 9";
    EXPECT_EQ(DefaultCentury, 19);
    EXPECT_EQ(PivotYear, 80);
    EXPECT_EQ(myfont, 0);
    EXPECT_EQ(mybigsize, 12);
    EXPECT_EQ(mysmalsize, 9);
    ASSERT_NE(cust, nullptr);
    EXPECT_GE(platform::GetHandleSize(cust), kCustSize);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(macQzXFolder + 1), macQzXFolder[0]), "MacQzX");
    // The shipped layout's zero digit words leave the plain digits.
    EXPECT_EQ(digit1, '0');
    EXPECT_EQ(digit2, '0');
    EXPECT_EQ(digit3, '0');
    EXPECT_EQ(DigitValue('7'), 7);
    EXPECT_EQ(DigitValue(3), -1);
}

// A short 'INTQ' 0 is padded with zeros and the interface fonts take their
// defaults where the words are out of range.
TEST(Startup, AShortLayoutIsPaddedAndDefaulted)
{
    TempFolder dir;
    const std::string path = dir / "intq.rsrc";
    platform::ResourceFileImage image;
    platform::ResourceImage intq;
    intq.type = FourCC("INTQ");
    intq.id = 0;
    intq.data.assign(10, 0);
    image.resources.push_back(intq);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
    ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
    const int16_t ref = platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(ref, 0);

    LoadLayout();
    ASSERT_NE(layo, nullptr);
    EXPECT_EQ(platform::GetHandleSize(layo), 34);
    EXPECT_EQ(myfont, 0);
    EXPECT_EQ(mybigsize, 12);
    EXPECT_EQ(mysmalsize, 9);
    EXPECT_EQ(mymessfont, 0);
    EXPECT_EQ(mymesssize, 9);
    const auto* words = reinterpret_cast<const uint8_t*>(*layo);
    EXPECT_EQ(words[33], 0) << "the padding is zero";
    EXPECT_EQ(digit1, '0') << "a missing digit word keeps the plain digits";

    platform::CloseResFile(ref);
}

// Words 14-16 of the layout give the zero characters of the digit sets,
// from their low bytes.
TEST(Startup, LayoutDigitWordsGiveTheirLowBytes)
{
    TempFolder dir;
    const std::string path = dir / "intq.rsrc";
    platform::ResourceFileImage image;
    platform::ResourceImage intq;
    intq.type = FourCC("INTQ");
    intq.id = 0;
    intq.data.assign(34, 0);
    intq.data[29] = 0xA0;                     // word 14: 0x00A0
    intq.data[30] = 0x82, intq.data[31] = 0x4F;  // word 15: 0x824F
    image.resources.push_back(intq);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
    ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
    const int16_t ref = platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(ref, 0);

    ResetNumTextGlobals();
    LoadLayout();
    EXPECT_EQ(digit1, 0xA0);
    EXPECT_EQ(digit2, 0x4F);
    EXPECT_EQ(digit3, '0');

    platform::CloseResFile(ref);
    ResetNumTextGlobals();
}

TEST(Startup, AMissingResourceFileStopsWithAMessage)
{
    TempFolder dir;
    const std::string empty = dir.path();
    const qztest::ScopedEnvironment program("QZ_APPLICATION_DIR", empty);
    EXPECT_EQ(OpenApplicationResources(), -1);
    EXPECT_NE(StartQz(), 0);
    EXPECT_NE(std::string(StartQzMessage()).find("\"" + empty + "/Qz Resources.rsrc\""), std::string::npos)
        << "the path looked at: " << StartQzMessage();
}

}  // namespace
