// The recent-documents list ('SP2#' 0 of the preferences file): its
// entries are read, one is added, and every menu text is made. Each
// entry's name is looked for, as Open Recent does, in one folder of this
// run whose items' names Mac Roman shows otherwise than they are on disk.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/documents/RecentList.h"
#include "platform/files/FileTypes.h"
#include "platform/files/MacNames.h"

namespace {

// The folder's colon path as the program holds it.
const std::string& OddNamesFolder()
{
    static char folder[] = "/tmp/qz-fuzz-recent-XXXXXX";
    static const std::string colon = [] {
        if (!mkdtemp(folder)) __builtin_trap();
        std::atexit([] { std::filesystem::remove_all(folder); });
        for (const char* name : {"Cafe\xCC\x81.QzB", "\xE3\x83\x87\xE3\x83\xA2.QzB", "a:b.QzB", "x?.QzB"})
            std::ofstream(std::string(folder) + "/" + name) << "x";
        std::string path;
        if (platform::FSpGetMacColonPath(platform::FSSpec{folder}, &path) != platform::noErr) __builtin_trap();
        return path;
    }();
    return colon;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    const int16_t n = OpenSpecialCount(bytes.data(), bytes.size());
    if (n < 0 || n > kMaxOpenSpecial) __builtin_trap();
    for (int16_t i = 0; i < n; ++i) {
        OpenSpecialItem item;
        if (!OpenSpecialEntry(bytes.data(), bytes.size(), i, &item)) __builtin_trap();
        std::string text;
        OpenSpecialText(item.path, item.name, &text);
        std::string leaf = item.name;  // one name: the walk stays in the folder
        for (char& c : leaf)
            if (c == ':') c = '_';
        platform::FSSpec file;
        platform::FSMakeFSSpecFromMacColonPath(OddNamesFolder() + leaf, &file);
    }
    const std::string name = size > 0 ? std::string(reinterpret_cast<const char*>(data), size % 40) : "x";
    if (AddToOpenSpecial(&bytes, "Disk:Folder:", name, 0x42415335)) {
        const int16_t after = OpenSpecialCount(bytes.data(), bytes.size());
        if (after < 1 || after > kMaxOpenSpecial) __builtin_trap();
    }
    return 0;
}
