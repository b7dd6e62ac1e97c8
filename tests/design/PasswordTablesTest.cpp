// The password tables: both layouts, user and group numbering, the
// scrambling threshold of older structures, and tables whose counts lie.
#include <cstring>

#include "kernel/buffer/BufferQz.h"
#include "kernel/standins/EncrypteText.h"
#include "platform/core/Endian.h"
#include "resources/swap/PasswordTableKey.h"
#include "tests/design/DocFilesFixture.h"

namespace doctest {
namespace {

struct Table {
    Bytes bytes;
    void U16(int32_t v) { bytes.push_back(uint8_t(v >> 8)), bytes.push_back(uint8_t(v)); }
    void PString(const std::string& s, size_t width)
    {
        Bytes field(width, 0);
        field[0] = uint8_t(s.size());
        std::memcpy(field.data() + 1, s.data(), s.size());
        bytes.insert(bytes.end(), field.begin(), field.end());
    }
    // A user record with its password scrambled as stored, `fill` in the
    // carried bytes.
    void User(const std::string& name, const std::string& password, bool old, uint8_t fill)
    {
        bytes.insert(bytes.end(), {0, 0, 0, 1});
        PString(name, 32);
        unsigned char plain[16] = {uint8_t(password.size())}, scrambled[16] = {0};
        std::memcpy(plain + 1, password.data(), password.size());
        encryptepass(scrambled, plain);
        bytes.insert(bytes.end(), scrambled, scrambled + 16);
        PString("note", old ? 16 : 32);
        for (int i = 0; i < 28; ++i) bytes.push_back(uint8_t(fill + i));
    }
    void Group(const std::vector<int16_t>& members)
    {
        U16(int32_t(members.size()));
        bytes.insert(bytes.end(), 32, 0x47);
        U16(int32_t(members.size()));
        U16(0);
        for (int16_t m : members) U16(m);
    }
    Bytes Scrambled() const
    {
        Bytes s = bytes;
        encryptetext(s.data(), int32_t(s.size()), PasswordTableKey());
        return s;
    }
};

int16_t Unflatten(const Bytes& bytes, platform::Handle* users, int16_t* u, platform::Handle* groups, int16_t* g)
{
    platform::Handle h = nullptr;
    platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size()));
    buffertemp b;
    InitBufTempForRead(&b, 0, h);
    const int16_t err = UnflattenPasswords(&b, users, u, groups, g);
    platform::DisposeHandle(h);
    return err;
}

Bytes Record(platform::Handle h) { return h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{}; }

class PasswordTables : public DocFiles {
protected:
    // A container holding the tables, current as a structure would be.
    int16_t Store(uint8_t level, const Bytes& table0, const Bytes& table1)
    {
        const platform::FSSpec fileSpec = InFolder("P" + std::to_string(++made_) + ".QzB");
        const int16_t file = createres(fileSpec, FourCC("Qz06"), FourCC("BAS5"));
        EXPECT_GT(file, 0);
        useres(file);
        Bytes prqz(3648, 0);
        prqz[4] = level;
        Add(FourCC("PRQz"), 0, prqz);
        Add(FourCC("PAQz"), 0, table0);
        Add(FourCC("PAQz"), 1, table1);
        UseQzRes(file);
        return file;
    }
    void Add(uint32_t type, int16_t id, const Bytes& bytes)
    {
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
        ASSERT_TRUE(xaddres(h, type, id));
    }
    int made_ = 0;
};

TEST_F(PasswordTables, BothLayoutsReadIntoCurrentRecords)
{
    for (bool tagged : {true, false}) {
        Table empty;
        if (tagged) empty.U16(0xA0A0);
        empty.U16(0), empty.U16(0);
        platform::Handle users = nullptr, groups = nullptr;
        int16_t u = -1, g = -1;
        EXPECT_EQ(Unflatten(empty.bytes, &users, &u, &groups, &g), 0);
        EXPECT_EQ(users, nullptr);
        EXPECT_EQ(groups, nullptr);
        EXPECT_EQ(u + g, 0);
    }

    Table old;
    old.U16(1), old.U16(1);
    old.User("Designer", "pw", true, 0x30);
    old.Group({1});
    platform::Handle users = nullptr, groups = nullptr;
    int16_t u = 0, g = 0;
    ASSERT_EQ(Unflatten(old.bytes, &users, &u, &groups, &g), 0);
    ASSERT_EQ(u, 1);
    ASSERT_EQ(g, 1);
    const Bytes user = Record(reinterpret_cast<platform::Handle*>(*users)[0]);
    ASSERT_EQ(user.size(), 112u);
    EXPECT_EQ(Bytes(user.begin(), user.begin() + 52), Bytes(old.bytes.begin() + 4, old.bytes.begin() + 56));
    EXPECT_EQ(Bytes(user.begin() + 52, user.begin() + 57), (Bytes{4, 'n', 'o', 't', 'e'}));
    EXPECT_EQ(Bytes(user.begin() + 84, user.end()), Bytes(old.bytes.begin() + 4 + 68, old.bytes.begin() + 4 + 96));
    const Bytes group = Record(reinterpret_cast<platform::Handle*>(*groups)[0]);
    ASSERT_EQ(group.size(), 38u);
    EXPECT_EQ(platform::ReadBE16(&group[36]), 1);
    free_passtab(users, u);
    free_groupuser(groups, g);
}

