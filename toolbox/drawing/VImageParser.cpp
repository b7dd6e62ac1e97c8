#include "toolbox/drawing/VImageParser.h"

#include "toolbox/foundation/VStream.h"

namespace {

constexpr uint32_t kFileHeaderSize = 512;
constexpr uint32_t kFirstOpcode = 10;
constexpr uint16_t kEndOfPicture = 0x00FF;

// Moves forward by count when that much is left.
bool Advance(VStream& stream, int64_t count)
{
    const int32_t pos = stream.GetPos();
    if (pos < 0 || count < 0 || count > int64_t(stream.GetSize()) - pos) return false;
    return count == 0 || stream.SetPosByOffset(uint32_t(count)) == 0;
}

}  // namespace

VImageParser::~VImageParser() = default;
void* VImageParser::GetPixelData() { return nullptr; }
VPictData* VImageParser::GetPictData() { return nullptr; }
void* VImageParser::GetEmfData() { return nullptr; }
int16_t VImageParser::StartParsing() { return kParserUnsupported; }
void VImageParser::StopParsing() {}

VEmfParser::~VEmfParser() = default;
VWmfParser::~VWmfParser() = default;
VDxfParser::~VDxfParser() = default;
VEpsfParser::~VEpsfParser() = default;
VBmpParser::~VBmpParser() = default;
VGifParser::~VGifParser() = default;
VPcxParser::~VPcxParser() = default;
VJpegParser::~VJpegParser() = default;
VTiffParser::~VTiffParser() = default;
VPixelParser::~VPixelParser() = default;

VPictParser::~VPictParser() { StopParsing(); }

int16_t VPictParser::StartParsing()
{
    if (IsParsing()) return kParserAlreadyParsing;
    const int16_t err = fStream.OpenReading();
    if (err != 0) return err;
    fSize = fStream.GetSize();
    fMatchEnd = -1;
    fStream.SetCpuKind(kCpuPowerPC, kCpuUnchanged);
    return 0;
}

void VPictParser::StopParsing()
{
    if (!IsParsing()) return;
    fStream.CloseReading();
    fSize = -1;
    fMatchEnd = -1;
}

int32_t VPictParser::FindOpcodeOffset(uint16_t opcode)
{
    if (!IsParsing()) return -1;
    int32_t pos = fStream.GetPos();
    if (pos < 0) return -1;
    if (pos == 0) {
        fMatchEnd = -1;
        if (fStream.SetPos(fFileHeader ? kFileHeaderSize + kFirstOpcode : kFirstOpcode) != 0) return -1;
    } else if (pos == fMatchEnd) {
        // Searching on from a match: its data is not opcodes.
        fMatchEnd = -1;
        const int32_t skip = GetPictOpcodeSkipSize(fStream, fMatchOpcode);
        if (skip < 0 || !Advance(fStream, skip)) return -1;
    }
    for (;;) {
        uint16_t op = 0;
        if (fStream.GetWord(op) != 0) return -1;
        pos = fStream.GetPos();
        if (pos < 2) return -1;
        if (op == opcode) {
            fMatchEnd = pos;
            fMatchOpcode = op;
            return pos - 2;
        }
        if (op == kEndOfPicture) return -1;
        const int32_t skip = GetPictOpcodeSkipSize(fStream, op);
        if (skip < 0 || !Advance(fStream, skip)) return -1;
    }
}

VImageParser* NewImageParserFromImageKind(ImageKind kind, VStream& stream, bool fileHeader)
{
    switch (kind) {
    case kImagePICT:
    case kImageQuickTime: return new VPictParser(stream, fileHeader);
    case kImageEMF: return new VEmfParser(stream, fileHeader);
    case kImageWMF: return new VWmfParser(stream, fileHeader);
    case kImageDXF: return new VDxfParser(stream, fileHeader);
    case kImageEPSF: return new VEpsfParser(stream, fileHeader);
    case kImageBMP: return new VBmpParser(stream, fileHeader);
    case kImageGIF: return new VGifParser(stream, fileHeader);
    case kImagePCX: return new VPcxParser(stream, fileHeader);
    case kImageJPEG: return new VJpegParser(stream, fileHeader);
    case kImageTIFF: return new VTiffParser(stream, fileHeader);
    case kImagePixels: return new VPixelParser(stream, fileHeader);
    default: return nullptr;
    }
}
