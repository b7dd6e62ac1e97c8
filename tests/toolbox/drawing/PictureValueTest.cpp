#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PngExport.h"
#include "platform/drawing/Ports.h"
#include "platform/files/FileSpec.h"
#include "platform/imports/GraphicsImport.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/toolbox/drawing/PictBuilder.h"
#include "toolbox/drawing/PictureImportHooks.h"
#include "toolbox/drawing/VImageData.h"
#include "toolbox/drawing/VPicture.h"
#include "toolbox/files/VFile.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VHandleStream.h"
#include "toolbox/foundation/VPtrStream.h"

using picttest::PictBuilder;

namespace {

// A picture of the given frame: header and end only.
std::vector<uint8_t> FramedPicture(int16_t top, int16_t left, int16_t bottom, int16_t right)
{
    PictBuilder p(top, left, bottom, right);
    p.End();
    return p.bytes;
}

std::vector<uint8_t> BytesOf(platform::Handle h)
{
    if (!h) return {};
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return std::vector<uint8_t>(p, p + platform::GetHandleSize(h));
}

// Writes through a handle stream and gives the bytes written.
template <class F>
std::vector<uint8_t> Written(F write)
{
    char** handle = nullptr;
    std::vector<uint8_t> bytes;
    {
        VHandleStream stream(&handle);
        EXPECT_EQ(stream.OpenWriting(), 0);
        write(stream);
        EXPECT_EQ(stream.CloseWriting(true), 0);
    }
    bytes = BytesOf(handle);
    platform::DisposeHandle(handle);
    return bytes;
}

TEST(PictureValue, FrameOwnershipAndHandOver)
{
    const std::vector<uint8_t> bytes = FramedPicture(10, 20, 110, 220);
    VPictData pict(bytes.data(), int32_t(bytes.size()));
    EXPECT_EQ(pict.GetValueKind(), kValuePicture);
    EXPECT_EQ(pict.GetImageKind(), kImagePICT);
    EXPECT_EQ(pict.GetWidth(), 200);
    EXPECT_EQ(pict.GetHeight(), 100);
    EXPECT_EQ(pict.GetSize(), int32_t(bytes.size()));
    EXPECT_EQ(pict.CompareTo(pict), kValuesNotComparable);
    EXPECT_FALSE(pict.CanBeEvaluated());

    // Borrowed: the value lets it go without disposing of it.
    platform::Handle borrowed = PictBuilder(0, 0, 5, 5).ToHandle();
    VPictData lent;
    lent.FromData(borrowed, false);
    EXPECT_EQ(lent.GetWidth(), 5);
    lent.KillData();
    EXPECT_FALSE(lent.IsValid());
    EXPECT_TRUE(platform::IsValidHandle(borrowed));
    {
        VPictData dropping;
        dropping.FromData(borrowed, false);
    }
    EXPECT_TRUE(platform::IsValidHandle(borrowed));
    platform::DisposeHandle(borrowed);

    // Handed over: the caller takes the handle, the value is empty.
    platform::Handle own = pict.GetData();
    EXPECT_EQ(pict.ForgetData(), own);
    EXPECT_FALSE(pict.IsValid());
    EXPECT_EQ(pict.GetWidth(), 0);
    EXPECT_EQ(pict.GetSize(), 0);
    EXPECT_TRUE(platform::IsValidHandle(own));
    platform::DisposeHandle(own);

    // Copies own their own handle; other kinds give no picture.
    VPictData source(bytes.data(), int32_t(bytes.size()));
    std::unique_ptr<VValue> clone(source.Clone());
    auto* copy = dynamic_cast<VPictData*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->GetData(), source.GetData());
    EXPECT_EQ(BytesOf(copy->GetData()), bytes);
    VPictData fromImage(static_cast<const VImageData&>(source));
    EXPECT_EQ(BytesOf(fromImage.GetData()), bytes);
    EXPECT_TRUE(fromImage.OwnsData());
}