TEST_F(PasswordTables, UsersAreNumberedByTable)
{
    Table t0, t1;
    t0.U16(0xA0A0), t0.U16(2), t0.U16(1);
    t0.User("Designer", "", false, 1);
    t0.User("Admin", "", false, 2);
    t0.Group({1, -11, 15001});
    t1.U16(0xA0A0), t1.U16(1), t1.U16(0);
    t1.User("Remote", "", false, 3);
    Store(15, t0.Scrambled(), t1.Scrambled());
    lirepass(2);
    ASSERT_EQ(globnbpass, 2);
    ASSERT_EQ(globnbpassu, 1);
    ASSERT_EQ(globnbgroup, 1);
    EXPECT_EQ(Record(indpass(1))[5], 'D');
    EXPECT_EQ(Record(indpass(2))[5], 'A');
    EXPECT_EQ(Record(indpass(-11))[5], 'R');
    for (int16_t none : {0, -10, 3, -12, -1})
        EXPECT_EQ(indpass(none), nullptr) << none;
    EXPECT_EQ(platform::GetHandleSize(reinterpret_cast<platform::Handle*>(*gu)[0]), 38 + 4);
    EXPECT_EQ(platform::GetHandleSize(guu), 0) << "an empty table, not a missing one";
    EXPECT_FALSE(fatalerr);
}

TEST_F(PasswordTables, LongTablesOfOlderStructuresWereStoredUnscrambled)
{
    Table t;
    t.U16(0xA0A0), t.U16(1), t.U16(0);
    t.User("Designer", "pw", false, 1);
    Table big = t;
    big.bytes.resize(40000, 0);
    Table empty;
    empty.U16(0), empty.U16(0);

    const int16_t old = Store(14, big.bytes, empty.Scrambled());
    lirepass(2);
    EXPECT_EQ(globnbpass, 1) << "read as it stands";
    closeres(old, false);
    const int16_t oldSmall = Store(14, t.Scrambled(), empty.Scrambled());
    EXPECT_EQ(Record(indpass(1)).size(), 112u);
    lirepass(2);
    EXPECT_EQ(globnbpass, 1) << "unscrambled";
    closeres(oldSmall, false);
    // Decided for each structure: a current one unscrambles its long table.
    Store(15, big.Scrambled(), empty.Scrambled());
    ResetPasswordTables();
    lirepass(2);
    EXPECT_EQ(globnbpass, 1);
    EXPECT_FALSE(fatalerr);
}

TEST_F(PasswordTables, CountsThatDoNotFitAreRefusedAndKeepTheInstalledTables)
{
    Table good;
    good.U16(0xA0A0), good.U16(1), good.U16(1);
    good.User("Designer", "pw", false, 1);
    good.Group({1});
    Table negativeMembers;
    negativeMembers.U16(0xA0A0), negativeMembers.U16(0), negativeMembers.U16(1);
    negativeMembers.U16(-3);
    negativeMembers.bytes.resize(200, 0);
    Table manyUsers;
    manyUsers.U16(0xA0A0), manyUsers.U16(30000), manyUsers.U16(0);
    manyUsers.bytes.resize(200, 0);
    Table negativeUsers;
    negativeUsers.U16(-5), negativeUsers.U16(0);
    // A group sized for one member whose record claims forty.
    Table countsDiffer;
    countsDiffer.U16(0xA0A0), countsDiffer.U16(0), countsDiffer.U16(1);
    countsDiffer.Group({1});
    countsDiffer.bytes[6 + 2 + 32 + 1] = 40;
    countsDiffer.bytes.resize(200, 0);

    for (const Table* bad : {&negativeMembers, &manyUsers, &negativeUsers, &countsDiffer}) {
        platform::Handle users = nullptr, groups = nullptr;
        int16_t u = 7, g = 7;
        EXPECT_EQ(Unflatten(bad->bytes, &users, &u, &groups, &g), -1);
        EXPECT_EQ(users, nullptr);
        EXPECT_EQ(groups, nullptr);
        EXPECT_EQ(u + g, 0);
    }
    Store(15, good.Scrambled(), good.Scrambled());
    lirepass(2);
    ASSERT_EQ(globnbpass, 1);
    platform::Handle installed = indpass(1);
    Store(15, manyUsers.Scrambled(), good.Scrambled());
    lirepass(2);
    EXPECT_TRUE(fatalerr);
    EXPECT_EQ(indpass(1), installed);

    // Memory running out part-way leaves no partial table.
    int16_t err = 1;
    for (int32_t after = 0; after < 40 && err; ++after) {
        platform::Handle users = nullptr, groups = nullptr;
        int16_t u = 0, g = 0;
        platform::ScopedFault fault(platform::FaultKind::Allocation, after);
        err = Unflatten(good.bytes, &users, &u, &groups, &g);
        if (err) {
            EXPECT_EQ(users, nullptr) << after;
            EXPECT_EQ(groups, nullptr) << after;
        }
        free_passtab(users, u);
        free_groupuser(groups, g);
    }
    EXPECT_EQ(err, 0) << "the group's record is among the allocations";
}

