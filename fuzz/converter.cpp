// Character-set converter files ('UCVT', in "Language Support") and the
// converter tables of resource files: checked, loaded, and every table
// used both ways on every single byte, the input's bytes and a spread of
// UTF-16 units. A conversion step that answers true always moves on.
// Input: a mode byte (bit 7: resource tables, else a file; bit 6: the file
// padded with zeros to the length its header asks for; low bits: the
// character-set code), then the file, or four tables each prefixed by its
// 16-bit length, then text to convert.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/intl/VIntlConverterData.h"

namespace {

// The smallest length a file with this header claims to need.
size_t PaddedLength(const fuzz::Bytes& file)
{
    if (file.size() < 44) return 44 + 4 * 12;
    size_t end = file.size();
    for (int i = 0; i < 4; ++i) {
        const size_t table = platform::ReadBE32(&file[12 + 4 * size_t(i)]);
        const size_t need = table + 12 + 256 + 256 + 65536 * 2;
        if (table < (1u << 20) && need > end) end = need;
    }
    return end;
}

void ToUnicode(const VIntlConverterData& data, bool windows, const fuzz::Bytes& text)
{
    std::vector<char16_t> out(text.size() + 1);
    const uint8_t* src = text.data();
    const uint8_t* end = src + text.size();
    char16_t* dst = out.data();
    const char16_t* dstEnd = out.data() + out.size();
    while (src < end) {
        const uint8_t* before = src;
        bool moved = false;
        switch (data.GetSource()) {
        case ConverterSource::File:
            moved = data.GetWidthKind() == 2 ? VIntlMgr::_Multi2UniNew_DoubleByte(data, windows, src, end, dst, dstEnd)
                                             : VIntlMgr::_Multi2UniNew_SingleByte(data, windows, src, end, dst, dstEnd);
            break;
        case ConverterSource::Resources: moved = VIntlMgr::_Multi2UniOld(data, windows, src, end, dst, dstEnd); break;
        default: moved = VIntlMgr::Multi2UniPlatform(data, windows, src, end, dst, dstEnd); break;
        }
        if (!moved) break;
        if (src == before) std::abort();  // answered true without consuming
    }
}

void FromUnicode(const VIntlConverterData& data, bool windows, const std::vector<char16_t>& text)
{
    std::vector<uint8_t> out(text.size() * 2 + 2);
    const char16_t* src = text.data();
    const char16_t* end = src + text.size();
    uint8_t* dst = out.data();
    const uint8_t* dstEnd = out.data() + out.size();
    while (src < end) {
        const char16_t* before = src;
        bool moved = false;
        switch (data.GetSource()) {
        case ConverterSource::File:
            moved = data.GetWidthKind() == 2 ? VIntlMgr::_Uni2MultiNew_DoubleByte(data, windows, src, dst, dstEnd)
                                             : VIntlMgr::_Uni2MultiNew_SingleByte(data, windows, src, dst, dstEnd);
            break;
        case ConverterSource::Resources: moved = VIntlMgr::_Uni2MultiOld(data, windows, src, dst, dstEnd); break;
        default: moved = VIntlMgr::Uni2MultiPlatform(data, windows, src, dst, dstEnd); break;
        }
        if (!moved) break;
        if (src == before) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const uint8_t mode = in.Byte();
    const MultiByteCode code = MultiByteCode((mode & 0x1F) % kMultiByteCodeCount);
    fuzz::ClearScratchFolder();
    const std::string folder = fuzz::ScratchFolder() + "/Language Support";
    std::filesystem::create_directory(folder);
    platform::ResetResourceManager();

    fuzz::Bytes text;
    if (mode & 0x80) {
        const std::string path = fuzz::ScratchFolder() + "/tables.rsrc";
        platform::FSpCreateResFile(platform::FSSpec{path}, 0, 0, 0, platform::ResFileFork::Data);
        platform::OpenResFile(path, platform::fsRdWrPerm, platform::ResFileFork::Data);
        const platform::ResType types[] = {0x6D616375, 0x756D6163, 0x77696E75, 0x7577696E};
        for (platform::ResType type : types) {
            const fuzz::Bytes table = in.Slice(1u << 18);
            platform::Handle h = nullptr;
            platform::PtrToHand(table.data(), &h, platform::Size(table.size()));
            platform::AddResource(h, type, int16_t(code), nullptr);
        }
        text = in.Rest();
    } else {
        fuzz::Bytes file = in.Rest();
        // The text to convert is the file's own bytes from its header on.
        text.assign(file.begin(), file.begin() + std::ptrdiff_t(std::min<size_t>(file.size(), 4096)));
        if (mode & 0x40) file.resize(PaddedLength(file), 0);
        int16_t width = 0;
        VIntlConverterData::ValidateConverterFile(file.data(), int32_t(file.size()), code, &width);
        fuzz::WriteFile(folder + "/mac_fuzz.ucvt", file);
    }

    SetConverterFolder(folder);
    {
        VIntlConverterData converter(code);
        std::vector<uint8_t> bytes(256);
        for (int i = 0; i < 256; ++i) bytes[size_t(i)] = uint8_t(i);
        std::vector<char16_t> units;
        for (uint32_t u = 0; u < 0x10000; u += 97) units.push_back(char16_t(u));
        for (size_t i = 0; i + 1 < text.size(); i += 2) units.push_back(char16_t(text[i] << 8 | text[i + 1]));
        for (bool windows : {false, true}) {
            ToUnicode(converter, windows, bytes);
            ToUnicode(converter, windows, text);
            FromUnicode(converter, windows, units);
        }
    }
    SetConverterFolder("");
    platform::ResetResourceManager();
    return 0;
}
