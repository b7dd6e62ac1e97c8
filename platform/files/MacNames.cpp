#include "platform/files/MacNames.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/files/ColonPath.h"
#include "platform/files/FileSpec.h"
#include "platform/files/FolderListing.h"
#include "platform/files/Sidecar.h"
#include "platform/text/Utf8.h"

namespace platform {
namespace {

// The item of `folder` (a POSIX path) that the program's `macName` stands
// for: the name as it converts when an item has it, else the one item
// whose name shows as `macName` (one with characters Mac Roman lacks, or
// with its accents stored decomposed), else the converted name.
std::string ItemNamed(const std::string& folder, const std::string& macName)
{
    const std::string name = FileNameOf(macName);
    FSSpec folderSpec, item;
    const bool mayShowAlike = std::any_of(macName.begin(), macName.end(),
                                          [](char c) { return c == char(kSubstituteByte) || uint8_t(c) >= 0x80; });
    if (!mayShowAlike || FSMakeFSSpec(folder, &folderSpec) != noErr || FSMakeFSSpec(folderSpec, name, &item) == noErr)
        return name;
    std::vector<FolderEntry> entries;
    if (FSpListFolder(folderSpec, &entries) != noErr) return name;
    const std::string* found = nullptr;
    for (const FolderEntry& e : entries) {
        if (MacNameOf(e.name) != macName) continue;
        if (found) return name;  // two items show alike: neither is taken
        found = &e.name;
    }
    return found ? *found : name;
}

}  // namespace

std::string MacNameOf(const std::string& fileName) { return Utf8ToMacRomanString(PosixNameToColon(fileName)); }

std::string FSpGetMacName(const FSSpec& fileSpec) { return MacNameOf(FSpGetName(fileSpec)); }

std::string FileNameOf(const std::string& macName)
{
    return CutFileName(
        ColonNameToPosix(MacRomanToUtf8String(reinterpret_cast<const uint8_t*>(macName.data()), int32_t(macName.size()))));
}

std::string CutFileName(std::string name, size_t most)
{
    if (name.size() <= most) return name;
    size_t end = most;
    // Back to a character's first byte, and past the combining accents
    // (U+0300..U+036F) that belong to the letter before them.
    for (;;) {
        while (end > 0 && (uint8_t(name[end]) & 0xC0) == 0x80) --end;  // a continuation byte: inside a character
        const uint8_t lead = uint8_t(name[end]), next = uint8_t(name[end + 1]);
        const bool accent = (lead == 0xCC && next >= 0x80) || (lead == 0xCD && next <= 0xAF);
        if (end == 0 || !accent) break;
        --end;
    }
    name.resize(end);
    return name;
}

std::string ProposedFileName(const std::string& fileName, const std::string& suffix)
{
    const size_t room = kLongestSidecarItemName > suffix.size() ? kLongestSidecarItemName - suffix.size() : 0;
    return CutFileName(fileName, room) + suffix;
}

OSErr FSpGetMacColonPath(const FSSpec& fileSpec, std::string* macColonPath)
{
    std::string colon;
    const OSErr err = FSpGetColonPath(fileSpec, &colon);
    *macColonPath = err == noErr ? Utf8ToMacRomanString(colon) : std::string();
    return err;
}

OSErr FSMakeFSSpecFromMacColonPath(const std::string& macColonPath, FSSpec* fileSpec)
{
    try {
        const std::string colon = MacRomanToUtf8String(reinterpret_cast<const uint8_t*>(macColonPath.data()),
                                                       int32_t(macColonPath.size()));
        const OSErr err = FSMakeFSSpecFromColonPath(colon, fileSpec);
        if (err != fnfErr && err != dirNFErr) return err;
        // A name that shows as another does on disk: found in its folder.
        std::string posix;
        size_t at = 0;
        while (at < macColonPath.size()) {
            size_t colonAt = macColonPath.find(':', at);
            if (colonAt == std::string::npos) colonAt = macColonPath.size();
            posix += "/" + ItemNamed(posix.empty() ? "/" : posix, macColonPath.substr(at, colonAt - at));
            at = colonAt + 1;
        }
        return FSMakeFSSpec(posix, fileSpec);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

}  // namespace platform
