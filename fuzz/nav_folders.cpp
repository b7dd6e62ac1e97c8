// The file dialogs' remembered folders, read from the preferences folder.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/filedialogs/NavFolderMemory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::map<uint32_t, std::string> folders;
    platform::ParseNavFolders(std::string_view(reinterpret_cast<const char*>(data), size), &folders);
    std::map<uint32_t, std::string> again;
    platform::ParseNavFolders(platform::FormatNavFolders(folders), &again);
    if (again != folders) __builtin_trap();  // what is written reads back the same
    return 0;
}
