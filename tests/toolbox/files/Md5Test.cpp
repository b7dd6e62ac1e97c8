#include <gtest/gtest.h>

#include "tests/toolbox/files/ArchiveTestSupport.h"

using namespace archive_testing;

namespace {

std::string DigestInPieces(const std::string& text, size_t cut)
{
    VChecksumMD5 md5;
    md5.Update(text.data(), uint32_t(cut));
    md5.Update(nullptr, 5);  // nothing to hash: the digest runs on unchanged
    md5.Update(text.data() + cut, 0);
    md5.Update(text.data() + cut, uint32_t(text.size() - cut));
    uint8_t digest[16];
    md5.GetChecksum(digest);
    return Hex(digest, 16);
}

}  // namespace

TEST(Md5, PublishedSuiteInOneUpdateAndSplitAtEveryOffset)
{
    std::string eighty;
    for (int i = 0; i < 8; ++i) eighty += "1234567890";
    const std::pair<std::string, std::string> suite[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {eighty, "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, expected] : suite) {
        EXPECT_EQ(Md5Hex(text.data(), uint32_t(text.size())), expected) << text;
        for (size_t cut = 0; cut <= text.size(); ++cut) EXPECT_EQ(DigestInPieces(text, cut), expected) << cut;
    }
}

TEST(Md5, OneUpdateOf65536BytesHashesThemAll)
{
    // A 16-bit length would hash these as nothing at all.
    const std::string a(65536, 'a');
    EXPECT_EQ(Md5Hex(a.data(), uint32_t(a.size())), "2d61aa54b58c2e94403fb092c3dbc027");
    EXPECT_NE(Md5Hex(a.data(), uint32_t(a.size())), Md5Hex("", 0));
}
