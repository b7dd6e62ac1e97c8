// Start-up services of the views layer: the movie version, the picture
// import behind the drawing layer's hook, the multilingual editor's single
// start, the inline-input routines and the text-services document.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PngExport.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/pictures/Pictures.h"
#include "platform/textedit/MultilingualText.h"
#include "platform/textedit/TextServices.h"
#include "tests/platform/files/TempFolder.h"
#include "toolbox/drawing/PictureImportHooks.h"
#include "toolbox/files/VFile.h"
#include "toolbox/views/PictureImport.h"
#include "toolbox/views/TextEditors.h"
#include "toolbox/views/VTSMTEDoc.h"

namespace {

std::string WritePng(const std::string& path, int16_t width, int16_t height)
{
    platform::GWorldPtr world = nullptr;
    const platform::Rect bounds{0, 0, height, width};
    EXPECT_EQ(platform::NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), platform::noErr);
    EXPECT_EQ(platform::WritePortPNG(world, path.c_str()), platform::noErr);
    platform::DisposeGWorld(world);
    return path;
}

VFile FileAt(const std::string& path)
{
    platform::FSSpec fileSpec;
    EXPECT_EQ(platform::FSMakeFSSpec(path, &fileSpec), platform::noErr);
    return VFile(fileSpec);
}

TEST(PictureImport, StartUpHookReadsPicturesAndReportsDamageAndMemory)
{
    platform::testing::TempFolder folder;
    const std::string png = WritePng(folder.path() + "/three.png", 3, 2);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::ReadWholeFile(png, &bytes), platform::noErr);
    const std::string cut = folder.path() + "/cut.png";
    std::ofstream(cut, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 40);
    const std::string other = folder.path() + "/notes.txt";
    std::ofstream(other) << "no picture";

    InstallPictureImport();
    VFile pngFile = FileAt(png), cutFile = FileAt(cut), otherFile = FileAt(other);
    VError err = -1;
    platform::Handle picture = QT_MacPictureFromFile(pngFile, &err);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(err, 0);
    platform::Rect frame{};
    platform::QDGetPictureBounds(picture, &frame);
    EXPECT_EQ(frame.right - frame.left, 3);
    EXPECT_EQ(frame.bottom - frame.top, 2);
    platform::KillPicture(picture);
    EXPECT_NE(QT_MacPictureFromFile(pngFile, nullptr), nullptr) << "the error is optional";

    err = -1;
    EXPECT_EQ(QT_MacPictureFromFile(cutFile, &err), nullptr);
    EXPECT_EQ(err, 600) << "a truncated file is damage";
    err = -1;
    EXPECT_EQ(QT_MacPictureFromFile(otherFile, &err), nullptr);
    EXPECT_EQ(err, 600) << "no importer knows the file";
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        err = -1;
        EXPECT_EQ(QT_MacPictureFromFile(pngFile, &err), nullptr);
        EXPECT_EQ(err, 100) << "memory running out is told apart";
    }
    ResetPictureImportHooks();
}

TEST(ViewsStartup, MovieVersionAndTheMultilingualEditorStartOnce)
{
    QT_Init();
    EXPECT_EQ(QT_GetVersion(), platform::kGestaltMovieVersion);
    platform::OverrideGestalt(platform::FourCC("qtim"), 0x07000000);
    QT_Init();
    EXPECT_EQ(QT_GetVersion(), 0x07000000);
    platform::ClearGestaltOverrides();

    // An old system has no multilingual editor: nothing is started.
    platform::ResetMultilingualText();
    VMlteTextEditor::ResetForTesting();
    platform::OverrideGestalt(platform::FourCC("sysv"), 0x08FF);
    EXPECT_FALSE(VMlteTextEditor::IsAvailable());
    platform::ClearGestaltOverrides();
    EXPECT_FALSE(VMlteTextEditor::IsAvailable()) << "the answer is remembered";
    VMlteTextEditor::Init();
    EXPECT_FALSE(VMlteTextEditor::IsStarted());

    VMlteTextEditor::ResetForTesting();
    EXPECT_TRUE(VMlteTextEditor::IsAvailable());
    InitTextEditors();
    EXPECT_TRUE(VMlteTextEditor::IsStarted());
    // The engine was started once, with the default description.
    EXPECT_EQ(platform::TXNInitTextension(nullptr, 0, 0), platform::kTXNAlreadyInitializedErr);
    InitTextEditors();
    EXPECT_TRUE(VMlteTextEditor::IsStarted());
    platform::ResetMultilingualText();
    VMlteTextEditor::ResetForTesting();
}

struct Zone : VTeTextEditor::VTeTextZone {
    std::string log;
    void BeginInlineUpdate() override { log += "begin "; }
    void EndInlineUpdate() override { log += "end "; }
    void RefreshOwner() override { log += "refresh"; }
};

TEST(ViewsStartup, InlineInputRoutinesNotifyZonesAndMarkFramesChanged)
{
    InitTextEditors();
    Zone zone;
    ASSERT_NE(VTeTextEditor::GetPreUpdateProc(), nullptr);
    VTeTextEditor::GetPreUpdateProc()(&zone);
    VTeTextEditor::GetPostUpdateProc()(&zone);
    EXPECT_EQ(zone.log, "begin end refresh");
    VTeTextEditor::GetPreUpdateProc()(nullptr);  // a record without a zone
    VTeTextEditor::GetPostUpdateProc()(nullptr);

    VEditFrame frame;
    VEditFrame::GetPreUpdateProc()(&frame);
    EXPECT_FALSE(frame.IsChanged());
    VEditFrame::GetPostUpdateProc()(&frame);
    EXPECT_TRUE(frame.IsChanged());
    VEditFrame::GetPostUpdateProc()(nullptr);
}

TEST(ViewsStartup, TextServicesDocumentIsUnicodeAndReleasedWithItsObject)
{
    const int32_t before = platform::TSMCountDocuments();
    {
        VTSMTEDoc doc(1);
        ASSERT_NE(doc.GetDocID(), nullptr);
        EXPECT_EQ(platform::TSMGetDocumentRefcon(doc.GetDocID()), &doc);
        EXPECT_EQ(platform::TSMCountDocuments(), before + 1);
        VTSMTEDoc::sCurrentTSMDoc = &doc;
    }
    EXPECT_EQ(VTSMTEDoc::sCurrentTSMDoc, nullptr) << "the current document is forgotten with it";
    EXPECT_EQ(platform::TSMCountDocuments(), before);

    VTSMTEDoc other(0);
    VTSMTEDoc::sCurrentTSMDoc = &other;
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        VTSMTEDoc failed(0);
        EXPECT_EQ(failed.GetDocID(), nullptr) << "a failed document leaves its id null";
    }
    EXPECT_EQ(VTSMTEDoc::sCurrentTSMDoc, &other) << "another's end leaves the current one";
    VTSMTEDoc::sCurrentTSMDoc = nullptr;
}

}  // namespace
