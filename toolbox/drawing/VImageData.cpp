#include "toolbox/drawing/VImageData.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "toolbox/drawing/PictureImportHooks.h"
#include "toolbox/drawing/VImageParser.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileStream.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/system/VSystem.h"

using namespace platform;

namespace {

// Stored pictures begin with the size word and the frame.
constexpr int32_t kFrameEnd = 10;
// Reading a size that the stream cannot tell ahead is done in steps.
constexpr int32_t kReadStep = 1 << 16;

bool IsLineBreak(char c) { return c == 13 || c == 10; }

// The next character that is not a return or line feed; false at the end.
bool NextChar(VStream& stream, char& c)
{
    do {
        if (stream.GetByte(c) != 0) return false;
    } while (IsLineBreak(c));
    return true;
}

// The stored bytes, read in steps so that a false size costs no more
// memory than the stream really holds. Empty with error set on failure.
std::vector<uint8_t> ReadStoredBytes(VStream& stream, int32_t size, int16_t& error)
{
    std::vector<uint8_t> bytes;
    error = 0;
    try {
        while (int32_t(bytes.size()) < size) {
            const int32_t step = std::min<int32_t>(kReadStep, size - int32_t(bytes.size()));
            const size_t at = bytes.size();
            bytes.resize(at + size_t(step));
            int32_t count = step;
            if (stream.GetBytes(bytes.data() + at, &count) != 0 || count != step) {
                error = kImageBadData;
                return {};
            }
        }
    } catch (const std::bad_alloc&) {
        error = kImageNoMemory;
        return {};
    }
    return bytes;
}

}  // namespace

// --- the generic value ---------------------------------------------------

VImageData::~VImageData() = default;

void VImageData::SetError(int16_t error)
{
    if (!fHasFirstError) {
        fFirstError = error;
        fHasFirstError = true;
    }
    if (error != 0) fLastError = error;
}

int16_t VImageData::CheckStoredSize(VStream& stream, int32_t size)
{
    if (size < 0) return kImageBadData;
    const int32_t pos = stream.GetPos();
    // A stream that cannot say where it stands is read in steps instead.
    if (pos < 0) return 0;
    const uint32_t total = stream.GetSize();
    if (uint32_t(pos) > total || uint32_t(size) > total - uint32_t(pos)) return kImageBadData;
    return 0;
}

int32_t VImageData::WriteToStream(VStream* stream, int32_t tag) const
{
    int16_t err = 0;
    if (tag == kValueTag) {
        err = stream->PutLong(GetValueKind());
        if (err == 0) err = stream->PutLong(GetImageKind());
    }
    const Handle data = GetData();
    const int32_t size = data ? GetHandleSize(data) : 0;
    if (err == 0) err = stream->PutLong(size);
    if (err == 0 && size > 0) err = stream->PutBytes(*data, size);
    return err;
}

int32_t VImageData::ReadFromStream(VStream* stream, int32_t)
{
    int32_t size = 0;
    int16_t err = stream->GetLong(size);
    if (err != 0) return err;
    if ((err = CheckStoredSize(*stream, size)) != 0) return err;
    const int32_t start = stream->GetPos();
    std::vector<uint8_t> bytes = ReadStoredBytes(*stream, size, err);
    if (err == kImageNoMemory && start >= 0) {
        // No room for the bytes: they are stepped over, so that what
        // follows in the stream is still read in its place.
        stream->SetPos(uint32_t(start) + uint32_t(size));
        return err;
    }
    if (err != 0) return err;
    FromBytes(bytes.data(), size);
    return 0;
}

// --- pictures --------------------------------------------------------------

VPictData::VPictData(const void* bytes, int32_t length) { FromBytes(bytes, length); }

VPictData::VPictData(const VImageData& image) { FromImage(image); }

VPictData::~VPictData() { KillData(); }

VValue* VPictData::Clone() const
{
    auto* copy = new VPictData;
    if (copy && fData) {
        Handle h = fData;
        if (HandToHand(&h) == noErr) copy->FromData(h, true);
    }
    return copy;
}

void VPictData::KillData()
{
    if (fData && fOwns) DisposeHandle(fData);
    fData = nullptr;
    fOwns = false;
}

Handle VPictData::ForgetData()
{
    Handle h = fData;
    fData = nullptr;
    fOwns = false;
    return h;
}

void VPictData::FromData(Handle data, bool owns)
{
    if (data == fData) {
        fOwns = data && owns;
        return;
    }
    KillData();
    fData = data;
    fOwns = data && owns;
}

void VPictData::FromBytes(const void* bytes, int32_t length)
{
    KillData();
    if (length < 0 || (!bytes && length > 0)) return;
    Handle h = nullptr;
    if (PtrToHand(bytes, &h, length) != noErr) {
        SetError(kImageNoMemory);
        return;
    }
    FromData(h, true);
}

