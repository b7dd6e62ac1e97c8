// Shared set-up of the tests of server-backed resource files: the test
// server over loopback, the store with its connection installed, a
// temporary cache folder, a virtual clock, a second connection standing
// for another client, and the server's request journal.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "kernel/byteswap/SwapTemplates.h"
#include "network/CQztcp.h"
#include "network/NetErrors.h"
#include "network/Requests.h"
#include "network/StoreConnection.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "resources/ResourceApi.h"
#include "resources/ServerHooks.h"
#include "resources/server/ServerClient.h"
#include "resources/server/ServerConnection.h"
#include "resources/server/ServerReplies.h"
#include "resources/swap/SwapResource.h"
#include "tests/network/ShippedTemplates.h"
#include "tests/network/TestServer.h"
#include "tests/platform/files/TempFolder.h"

namespace serverfile {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;

inline Bytes Words(std::initializer_list<uint32_t> values, int width)
{
    Bytes b;
    for (uint32_t v : values)
        for (int i = width - 1; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
    return b;
}

inline Bytes Contents(Handle h)
{
    if (!h) return {};
    return Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h));
}

inline Bytes Take(Handle h)
{
    Bytes b = Contents(h);
    if (h) platform::DisposeHandle(h);
    return b;
}

inline Handle MakeHandle(const Bytes& bytes)
{
    Handle h = nullptr;
    platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size()));
    return h;
}

// Host-order contents as a server of that order keeps them.
inline Bytes InServerOrder(bool little, ResType type, Bytes contents)
{
    if (little) SwapResourceEnvoi(1, type, int32_t(contents.size()), contents.data());
    return contents;
}

constexpr uint32_t kStructure = 7;
constexpr uint32_t kAlternative = 8;
constexpr uint32_t kStamp = 50000;

struct Sample {
    ResType type;
    int16_t id;
    Bytes host;
};

// Word, long and plain contents, so that conversion by type shows.
inline std::vector<Sample> Samples()
{
    return {{FourCC("#GRP"), 128, Words({1, 0x0102, 0xFFFE, 7}, 2)},
            {FourCC("#GRP"), 129, Words({2, 3}, 2)},
            {FourCC("QzQz"), 128, Words({0x01020304, 0xA0B0C0D0}, 4)},
            {FourCC("TEXT"), 128, {'p', 'l', 'a', 'i', 'n'}},
            {FourCC("TEXT"), 129, {'o', 't', 'h', 'e', 'r'}}};
}

class ServerFileTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ASSERT_EQ(networktest::LoadShippedTemplates(), 0);
        ::setenv("QZ_CACHE_DIR", cacheDir_.path().c_str(), 1);
        platform::SetClock(&clock_);
        ResetResManager();
        initresman();
        ResetRequestLayer();
        InstallStoreConnection();
    }
    void TearDown() override
    {
        probe_.Close();
        ResetResManager();
        ResetRequestLayer();
        ServerConnection() = ResServerConnection();
        ServerHooks() = ResServerHooks();
        server_.Stop();
        platform::SetClock(nullptr);
        ResetSwapTemplates();
        ::unsetenv("QZ_CACHE_DIR");
    }

    bool Little() const { return GetParam(); }

    TestServerConfig Config(bool little)
    {
        TestServerConfig config;
        config.littleEndian = little;
        config.serverTime = clock_.Seconds() - 100;
        config.files = {{int32_t(kStructure), FourCC("BAS5"), "Base"},
                        {9, FourCC("PRCS"), "Procedures"},
                        {int32_t(kAlternative), FourCC("AlDB"), "Alt"}};
        uint32_t stamp = kStamp;
        for (const Sample& s : Samples()) {
            ServerResource r;
            r.file = kStructure;
            r.type = s.type;
            r.id = s.id;
            r.data = InServerOrder(little, s.type, s.host);
            r.stamp = stamp++;
            if (s.type == FourCC("#GRP") && s.id == 128) r.name = "Main";
            config.resources.push_back(r);
        }
        config.mapBytesInFrame = 10;
        return config;
    }

    void Start(const TestServerConfig& config)
    {
        ASSERT_TRUE(server_.Start(config));
        Connect();
    }
    void Connect()
    {
        ASSERT_EQ(OpenServerConnection("127.0.0.1", server_.Port()), 0);
        CurrentConnection()->SetTimeout(20000);
    }

    FSSpec CacheSpec(const std::string& name) const
    {
        FSSpec folder, fileSpec;
        EXPECT_EQ(platform::FindSpecialFolder(platform::SpecialFolder::Cache, true, &folder), 0);
        platform::FSMakeFSSpec(folder, name, &fileSpec);
        return fileSpec;
    }

    // A request of another client, on a connection of its own.
    Handle OnProbe(int16_t code, const Bytes& payload, int16_t sendTemplate, int16_t replyTemplate)
    {
        CQztcp* first = CurrentConnection();
        if (!probe_.IsOpen()) {
            probe_.SetTimeout(20000);
            EXPECT_EQ(probe_.Open("127.0.0.1", server_.Port()), 0);
        }
        SetCurrentConnection(&probe_);
        Handle h = sendxrequest(code, payload.data(), int32_t(payload.size()), sendTemplate, replyTemplate);
        probeErr_ = requesterr();
        SetCurrentConnection(first);
        return h;
    }

    // Every request the server received, the journal's own asks left out.
    std::vector<JournalEntry> Journal()
    {
        CQztcp reader;
        reader.SetTimeout(20000);
        EXPECT_EQ(reader.Open("127.0.0.1", server_.Port()), 0);
        CQztcp* first = CurrentConnection();
        SetCurrentConnection(&reader);
        Bytes bytes = Take(sendxrequest(kJournalRequest, nullptr, 0, 0, 0));
        SetCurrentConnection(first);
        return DecodeJournal(bytes.data(), bytes.size());
    }
    // The codes the first client sent, in order.
    std::vector<int16_t> ClientCodes()
    {
        std::vector<int16_t> codes;
        for (const JournalEntry& e : Journal())
            if (e.connection == 1) codes.push_back(e.code);
        return codes;
    }

    platform::VirtualClock clock_{100000};
    platform::testing::TempFolder cacheDir_;
    TestServer server_;
    CQztcp probe_;
    int16_t probeErr_ = 0;
};

}  // namespace serverfile