TEST(PictureValue, HexadecimalTextRoundTripsAndRefusesDamage)
{
    PictBuilder p(0, 0, 3, 4);
    p.Op(0x00A1), p.W(7), p.W(200);
    for (int i = 0; i < 200; ++i) p.B(uint8_t(i * 37));
    p.End();
    VPictData pict(p.bytes.data(), int32_t(p.bytes.size()));
    std::string hex;
    {
        const std::vector<uint8_t> text = Written([&](VStream& s) { EXPECT_EQ(pict.DumpHexa(s), 0); });
        hex.assign(text.begin(), text.end());
    }
    ASSERT_EQ(hex.size(), p.bytes.size() * 2);

    auto read = [](std::string text, VPictData& into) {
        VPtrStream stream(text.data(), int32_t(text.size()));
        EXPECT_EQ(stream.OpenReading(), 0);
        return into.ReadHexa(stream, '"', kImagePICT);
    };
    VPictData back;
    EXPECT_EQ(read(hex + "\"tail", back), 0);
    EXPECT_EQ(BytesOf(back.GetData()), p.bytes);

    // Lines of 64 characters, either line end.
    std::string lines;
    for (size_t i = 0; i < hex.size(); i += 64) lines += hex.substr(i, 64) + (i % 128 ? "\r\n" : "\n");
    VPictData fromLines;
    EXPECT_EQ(read(lines + "\"", fromLines), 0);
    EXPECT_EQ(BytesOf(fromLines.GetData()), p.bytes);
    VPictData atEnd;
    EXPECT_EQ(read(hex, atEnd), 0) << "the end of the text ends the picture too";
    EXPECT_EQ(BytesOf(atEnd.GetData()), p.bytes);

    // A lone digit before the terminator or the end, or a character that
    // is not a digit: refused, and no picture.
    for (const std::string& bad : {hex.substr(0, 9) + "\"", hex.substr(0, 9), hex.substr(0, 8) + "G0\"",
                                  hex.substr(0, 8) + "0 \"", std::string("0\r\n\"")}) {
        VPictData damaged(p.bytes.data(), int32_t(p.bytes.size()));
        EXPECT_EQ(read(bad, damaged), kImageBadData) << bad;
        EXPECT_FALSE(damaged.IsValid());
    }
}

TEST(PictureValue, StreamFormsAndStoredSizesBeyondTheData)
{
    const std::vector<uint8_t> bytes = FramedPicture(1, 2, 30, 40);
    VPictData pict(bytes.data(), int32_t(bytes.size()));
    const std::vector<uint8_t> tagged = Written([&](VStream& s) { EXPECT_EQ(s.PutValue(pict, true), 0); });
    const uint8_t head[12] = {0, 0, 0, 0x0A, 0, 0, 0, 0x01, 0, 0, 0, uint8_t(bytes.size())};
    ASSERT_EQ(tagged.size(), 12 + bytes.size());
    EXPECT_EQ(std::memcmp(tagged.data(), head, 12), 0);
    EXPECT_EQ(std::vector<uint8_t>(tagged.begin() + 12, tagged.end()), bytes);

    std::vector<uint8_t> plain = Written([&](VStream& s) { EXPECT_EQ(s.PutValue(pict, false), 0); });
    ASSERT_EQ(plain.size(), 4 + bytes.size());
    {
        VPtrStream in(reinterpret_cast<char*>(plain.data()), int32_t(plain.size()));
        in.OpenReading();
        in.SetCpuKind(kCpuPowerPC, kCpuUnchanged);
        VPictData back;
        EXPECT_EQ(back.ReadFromStream(&in, 0), 0);
        EXPECT_EQ(BytesOf(back.GetData()), bytes);
        EXPECT_TRUE(back.OwnsData());
    }
    {
        // Read into a borrowed handle: the handle is left as it was.
        platform::Handle borrowed = PictBuilder(0, 0, 9, 9).ToHandle();
        const std::vector<uint8_t> before = BytesOf(borrowed);
        VPtrStream in(reinterpret_cast<char*>(plain.data()), int32_t(plain.size()));
        in.OpenReading();
        in.SetCpuKind(kCpuPowerPC, kCpuUnchanged);
        VPictData back;
        back.FromData(borrowed, false);
        EXPECT_EQ(back.ReadFromStream(&in, 0), 0);
        EXPECT_NE(back.GetData(), borrowed);
        EXPECT_EQ(BytesOf(borrowed), before);
        platform::DisposeHandle(borrowed);
    }
    // A size beyond the stream: refused before anything is allocated.
    for (uint32_t size : {uint32_t(bytes.size() + 1), 0x7FFFFFF0u, 0xFFFFFFF0u}) {
        std::vector<uint8_t> lying = plain;
        lying[0] = uint8_t(size >> 24), lying[1] = uint8_t(size >> 16), lying[2] = uint8_t(size >> 8),
        lying[3] = uint8_t(size);
        VPtrStream in(reinterpret_cast<char*>(lying.data()), int32_t(lying.size()));
        in.OpenReading();
        in.SetCpuKind(kCpuPowerPC, kCpuUnchanged);
        VPictData back;
        const int64_t before = platform::MemoryInUse();
        EXPECT_EQ(back.ReadFromStream(&in, 0), kImageBadData) << size;
        EXPECT_EQ(platform::MemoryInUse(), before);
        EXPECT_FALSE(back.IsValid());
    }
}

TEST(PictureValue, TheEngineTakesOrCopiesOnlyPictures)
{
    InstallImageDataAccess();
    const std::vector<uint8_t> bytes = FramedPicture(0, 0, 4, 4);
    VPictData copied(bytes.data(), int32_t(bytes.size()));
    platform::Handle copy = VEngine::GetMacPicture(copied, true, false);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, copied.GetData());
    EXPECT_EQ(BytesOf(copy), bytes);
    platform::DisposeHandle(copy);
    platform::Handle own = copied.GetData();
    EXPECT_EQ(VEngine::GetMacPicture(copied, false, false), own);
    EXPECT_FALSE(copied.IsValid());
    platform::DisposeHandle(own);
    VPictData empty;
    EXPECT_EQ(VEngine::GetMacPicture(empty, true, false), nullptr);
    SetImageDataAccess({});
}

