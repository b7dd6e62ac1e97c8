#include "toolbox/foundation/intl/VIntlConverterData.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/files/FolderListing.h"
#include "platform/files/SpecialFolders.h"
#include "platform/resfiles/Resources.h"

namespace {

std::string gConverterFolderOverride;

constexpr int32_t kSingleToUniSize = 256 * 2;
constexpr int32_t kSingleFromUniSize = 65536;
constexpr int32_t kDoubleToUniSize = 256 + 256 + 65536 * 2;
constexpr int32_t kDoubleFromUniSize = 65536 * 2;

uint16_t BE16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
uint32_t BE32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }

bool StartsWithMacPrefix(const std::string& name)
{
    if (name.size() <= 4) return false;
    static constexpr char kPrefix[] = "mac_";
    for (int32_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != kPrefix[i]) return false;
    return true;
}

bool ReadHeader(const std::string& path, uint8_t* header)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const ssize_t n = ::read(fd, header, kConverterHeaderSize);
    ::close(fd);
    return n == kConverterHeaderSize;
}

// A to-UTF-16 resource: W = 1 and 256 characters, or W > 1, a count and
// entries of ((W + 1) & ~1) + 2 bytes.
bool ValidToUniResource(const uint8_t* p, int32_t size)
{
    if (size < 2) return false;
    const int16_t width = int16_t(BE16(p));
    if (width == 1) return size >= 2 + kSingleToUniSize;
    if (width < 1 || size < 4) return false;
    const int32_t count = int16_t(BE16(p + 2));
    const int32_t entry = ((width + 1) & ~1) + 2;
    return count >= 0 && 4 + int64_t(count) * entry <= size;
}

// A from-UTF-16 resource: W, a range count, then the ranges in order.
bool ValidFromUniResource(const uint8_t* p, int32_t size)
{
    if (size < 4) return false;
    const int16_t width = int16_t(BE16(p));
    const int32_t count = int16_t(BE16(p + 2));
    if (width < 1 || count < 0) return false;
    const int32_t entry = (width + 1) & ~1;
    int64_t at = 4;
    for (int32_t i = 0; i < count; ++i) {
        if (at + 4 > size) return false;
        const int32_t first = BE16(p + at), last = BE16(p + at + 2);
        if (last < first) return false;
        at += 4 + int64_t(last - first + 1) * entry;
        if (at > size) return false;
    }
    return true;
}

}  // namespace

std::string ConverterFolder()
{
    if (!gConverterFolderOverride.empty()) return gConverterFolderOverride;
    platform::FSSpec extensions;
    if (platform::FindSpecialFolder(platform::SpecialFolder::Extensions, false, &extensions) != platform::noErr)
        return std::string();
    return extensions.path + "/Language Support";
}

void SetConverterFolder(const std::string& folder) { gConverterFolderOverride = folder; }

bool VIntlConverterData::ValidateConverterFile(const uint8_t* data, int32_t size, MultiByteCode code, int16_t* width)
{
    if (size < kConverterHeaderSize || BE32(data) != kConverterMagic || int32_t(BE32(data + 8)) != code) return false;
    uint32_t offsets[4];
    for (int32_t i = 0; i < 4; ++i) {
        offsets[i] = BE32(data + 12 + 4 * i);
        if (offsets[i] < uint32_t(kConverterHeaderSize) || int64_t(offsets[i]) + kConverterTableHeaderSize > size)
            return false;
    }
    const int16_t kind = int16_t(BE16(data + offsets[1] + 8));
    if (kind != 1 && kind != 2) return false;
    const int32_t toUni = kind == 1 ? kSingleToUniSize : kDoubleToUniSize;
    const int32_t fromUni = kind == 1 ? kSingleFromUniSize : kDoubleFromUniSize;
    const int32_t needed[4] = {toUni, fromUni, toUni, fromUni};
    for (int32_t i = 0; i < 4; ++i)
        if (int64_t(offsets[i]) + kConverterTableHeaderSize + needed[i] > size) return false;
    *width = kind;
    return true;
}

