#include "platform/files/TextFiles.h"

#include <new>

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/WholeFile.h"
#include "platform/text/Utf8.h"

namespace platform {

namespace {
constexpr char kCR = '\r', kLF = '\n';
}  // namespace

std::string TextFileLines(const void* text, size_t size)
{
    const auto* in = static_cast<const uint8_t*>(text);
    std::string out;
    out.reserve(size);
    char utf8[4];
    for (size_t i = 0; i < size; ++i) {
        if (in[i] == kCR) {
            out.push_back(kTextFileLineEnd);
            if (i + 1 < size && in[i + 1] == kLF) ++i;
        } else if (in[i] < 0x80) {
            out.push_back(char(in[i]));
        } else {
            const ConversionResult r = MacRomanToUtf8(in + i, 1, reinterpret_cast<uint8_t*>(utf8), 4);
            out.append(utf8, size_t(r.produced));
        }
    }
    return out;
}

OSErr FSWriteText(int16_t refNum, int64_t* count, const void* buffer)
{
    if (*count <= 0) return FSWrite(refNum, count, buffer);
    try {
        const std::string lines = TextFileLines(buffer, size_t(*count));
        int64_t n = int64_t(lines.size());
        const OSErr err = FSWrite(refNum, &n, lines.data());
        if (err == noErr && n != int64_t(lines.size())) return ioErr;
        return err;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr WriteTextFileAtomically(const std::string& path, const void* text, size_t size, uint32_t newMode)
{
    try {
        const std::string lines = TextFileLines(text, size);
        return WriteFileAtomically(path, lines.data(), lines.size(), newMode);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr WriteTextDocument(const std::string& path, const void* text, size_t size, OSType creator)
{
    if (const OSErr err = WriteTextFileAtomically(path, text, size)) return err;
    FSSpec file;
    if (const OSErr err = FSMakeFSSpec(path, &file)) return err;
    FInfo info{};
    if (const OSErr err = FSpGetFInfo(file, &info)) return err;
    const OSType type = FourCC("TEXT");
    if (info.fdType == type && (creator == 0 || info.fdCreator == creator)) return noErr;
    info.fdType = type;
    if (creator != 0) info.fdCreator = creator;
    return FSpSetFInfo(file, info);
}

size_t LineLength(const uint8_t* text, size_t size)
{
    size_t n = 0;
    while (n < size && text[n] != kCR && text[n] != kLF) ++n;
    return n;
}

}  // namespace platform