// The import that the views layer installs at start-up, stood in for by
// the platform's importer.
platform::Handle ImportStandIn(VFile& file, int16_t* error)
{
    platform::FSSpec fileSpec;
    platform::GraphicsImportComponent importer = nullptr;
    platform::PicHandle picture = nullptr;
    platform::OSErr err = file.MAC_GetFSSpec(fileSpec) == 0 ? platform::GetGraphicsImporterForFile(&fileSpec, &importer) : -43;
    if (err == platform::noErr) {
        err = platform::OSErr(platform::GraphicsImportGetAsPicture(importer, &picture));
        platform::CloseComponent(importer);
    }
    *error = err == platform::noErr ? 0 : err == platform::memFullErr ? kImageNoMemory : kImageImportFailed;
    return err == platform::noErr ? picture : nullptr;
}

TEST(PictureValue, FilesAreReadThroughTheImportHook)
{
    platform::testing::TempFolder folder;
    const std::string png = folder.path() + "/logo.png";
    {
        platform::GWorldPtr world = nullptr;
        const platform::Rect bounds{0, 0, 17, 23};
        ASSERT_EQ(platform::NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), platform::noErr);
        ASSERT_EQ(platform::WritePortPNG(world, png.c_str()), platform::noErr);
        platform::DisposeGWorld(world);
    }
    const std::string jpeg = folder.path() + "/broken.jpg";
    std::ofstream(jpeg) << "not a JPEG at all";

    platform::FSSpec pngSpec, jpegSpec;
    ASSERT_EQ(platform::FSMakeFSSpec(png, &pngSpec), platform::noErr);
    ASSERT_EQ(platform::FSMakeFSSpec(jpeg, &jpegSpec), platform::noErr);
    VFile pngFile(pngSpec, platform::FourCC("PNGf"));
    VFile jpegFile(jpegSpec, platform::FourCC("JPEG"));

    VPictData before;
    before.FromFile(pngFile);
    EXPECT_FALSE(before.IsValid()) << "no import installed yet";
    EXPECT_EQ(before.GetLastError(), kImageImportFailed);

    PictureImportHooks hooks;
    hooks.macPictureFromFile = ImportStandIn;
    SetPictureImportHooks(hooks);
    VPictData logo;
    logo.FromFile(pngFile);
    ASSERT_TRUE(logo.IsValid());
    EXPECT_EQ(logo.GetWidth(), 23);
    EXPECT_EQ(logo.GetHeight(), 17);
    EXPECT_EQ(logo.GetFirstError(), 0);
    VPictData broken;
    broken.FromFile(jpegFile);
    EXPECT_FALSE(broken.IsValid());
    EXPECT_EQ(broken.GetLastError(), kImageImportFailed);
    ResetPictureImportHooks();

    // The first outcome is kept; a success after a failure keeps the last failure.
    VPictData errors;
    errors.SetError(-5);
    errors.SetError(0);
    EXPECT_EQ(errors.GetLastError(), -5);
    errors.SetError(-7);
    EXPECT_EQ(errors.GetFirstError(), -5);
    EXPECT_EQ(errors.GetLastError(), -7);

    EXPECT_EQ(ImageKindFromFileType(platform::FourCC("JPEG")), kImageJPEG);
    EXPECT_EQ(ImageKindFromFileType(platform::FourCC("QTIM")), kImageQuickTime);
    EXPECT_EQ(ImageKindFromFileType(platform::FourCC("PNGf")), kImageNone);
}

TEST(PictureValue, ThePictureShapeTakesItsImagesSize)
{
    const std::vector<uint8_t> bytes = FramedPicture(10, 20, 110, 220);
    VPicture picture(new VPictData(bytes.data(), int32_t(bytes.size())));
    EXPECT_EQ(picture.GetWidth(), 200);
    EXPECT_EQ(picture.GetHeight(), 100);
    EXPECT_EQ(picture.GetDisplayMode(), 1);
    EXPECT_EQ(picture.GetTransferMode(), 0);
    EXPECT_EQ(picture.GetLeft(), 0);
    EXPECT_EQ(picture.GetTop(), 0);

    // Another image replaces the first; the same one again changes nothing.
    const std::vector<uint8_t> other = FramedPicture(0, 0, 5, 7);
    auto* second = new VPictData(other.data(), int32_t(other.size()));
    picture.SetImageData(second);
    EXPECT_EQ(picture.GetImageData(), second);
    picture.SetImageData(second);
    ASSERT_EQ(picture.GetImageData(), second);
    EXPECT_EQ(picture.GetImageData()->GetWidth(), 7);
}

}  // namespace