void VPictData::FromImage(const VImageData& image)
{
    if (&image == this) return;
    KillData();
    if (!image.IsValid()) return;
    if (image.GetImageKind() == kImagePICT) {
        Handle h = image.GetData();
        if (HandToHand(&h) == noErr)
            FromData(h, true);
        else
            SetError(kImageNoMemory);
    }
    // Metafiles and the rest have no picture form here.
}

int32_t VPictData::GetSize() const { return fData ? GetHandleSize(fData) : 0; }

int32_t VPictData::GetWidth() const
{
    int32_t w, h;
    GetWidthHeight(w, h);
    return w;
}

int32_t VPictData::GetHeight() const
{
    int32_t w, h;
    GetWidthHeight(w, h);
    return h;
}

void VPictData::GetWidthHeight(int32_t& width, int32_t& height) const
{
    width = height = 0;
    if (!fData || GetHandleSize(fData) < kFrameEnd) return;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(*fData);
    height = int32_t(ReadBES16(p + 6)) - ReadBES16(p + 2);
    width = int32_t(ReadBES16(p + 8)) - ReadBES16(p + 4);
}

void VPictData::FromFile(VFile& file)
{
    KillData();
    VError err = 0;
    Handle picture = QT_QTPictureToMacPicture(QT_MacPictureFromFile(file, &err));
    SetError(err);
    if (picture) {
        FromData(picture, true);
        return;
    }
    ImageKind kind = ImageKindFromFileType(file.GetKind());
    if (kind == kImageNone && gSystem) {
        VStr<255> name;
        file.GetName(name);
        const uint32_t virtualKind = gSystem->GetVirtualKindFromWinKind(VSystem::GetWinKindFromExtension(name));
        if (virtualKind) kind = ImageKindFromFileType(gSystem->GetMacKindFromVirtualKind(virtualKind));
    }
    if (kind == kImageNone) return;
    VFileStream stream(&file);
    VImageParser* parser = NewImageParserFromImageKind(kind, stream, true);
    if (!parser) return;
    if (parser->StartParsing() == 0) {
        if (VPictData* data = parser->GetPictData()) FromData(data->ForgetData(), true);
        parser->StopParsing();
    }
    delete parser;
}

int16_t VPictData::DumpHexa(VStream& stream) const
{
    if (!fData) return 0;
    return stream.PutHexBytes(*fData, GetHandleSize(fData));
}

int16_t VPictData::ReadHexa(VStream& stream, char terminator, ImageKind)
{
    KillData();
    std::vector<uint8_t> bytes;
    try {
        char high = 0, low = 0;
        while (NextChar(stream, high) && high != terminator) {
            if (!NextChar(stream, low) || low == terminator) return kImageBadData;
            const int32_t h = HexToByte(high), l = HexToByte(low);
            if (h < 0 || l < 0) return kImageBadData;
            bytes.push_back(uint8_t(h << 4 | l));
        }
    } catch (const std::bad_alloc&) {
        return kImageNoMemory;
    }
    Handle h = nullptr;
    if (PtrToHand(bytes.data(), &h, Size(bytes.size())) != noErr) return kImageNoMemory;
    FromData(h, true);
    return 0;
}

int32_t VPictData::WriteToStream(VStream* stream, int32_t tag) const { return VImageData::WriteToStream(stream, tag); }

// A handle the value does not own is never written into: it is forgotten
// and a new one made.
int32_t VPictData::ReadFromStream(VStream* stream, int32_t)
{
    int32_t size = 0;
    int16_t err = stream->GetLong(size);
    if (err != 0) return err;
    if ((err = CheckStoredSize(*stream, size)) != 0) return err;
    std::vector<uint8_t> bytes = ReadStoredBytes(*stream, size, err);
    if (err != 0) return err;
    if (!fOwns) ForgetData();
    if (fData) {
        SetHandleSize(fData, size);
        if (MemError() != noErr) return kImageNoMemory;
    } else {
        fData = NewHandle(size);
        if (!fData) return kImageNoMemory;
        fOwns = true;
    }
    if (size > 0) std::memcpy(*fData, bytes.data(), size_t(size));
    return 0;
}

// --- the engine's access ---------------------------------------------------

namespace {

Handle Picture(const VImageData& image) { return image.GetData(); }
int32_t Kind(const VImageData& image) { return image.GetImageKind(); }
Handle Detach(VImageData& image) { return image.ForgetData(); }

}  // namespace

void InstallImageDataAccess()
{
    VImageDataAccess access;
    access.getPicture = Picture;
    access.getImageKind = Kind;
    access.detachPicture = Detach;
    SetImageDataAccess(access);
}
