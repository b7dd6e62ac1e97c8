// Shared set-up of the store's tests: a fresh manager, a virtual clock and
// a temporary folder per test, and helpers to look at files byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"
#include "tests/platform/files/TempFolder.h"

namespace storetest {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;

inline Bytes ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteWholeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline uint32_t BE32(const Bytes& b, size_t at) { return platform::ReadBE32(&b[at]); }

inline Handle MakeHandle(const Bytes& bytes)
{
    Handle h = nullptr;
    platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size()));
    return h;
}

inline Bytes Contents(Handle h)
{
    if (!h) return {};
    return Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h));
}

// A payload of `size` bytes that differs by seed.
inline Bytes Pattern(size_t size, uint32_t seed)
{
    Bytes b(size);
    for (size_t i = 0; i < size; ++i) b[i] = uint8_t((i * 31 + seed * 17 + (i >> 8)) & 0xFF);
    return b;
}

// The shipped template file, with a whole-contents template for 'PRQz'
// of the test's own making in front.
inline void LoadStoreTemplates()
{
    const char* source = std::getenv("QZ_TEST_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    std::ifstream in(std::string(source) + "/resources/ByteSwap.txt", std::ios::binary);
    std::string text = "PRQz 11\nlong\nword [3]\nend\n";
    text.append(std::istreambuf_iterator<char>(in), {});
    ASSERT_EQ(InitTokensFromText(text.data(), int32_t(text.size())), 0) << SwapFileMessage();
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadStoreTemplates();
        platform::SetClock(&clock_);
        ResetResManager();
        initresman();
    }
    void TearDown() override
    {
        ResetResManager();
        platform::ClearAllFaults();
        platform::SetClock(nullptr);
        ResetSwapTemplates();
    }

    FSSpec Spec(const std::string& name) const
    {
        FSSpec fileSpec;
        platform::FSMakeFSSpec(dir_ / name, &fileSpec);
        return fileSpec;
    }
    std::string Path(const std::string& name) const { return dir_ / name; }

    int16_t CreateFile(const std::string& name) { return createres(Spec(name), FourCC("QzBw"), FourCC("QzDB")); }

    platform::VirtualClock clock_;
    platform::testing::TempFolder dir_;
};

}  // namespace storetest
