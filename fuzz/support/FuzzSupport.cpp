#include "fuzz/support/FuzzSupport.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "forms/layout/ReadingFrame.h"
#include "forms/reader/FormReader.h"
#include "kernel/byteswap/SwapTemplates.h"

namespace fuzz {

uint8_t FuzzBytes::Byte()
{
    return at_ < size_ ? data_[at_++] : 0;
}

uint16_t FuzzBytes::U16()
{
    uint16_t high = Byte();
    return uint16_t(high << 8 | Byte());
}

uint32_t FuzzBytes::U32()
{
    uint32_t high = U16();
    return high << 16 | U16();
}

Bytes FuzzBytes::Take(size_t count)
{
    size_t n = count < Left() ? count : Left();
    Bytes out(data_ + at_, data_ + at_ + n);
    at_ += n;
    return out;
}

Bytes FuzzBytes::Slice(size_t limit)
{
    size_t count = U16();
    return Take(count < limit ? count : limit);
}

Bytes FuzzBytes::Rest()
{
    return Take(Left());
}

namespace {

class Scratch {
public:
    Scratch()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "qz-fuzz-XXXXXX").string();
        if (::mkdtemp(templ.data()))
            path_ = templ;
    }
    ~Scratch()
    {
        std::error_code ec;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ec);
    }
    std::string path_;
};

Scratch& TheScratch()
{
    static Scratch scratch;
    return scratch;
}

}  // namespace

const std::string& ScratchFolder()
{
    return TheScratch().path_;
}

void ClearScratchFolder()
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder(), ec))
        std::filesystem::remove_all(entry.path(), ec);
}

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

std::string SourceFile(const std::string& relative)
{
    return std::string(QZ_SOURCE_DIR) + "/" + relative;
}

bool LoadShippedTemplates()
{
    std::ifstream in(SourceFile("resources/ByteSwap.txt"), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return !text.empty() && InitTokensFromText(text.data(), int32_t(text.size())) == 0;
}

platform::Handle HandleOf(const uint8_t* data, size_t size, size_t limit)
{
    if (size > limit) return nullptr;
    platform::Handle h = platform::NewHandle(platform::Size(size));
    if (h && size) std::memcpy(*h, data, size);
    return h;
}

bool FormImageReads(platform::Handle image)
{
    CustomClientFrame frame;
    InitFormReadingFrame(&frame, nullptr);
    const bool read = ReadFormImage(image, &frame) == IFF_OKAY;
    DestroyPages(frame.pages);
    return read;
}

}  // namespace fuzz
