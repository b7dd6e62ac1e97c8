#include "platform/filedialogs/NavFolderMemory.h"

#include <cstdio>
#include <new>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/files/SpecialFolders.h"
#include "platform/files/WholeFile.h"

namespace platform {

namespace {

constexpr int64_t kMaxFileSize = 1 << 20;

struct Memory {
    bool loaded = false;
    std::map<uint32_t, std::string> folders;
};

Memory& TheMemory()
{
    static auto* memory = new Memory;
    return *memory;
}

std::string FilePath(bool create)
{
    FSSpec folder;
    if (FindSpecialFolder(SpecialFolder::Preferences, create, &folder) != noErr)
        return {};
    return folder.path + "/" + kNavFoldersFileName;
}

Memory& Loaded()
{
    Memory& m = TheMemory();
    if (m.loaded)
        return m;
    m.loaded = true;
    const std::string path = FilePath(false);
    std::vector<uint8_t> bytes;
    if (!path.empty() && ReadWholeFile(path, &bytes, kMaxFileSize) == noErr)
        ParseNavFolders(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &m.folders);
    return m;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

void ParseNavFolders(std::string_view text, std::map<uint32_t, std::string>* folders)
{
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.size() < 10 || line[8] != ' ' || line[9] != '/')
            continue;
        uint32_t key = 0;
        bool ok = true;
        for (size_t i = 0; i < 8 && ok; ++i) {
            const int d = HexDigit(line[i]);
            ok = d >= 0;
            key = (key << 4) | uint32_t(d < 0 ? 0 : d);
        }
        if (ok && key != 0 && line.find('\0') == std::string_view::npos)
            (*folders)[key] = std::string(line.substr(9));
    }
}

std::string FormatNavFolders(const std::map<uint32_t, std::string>& folders)
{
    std::string text;
    for (const auto& [key, folder] : folders) {
        if (key == 0 || folder.empty() || folder[0] != '/' || folder.find('\n') != std::string::npos)
            continue;  // a line could not hold it
        char hex[10];
        std::snprintf(hex, sizeof hex, "%08X ", unsigned(key));
        text += hex + folder + "\n";
    }
    return text;
}

std::string NavRememberedFolder(uint32_t key)
{
    try {
        const auto& folders = Loaded().folders;
        auto found = folders.find(key);
        return found == folders.end() ? std::string() : found->second;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

void NavRememberFolder(uint32_t key, const std::string& folder)
{
    if (key == 0 || folder.empty())
        return;
    try {
        Memory& m = Loaded();
        auto found = m.folders.find(key);
        if (found != m.folders.end() && found->second == folder)
            return;
        m.folders[key] = folder;
        const std::string path = FilePath(true);
        if (path.empty())
            return;
        const std::string text = FormatNavFolders(m.folders);
        WriteFileAtomically(path, text.data(), text.size(), 0600);
    } catch (const std::bad_alloc&) {
    }
}

void NavReloadFolders()
{
    TheMemory().loaded = false;
    TheMemory().folders.clear();
}

void NavForgetFolders()
{
    NavReloadFolders();
    TheMemory().loaded = true;
    const std::string path = FilePath(false);
    if (!path.empty())
        std::remove(path.c_str());
}

}  // namespace platform
