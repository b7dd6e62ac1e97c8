// Resource files for the toolbox resource-file tests: an application file
// opened read-only at the bottom of the chain, and a writable file above it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"
#include "toolbox/foundation/VStr.h"

namespace drawingtest {

inline std::vector<uint8_t> StrList(std::initializer_list<std::string> items)
{
    std::vector<uint8_t> b = {0, uint8_t(items.size())};
    for (const auto& s : items) {
        b.push_back(uint8_t(s.size()));
        b.insert(b.end(), s.begin(), s.end());
    }
    return b;
}

inline std::vector<uint8_t> PStr(const std::string& s)
{
    std::vector<uint8_t> b(1, uint8_t(s.size()));
    b.insert(b.end(), s.begin(), s.end());
    return b;
}

inline int16_t WriteAndOpen(const std::string& path, const std::vector<platform::ResourceImage>& resources,
                            platform::SInt8 permission)
{
    platform::ResourceFileImage image;
    image.resources = resources;
    std::vector<uint8_t> bytes;
    if (platform::BuildResourceFile(image, &bytes) != platform::noErr) return -1;
    if (platform::WriteFileAtomically(path, bytes.data(), bytes.size()) != platform::noErr) return -1;
    return platform::OpenResFile(path, permission, platform::ResFileFork::Data);
}

// The text of a string in Mac Roman.
inline std::string Text(const VString& s)
{
    uint8_t p[256];
    s.ToPString(p, 255, kCharSetMac);
    return std::string(reinterpret_cast<const char*>(p) + 1, p[0]);
}

class ResFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetResourceManager();
        app = WriteAndOpen(dir / "app.rsrc", appResources, platform::fsRdPerm);
        ASSERT_NE(app, -1);
        doc = WriteAndOpen(dir / "doc.rsrc", docResources, platform::fsRdWrPerm);
        ASSERT_NE(doc, -1);
    }
    void TearDown() override { platform::ResetResourceManager(); }

    platform::testing::TempFolder dir;
    std::vector<platform::ResourceImage> appResources = {
        {platform::FourCC("STR#"), 130, false, "", 0, StrList({"one", "two", "three"})},
        {platform::FourCC("STR#"), 131, false, "", 0, {0, 9, 3, 'b', 'a'}},  // claims 9 items
        {platform::FourCC("STR "), 5, false, "", 0, PStr("single")},
        {platform::FourCC("STR "), 6, false, "", 0, {200, 'x'}},  // length past the end
        {platform::FourCC("TEXT"), 300, true, "Below", 0, {'a', 'p', 'p'}},
        {platform::FourCC("PICT"), 400, false, "", 0, std::vector<uint8_t>(12, 7)},
    };
    std::vector<platform::ResourceImage> docResources = {
        {platform::FourCC("TEXT"), 128, true, "Fred", 0, {'h', 'e', 'l', 'l', 'o'}},
        {platform::FourCC("TEXT"), 129, true, "128", 0, {'n', 'u', 'm'}},
        {platform::FourCC("DATA"), 130, false, "", 0, {1, 2, 3}},
        {platform::FourCC("DATA"), 131, false, "", 0, {4, 5}},
    };
    int16_t app = -1;
    int16_t doc = -1;
};

}  // namespace drawingtest
