// The looks under test: the application's own look icons compiled from
// resources/app/looks.r into a resource file that becomes gResFile, worlds
// to paint on, and a recording of the theme's calls.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/files/WholeFile.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/resfiles/Resources.h"
#include "platform/theme/ThemeRecording.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/toolbox/drawing/PainterTestSupport.h"
#include "tools/rescompile/ResourceCompiler.h"
#include "toolbox/drawing/IconResourceAccess.h"
#include "toolbox/drawing/VMacResFile.h"
#include "toolbox/drawing/VResourceFile.h"

namespace looktest {

using paintertest::PixelAt;
using paintertest::Pix;
using paintertest::World;

// The pixel a colour long paints.
inline uint32_t Px(uint32_t colorLong) { return Pix(colorLong); }

struct Call {
    std::string name;
    platform::ThemeCall args;
};

class LookTest : public paintertest::PainterTest {
protected:
    void SetUp() override
    {
        PainterTest::SetUp();
        platform::ClearGestaltOverrides();
        platform::ResetResourceManager();
        InstallIconResourceAccess();
        OpenLookIcons(true);
        platform::SetThemeCallListener(
            [](const platform::ThemeCall& call, void* data) {
                static_cast<std::vector<Call>*>(data)->push_back({call.name, call});
            },
            &calls);
    }
    void TearDown() override
    {
        platform::SetThemeCallListener(nullptr, nullptr);
        delete gResFile;
        gResFile = nullptr;
        platform::ResetResourceManager();
        platform::ClearGestaltOverrides();
        PainterTest::TearDown();
    }

    // gResFile over the compiled look icons, or over an empty file.
    void OpenLookIcons(bool withIcons)
    {
        delete gResFile;
        gResFile = nullptr;
        platform::ResourceFileImage image;
        if (withIcons) {
            const char* root = std::getenv("QZ_TEST_SOURCE_DIR");
            std::ifstream in(std::string(root ? root : ".") + "/resources/app/looks.r");
            std::stringstream text;
            text << in.rdbuf();
            std::string error;
            ASSERT_TRUE(rescompile::CompileSource(text.str(), "looks.r", &image, &error)) << error;
        }
        std::vector<uint8_t> bytes;
        ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
        const std::string path = dir / (withIcons ? "looks.rsrc" : "empty.rsrc");
        ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
        const int16_t ref = platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
        ASSERT_NE(ref, -1);
        gResFile = new VMacResFile(ref);
    }

    int32_t CountCalls(const std::string& name) const
    {
        int32_t n = 0;
        for (const Call& c : calls) n += c.name == name;
        return n;
    }
    const Call* FindCall(const std::string& name) const
    {
        for (const Call& c : calls)
            if (c.name == name) return &c;
        return nullptr;
    }

    platform::testing::TempFolder dir;
    std::vector<Call> calls;
};

// Every pixel of two ports of one size, compared.
inline bool SamePixels(platform::CGrafPtr a, platform::CGrafPtr b, int32_t width, int32_t height)
{
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if (PixelAt(a, x, y) != PixelAt(b, x, y)) return false;
    return true;
}

inline void Fill(platform::CGrafPtr port, uint32_t rgb, int32_t width, int32_t height)
{
    VPainter p(port, true);
    p.SetFillColor(uint32_t((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | uint32_t(rgb & 0xFF) << 16);
    p.FillVRect(0, 0, width, height);
}

}  // namespace looktest
