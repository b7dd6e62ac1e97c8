// Parsers of image data by kind. Only pictures are walked: VPictParser
// finds opcodes in a version 2 picture (for the repairs below); the other
// kinds have no parser here and refuse to start with -2. No parser gives
// pixel, picture or metafile data.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/drawing/ImageKind.h"
#include "toolbox/foundation/VObject.h"

class VStream;
class VPictData;

// StartParsing's answers besides the stream's own codes.
constexpr int16_t kParserUnsupported = -2;
constexpr int16_t kParserAlreadyParsing = 202;

class VImageParser : public VObject {
public:
    // fileHeader: the data starts with the 512-byte header of a picture
    // file. The stream is the caller's and must outlive the parser.
    VImageParser(VStream& stream, bool fileHeader) : fStream(stream), fFileHeader(fileHeader) {}
    ~VImageParser() override;
    VImageParser(const VImageParser&) = delete;
    VImageParser& operator=(const VImageParser&) = delete;

    virtual void* GetPixelData();
    virtual VPictData* GetPictData();
    virtual void* GetEmfData();
    virtual int16_t StartParsing();
    virtual void StopParsing();

protected:
    VStream& fStream;
    bool fFileHeader;
};

class VPictParser : public VImageParser {
public:
    using VImageParser::VImageParser;
    ~VPictParser() override;

    // 202 when already parsing, else the stream's open code. Numbers are
    // read big-endian.
    int16_t StartParsing() override;
    void StopParsing() override;
    bool IsParsing() const { return fSize >= 0; }
    int64_t GetSize() const { return fSize; }

    // The offset of the next opcode `opcode` from where the stream stands
    // (the first opcode when it stands at 0), or -1 at the end, at an
    // opcode whose length is not known, or when the data runs out. After
    // a match the stream stands just behind the opcode word; the next
    // search steps over that opcode's data first.
    int32_t FindOpcodeOffset(uint16_t opcode);

private:
    int64_t fSize = -1;
    // Where the stream stood after the last match, and its opcode.
    int64_t fMatchEnd = -1;
    uint16_t fMatchOpcode = 0;
};

// The kinds without a parser of their own.
#define QZ_NO_PARSER(Name)                                    \
    class Name : public VImageParser {                        \
    public:                                                   \
        using VImageParser::VImageParser;                     \
        ~Name() override;                                     \
    };
QZ_NO_PARSER(VEmfParser)
QZ_NO_PARSER(VWmfParser)
QZ_NO_PARSER(VDxfParser)
QZ_NO_PARSER(VEpsfParser)
QZ_NO_PARSER(VBmpParser)
QZ_NO_PARSER(VGifParser)
QZ_NO_PARSER(VPcxParser)
QZ_NO_PARSER(VJpegParser)
QZ_NO_PARSER(VTiffParser)
QZ_NO_PARSER(VPixelParser)
#undef QZ_NO_PARSER

// A new parser for the kind (the caller deletes it), or null for an
// unknown kind or when memory runs out.
VImageParser* NewImageParserFromImageKind(ImageKind kind, VStream& stream, bool fileHeader);

// The bytes of the opcode's data still to skip once the stream stands
// behind the opcode word, having perhaps read part of the data; the total
// keeps the next opcode at an even offset. -1 for an opcode whose length
// is not known, or data that is cut short or inconsistent.
int32_t GetPictOpcodeSkipSize(VStream& stream, uint16_t opcode);

// Clamps the component size of every direct pixel map of the picture to
// 8 bits; true when a byte changed. Every read and write stays inside the
// handle.
bool RepairPicture(platform::Handle picture);
// The same for the common layout only: a version 2 picture whose clip
// region (perhaps two) is followed by one direct pixel map.
void FastRepairPicture(platform::Handle picture);
// Makes FastRepairPicture the repair of the kernel's picture drawing.
void InstallPictureRepair();