TEST_F(PasswordTables, TheAdministratorPasswordComparesScrambled)
{
    Table t;
    t.U16(0xA0A0), t.U16(2), t.U16(0);
    t.User("Designer", "secret", false, 1);
    t.User("Admin", "", false, 1);
    Table empty;
    empty.U16(0), empty.U16(0);
    Store(15, t.Scrambled(), empty.Scrambled());
    EXPECT_TRUE(isthereapassword(2));
    const unsigned char right[] = "\x06secret", wrong[] = "\x06secreT", none[] = "";
    EXPECT_TRUE(issuperuser(right));
    EXPECT_FALSE(issuperuser(wrong));
    EXPECT_FALSE(issuperuser(none));
    unsigned char scrambled[16];
    const unsigned char longer[] = "\x12" "abcdefghijklmnopqr";
    encryptepass(scrambled, longer);
    EXPECT_EQ(scrambled[0], 15);
    Store(15, empty.Scrambled(), empty.Scrambled());
    EXPECT_FALSE(isthereapassword(2));
    EXPECT_TRUE(issuperuser(wrong)) << "no users";
}

TEST_F(PasswordTables, ALittleEndianStructureReadsAlike)
{
    const std::string users = "user Designer password \"pw\" owner 7\nuser Admin\nusergroup G\n  user Admin\n";
    std::vector<std::vector<Bytes>> read;
    for (const char* order : {"big", "little"}) {
        const platform::FSSpec base = Build(std::string("structure E") + order + "\norder " + order + "\n" + users);
        const int16_t file = openres(base, true);
        ASSERT_GT(file, 0);
        UseQzRes(file);
        lirepass(2);
        ASSERT_EQ(globnbpass, 2) << order;
        ASSERT_EQ(globnbgroup, 1) << order;
        read.push_back({Record(indpass(1)), Record(indpass(2)), Record(reinterpret_cast<platform::Handle*>(*gu)[0])});
        closeres(file, false);
    }
    EXPECT_EQ(read[0], read[1]);
    EXPECT_EQ(platform::ReadBE32(&read[0][0][108]), 7u);
}

// The server's reply to the tables request: its counter, then both tables,
// in the server's byte order; one that lies about its counts is refused.
TEST_F(PasswordTables, TheServersReplyIsReadInItsByteOrder)
{
    for (const bool otherOrder : {false, true}) {
        SCOPED_TRACE(otherOrder);
        Bytes reply = otherOrder ? Bytes{7, 0, 0, 0} : Bytes{0, 0, 0, 7};
        reply.insert(reply.end(), 8, 0);  // two empty tables
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(reply.data(), &h, platform::Size(reply.size())), 0);
        PassTable table0, table1;
        int32_t counter = -1;
        EXPECT_EQ(UnflattenServerTables(h, otherOrder, &table0, &table1, &counter), 0);
        EXPECT_EQ(counter, 7);
        EXPECT_EQ(table0.userCount + table0.groupCount + table1.userCount + table1.groupCount, 0);
        // Table 1 claims a user its bytes lack.
        reply[reply.size() - 3] = otherOrder ? 0 : 1;
        reply[reply.size() - 4] = otherOrder ? 1 : 0;
        platform::DisposeHandle(h);
        ASSERT_EQ(platform::PtrToHand(reply.data(), &h, platform::Size(reply.size())), 0);
        counter = -1;
        EXPECT_NE(UnflattenServerTables(h, otherOrder, &table0, &table1, &counter), 0);
        EXPECT_EQ(counter, 0);
        EXPECT_EQ(table0.users, nullptr);
        EXPECT_EQ(table1.users, nullptr);
        platform::DisposeHandle(h);
    }
}

}  // namespace
}  // namespace doctest
