// The test server publishing password tables as a structure's 'PAQz' 0
// and 1.
#pragma once

#include "kernel/store/StoreAccess.h"
#include "platform/core/Endian.h"
#include "tests/design/UserTableBytes.h"
#include "tests/network/ServerFileSupport.h"

namespace usertables {

inline ServerResource Resource(bool little, ResType type, int16_t id, const Bytes& host)
{
    ServerResource r;
    r.file = serverfile::kStructure;
    r.type = type;
    r.id = id;
    r.data = serverfile::InServerOrder(little, type, host);
    return r;
}

// A server whose structure holds a parameter record (level 15, design
// group `designGroup`) and the two tables.
inline TestServerConfig UsersConfig(bool little, const Table& table0, const Table& table1, int16_t designGroup = 1)
{
    TestServerConfig config;
    config.littleEndian = little;
    config.files = {{int32_t(serverfile::kStructure), platform::FourCC("BAS5"), "Base"}};
    Bytes prqz(3648, 0);
    prqz[4] = 15;
    platform::WriteBE32(prqz.data() + 48, uint32_t(uint16_t(designGroup)));
    config.resources = {Resource(little, platform::FourCC("PRQz"), 0, prqz),
                        Resource(little, platform::FourCC("PAQz"), 0, table0.Stored()),
                        Resource(little, platform::FourCC("PAQz"), 1, table1.Stored())};
    return config;
}

// The test server's structure open as the current container, in either
// of the server's byte orders, and what its first client sent.
class ServerUsersTest : public serverfile::ServerFileTest {
protected:
    void SetUp() override
    {
        ServerFileTest::SetUp();
        ResetPasswordTables();
    }
    void TearDown() override
    {
        ResetPasswordTables();
        numresfalse = 0;
        ServerFileTest::TearDown();
    }
    void Publish(const TestServerConfig& config)
    {
        Start(config);
        numresfalse = openres2(CacheSpec("Base.cache"), false);
        ASSERT_GT(numresfalse, 0);
    }
    int Sent(int16_t code)
    {
        int n = 0;
        for (int16_t c : ClientCodes()) n += c == code;
        return n;
    }
};

}  // namespace usertables
