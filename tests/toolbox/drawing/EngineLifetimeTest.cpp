// What an engine leaves behind when it goes: neither the host entry it
// installed nor a toolbox resource file pointing at its freed host file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/toolbox/drawing/ResFileFixture.h"
#include "toolbox/drawing/EngineResFiles.h"
#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/system/ToolboxResources.h"

namespace {

using namespace drawingtest;

int16_t gHostFile = -1;

void Host(int16_t selector, parm* block)
{
    if (selector == kSelEngineReset) block->result304 = gHostFile;
    if (selector == kSelFormatReal) std::memcpy(block->text310, "\x04host", 5);
}

void OtherHost(int16_t, parm*) {}

std::string Formatted(double value)
{
    VStr<255> format, text;
    VEngine::FormatReal(value, format, text);
    return Text(text);
}

class EngineLifetime : public ResFiles {
protected:
    void SetUp() override
    {
        ResFiles::SetUp();
        InstallEngineResourceFiles();
        gHostFile = app;
    }
    void TearDown() override
    {
        SetEngineResFileMakers({});
        gCallQz = nullptr;
        gResFile = nullptr;
        ResFiles::TearDown();
    }
};

TEST_F(EngineLifetime, TheEntryAndTheToolboxFileGoWithTheEngine)
{
    {
        VEngine engine(Host);
        ASSERT_NE(engine.GetHostResFile(), nullptr);
        EXPECT_NE(engine.GetDesignResFile(), nullptr);
        EXPECT_EQ(gResFile, engine.GetHostResFile());
        EXPECT_EQ(ToolboxResourceIDs(platform::FourCC("STR#")), (std::vector<int16_t>{130, 131}));
        VStr<255> text;
        gResFile->GetString(text, 130, 3);
        EXPECT_EQ(Text(text), "three") << "the host's file is searched";
        EXPECT_EQ(Formatted(0.25), "host");
    }
    EXPECT_EQ(gCallQz, nullptr);
    EXPECT_EQ(gResFile, nullptr) << "no toolbox file naming the freed host file";
    EXPECT_EQ(Formatted(0.25), "0.25") << "the toolbox's own text once no host is left";
    VStr<255> text;
    text.FromCString(reinterpret_cast<const uint8_t*>("old"), kCharSetMac);
    ToolboxGetString(text, 130, 1);
    EXPECT_EQ(Text(text), "") << "no toolbox file: no string";
}

TEST_F(EngineLifetime, AnEntryInstalledSinceIsLeftInPlace)
{
    {
        VEngine engine(Host);
        gCallQz = OtherHost;
    }
    EXPECT_EQ(gCallQz, OtherHost);
}

TEST_F(EngineLifetime, AResetEngineKeepsOnlyItsNewHostFile)
{
    VEngine engine(Host);
    gHostFile = doc;
    engine.Reset();
    ASSERT_NE(engine.GetHostResFile(), nullptr);
    EXPECT_EQ(gResFile, engine.GetHostResFile());
    VStr<255> text;
    gResFile->GetString(text, 130, 1);
    EXPECT_EQ(Text(text), "one") << "the new file searches the chain below it";

    // The host file let go at the next reset writes what was added to it.
    ASSERT_EQ(engine.GetHostResFile()->CreateResource(platform::FourCC("DATA"), 140, nullptr, "new", 3), 140);
    engine.Reset();
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::ReadWholeFile(dir / "doc.rsrc", &bytes), platform::noErr);
    platform::ResourceFileImage image;
    ASSERT_EQ(platform::ParseResourceFile(bytes.data(), bytes.size(), &image), platform::noErr);
    int32_t found = 0;
    for (const auto& r : image.resources)
        found += r.type == platform::FourCC("DATA") && r.id == 140 && r.data == std::vector<uint8_t>{'n', 'e', 'w'};
    EXPECT_EQ(found, 1);
}

}  // namespace