std::string VIntlConverterData::_GetDataFileName(const std::string& folder, MultiByteCode code)
{
    if (folder.empty()) return std::string();
    std::vector<platform::FolderEntry> entries;
    if (platform::FSpListFolder(platform::FSSpec{folder}, &entries) != platform::noErr) return std::string();
    std::vector<const platform::FolderEntry*> found;
    for (const auto& entry : entries) {
        if (entry.kind != platform::EntryKind::File) continue;
        // Paths are built in a buffer of kConverterPathBuffer bytes with
        // their terminating NUL: a longer one is passed over, never cut.
        if (entry.fileSpec.path.size() >= size_t(kConverterPathBuffer)) continue;
        uint8_t header[kConverterHeaderSize];
        if (!ReadHeader(entry.fileSpec.path, header)) continue;
        if (BE32(header) == kConverterMagic && int32_t(BE32(header + 8)) == code) found.push_back(&entry);
    }
    if (found.empty()) return std::string();
    for (const auto* entry : found)
        if (StartsWithMacPrefix(entry->name)) return entry->fileSpec.path;
    return found.front()->fileSpec.path;
}

VIntlConverterData::VIntlConverterData(MultiByteCode code) : fCode(code)
{
    const std::string path = _GetDataFileName(ConverterFolder(), code);
    if (!path.empty() && _InitFromFile(path)) return;
    if (_InitFromResource()) return;
    if (code == 0) fSource = ConverterSource::Platform;
}

VIntlConverterData::~VIntlConverterData()
{
    if (fMapping != nullptr) ::munmap(fMapping, size_t(fMappingLength));
    if (fDescriptor >= 0) ::close(fDescriptor);
}

int16_t VIntlConverterData::GetWidthKind() const
{
    switch (fSource) {
    case ConverterSource::File: return fWidthKind;
    case ConverterSource::Resources: return int16_t(BE16(fTables[1]));
    case ConverterSource::Platform: return 1;
    default: return 0;
    }
}

void VIntlConverterData::TakeFileTables(const uint8_t* base, int16_t width)
{
    fWidthKind = width;
    const int32_t toUni = width == 1 ? kSingleToUniSize : kDoubleToUniSize;
    const int32_t fromUni = width == 1 ? kSingleFromUniSize : kDoubleFromUniSize;
    const int32_t sizes[4] = {toUni, fromUni, toUni, fromUni};
    for (int32_t i = 0; i < 4; ++i) {
        fTables[i] = base + BE32(base + 12 + 4 * i) + kConverterTableHeaderSize;
        fTableSizes[i] = sizes[i];
    }
    if (width == 2) {
        fLeadBytes[0] = fTables[0];
        fLeadBytes[1] = fTables[2];
    }
}

bool VIntlConverterData::_InitFromFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (::fstat(fd, &info) != 0 || info.st_size < kConverterHeaderSize || info.st_size > INT32_MAX) {
        ::close(fd);
        return false;
    }
    const auto length = int32_t(info.st_size);
    void* mapping = ::mmap(nullptr, size_t(length), PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapping == MAP_FAILED) {
        ::close(fd);
        return false;
    }
    int16_t width = 0;
    if (!ValidateConverterFile(static_cast<const uint8_t*>(mapping), length, fCode, &width)) {
        ::munmap(mapping, size_t(length));
        ::close(fd);
        return false;
    }
    fMapping = mapping;
    fMappingLength = length;
    fDescriptor = fd;
    fPath = path;
    fSource = ConverterSource::File;
    TakeFileTables(static_cast<const uint8_t*>(mapping), width);
    return true;
}

bool VIntlConverterData::_InitFromResource()
{
    static constexpr platform::ResType kTypes[4] = {
        0x6D616375,  // 'macu'
        0x756D6163,  // 'umac'
        0x77696E75,  // 'winu'
        0x7577696E,  // 'uwin'
    };
    for (int32_t i = 0; i < 4; ++i) {
        platform::Handle h = platform::GetResource(kTypes[i], int16_t(fCode));
        if (h == nullptr) return false;
        const int32_t size = platform::GetHandleSize(h);
        fResourceCopies[i].assign(reinterpret_cast<const uint8_t*>(*h), reinterpret_cast<const uint8_t*>(*h) + size);
        platform::ReleaseResource(h);
        const bool toUni = i == 0 || i == 2;
        const uint8_t* p = fResourceCopies[i].data();
        if (!(toUni ? ValidToUniResource(p, size) : ValidFromUniResource(p, size))) return false;
    }
    for (int32_t i = 0; i < 4; ++i) {
        fTables[i] = fResourceCopies[i].data();
        fTableSizes[i] = int32_t(fResourceCopies[i].size());
    }
    fSource = ConverterSource::Resources;
    return true;
}
