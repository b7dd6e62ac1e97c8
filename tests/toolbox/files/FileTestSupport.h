// Colon paths of temporary items, and small file helpers.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "platform/files/ColonPath.h"
#include "tests/platform/files/TempFolder.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/foundation/VText.h"

namespace files_testing {

using platform::testing::TempFolder;

inline VText Text(const std::string& utf8)
{
    VText text;
    FromUtf8(utf8, text);
    return text;
}

// The colon path of a POSIX path (a trailing '/' gives a folder path).
inline VText ColonOf(const std::string& posix)
{
    std::string colon;
    platform::PosixPathToColon(posix, &colon);
    return Text(colon);
}

inline void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace files_testing
