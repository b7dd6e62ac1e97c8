// Project methods made by Replace Command: the directory record appended
// whole and zero-filled, the text one comment, the callers of the command
// then calling the method; a failed write leaves no record and no object.
#include "design/links/XRef.h"
#include "design/rename/ProjectMethods.h"
#include "resources/ResourceApi.h"
#include "tests/design/MethodTextFixture.h"

namespace readtest {
namespace {

class ProjectMethods : public MethodTextFixture {
protected:
    void SetUp() override
    {
        MethodTextFixture::SetUp();
        ASSERT_TRUE(ReadDemo());
    }
    struct PName {
        explicit PName(const std::string& s) { apptest::ToP(s, bytes); }
        operator const unsigned char*() const { return bytes; }
        unsigned char bytes[256];
    };
    Bytes Directory()
    {
        UseQzRes(doc_.fResFile);
        return Stored(FourCC("TPQz"), 0);
    }
};

TEST_F(ProjectMethods, TheRecordIsZeroFilledButForNameAndId)
{
    struct Case {
        std::string name, stored;
    } cases[] = {
        {"Upper_Name", "Upper_Name"},
        {std::string(31, 'a'), std::string(31, 'a')},  // exact fit
        {std::string(32, 'b'), std::string(31, 'b')},  // one past: cut
    };
    for (const Case& c : cases) {
        const Bytes before = Directory();
        TObjQz* made = nullptr;
        ASSERT_EQ(NewProjectMethod(&doc_, PName(c.name), PName("Replaced: " + c.name), &made), 0) << c.name;
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(P(made->name), c.stored);
        const Bytes after = Directory();
        ASSERT_EQ(after.size(), before.size() + kProcRecordSize);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
        Bytes expected(kProcRecordSize, 0);
        expected[0] = uint8_t(c.stored.size());
        std::copy(c.stored.begin(), c.stored.end(), expected.begin() + 1);
        expected[32] = uint8_t(uint16_t(made->id) >> 8);
        expected[33] = uint8_t(made->id);
        EXPECT_EQ(Bytes(after.end() - kProcRecordSize, after.end()), expected) << c.name;
        EXPECT_EQ(Texts(Method(c.stored)), (std::vector<std::string>{"  `Replaced: " + c.name}));
    }
}

TEST_F(ProjectMethods, TheCommandsCallersCallTheNewMethod)
{
    TObjQz* command = SearchObj_Id(&doc_, 3, 15);
    ASSERT_NE(command, nullptr);
    ASSERT_EQ(command->usedBy->Size(), 1);
    auto* tableMethod = static_cast<TGnlProcObjQz*>(command->usedBy->At(0));
    TObjQz* upper = nullptr;
    ASSERT_EQ(NewProjectMethod(&doc_, PName("Upper_Name"), PName("Replaced: Upper_Name"), &upper), 0);
    const std::vector<std::string> before = Texts(tableMethod);
    ASSERT_EQ(tableMethod->ReplaceCmd(command, upper), 0);
    std::vector<std::string> expected = before;
    expected[1] = "Upper_Name([Customers]Name)";
    EXPECT_EQ(Texts(tableMethod), expected);
    EXPECT_TRUE(IsInList(tableMethod->uses, upper));
    EXPECT_FALSE(IsInList(tableMethod->uses, command));
}

// A deleted method's record leaves the directory, the later ones moving up;
// a deleted table takes the first free deleted name; a deleted menu bar
// frees its own slot of the bar directory and no other.
TEST_F(ProjectMethods, DeletionsLeaveTheirDirectories)
{
    TObjQz *first = nullptr, *second = nullptr;
    ASSERT_EQ(NewProjectMethod(&doc_, PName("First"), PName("1"), &first), 0);
    ASSERT_EQ(NewProjectMethod(&doc_, PName("Second"), PName("2"), &second), 0);
    Bytes expected = Directory();
    expected.erase(expected.end() - 2 * kProcRecordSize, expected.end() - kProcRecordSize);
    first->DeleteObj(true);
    EXPECT_EQ(Directory(), expected);
    for (const char* table : {"Customers", "Lines"}) Find(1, table)->DeleteObj(true);
    EXPECT_NE(Find(1, "Deleted_Table"), nullptr);
    EXPECT_NE(Find(1, "Deleted_Table1"), nullptr);
    UseQzRes(doc_.fResFile);
    const Bytes bars = Stored(FourCC("LIBA"), 0);
    NewObj_Id(&doc_, 5, PName("Unslotted"), 77, false)->DeleteObj(true);
    UseQzRes(doc_.fResFile);
    EXPECT_EQ(Stored(FourCC("LIBA"), 0), bars);
    auto* main = static_cast<TMBarObjQz*>(Find(5, "Main"));
    ASSERT_GT(main->libaSlot, 0);
    ASSERT_GE(bars.size(), size_t(2 * main->libaSlot + 2));
    Bytes freed = bars;
    freed[size_t(2 * main->libaSlot)] = freed[size_t(2 * main->libaSlot + 1)] = 0xFF;
    main->DeleteObj(true);
    UseQzRes(doc_.fResFile);
    EXPECT_EQ(Stored(FourCC("LIBA"), 0), freed);
}

TEST_F(ProjectMethods, AFailedWriteStoresAndMakesNothing)
{
    int failed = 0;
    for (int step = 0;; ++step) {
        ASSERT_LT(step, 500);
        ASSERT_TRUE(updateres(doc_.fResFile));
        const Bytes file = StoredBytes(built_.dataPath);
        TObjQz* made = nullptr;
        platform::InjectFault(platform::FaultKind::DiskFull, step);
        const int16_t err = NewProjectMethod(&doc_, PName("Upper_Name"), PName("Replaced"), &made);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        platform::ClearFault(platform::FaultKind::DiskFull);
        // A write after the commit (space given up, written with the next
        // commit when it fails) does not fail the command.
        if (!fired || err == 0) {
            EXPECT_EQ(err, 0);
            EXPECT_NE(Method("Upper_Name"), nullptr);
            break;
        }
        ++failed;
        EXPECT_EQ(made, nullptr);
        EXPECT_EQ(Method("Upper_Name"), nullptr) << step;
        EXPECT_TRUE(StoredBytes(built_.dataPath) == file) << step;
    }
    EXPECT_GT(failed, 0);
}

// A document without a directory of project methods gets one holding the
// new method's record alone.
TEST_F(ProjectMethods, AMissingDirectoryIsMadeWithTheOneRecord)
{
    UseQzRes(doc_.fResFile);
    ASSERT_TRUE(rmveresbyid(FourCC("TPQz"), 0, true));
    ASSERT_TRUE(Directory().empty());
    TObjQz* made = nullptr;
    ASSERT_EQ(NewProjectMethod(&doc_, PName("First"), PName("1"), &made), 0);
    ASSERT_NE(made, nullptr);
    Bytes expected(kProcRecordSize, 0);
    expected[0] = 5;
    std::copy_n("First", 5, expected.begin() + 1);
    expected[32] = uint8_t(uint16_t(made->id) >> 8);
    expected[33] = uint8_t(made->id);
    EXPECT_EQ(Directory(), expected);
    EXPECT_EQ(Method("First"), made);
}

// Memory running out at any step stores nothing and lists nothing; the
// same command then run again makes exactly one record and one method.
TEST_F(ProjectMethods, AShortageStoresNothingAndARetryMakesOne)
{
    const auto recordsNamed = [&](const std::string& name) {
        const Bytes dir = Directory();
        int count = 0;
        for (size_t at = 0; at + kProcRecordSize <= dir.size(); at += kProcRecordSize)
            if (dir[at] == name.size() && std::equal(name.begin(), name.end(), dir.begin() + std::ptrdiff_t(at) + 1)) ++count;
        return count;
    };
    const auto objectsNamed = [&](const std::string& name) {
        ObjListHdl list = GetObjListe(doc_.fTypeList, 2);
        int count = 0;
        for (int32_t i = 0; list && i < list->Size(); ++i)
            if (P(list->At(i)->name) == name) ++count;
        return count;
    };
    int failed = 0;
    for (int step = 0;; ++step) {
        ASSERT_LT(step, 500);
        const std::string name = "Short_" + std::to_string(step);
        const Bytes dir = Directory();
        // The directory is read from the store again, as after a reopen:
        // memory may run out reading it too.
        if (platform::Handle loaded = xget1res(FourCC("TPQz"), 0); loaded && detachres(loaded))
            platform::DisposeHandle(loaded);
        const Bytes file = FileBytes(built_.dataPath);
        TObjQz* made = nullptr;
        platform::InjectFault(platform::FaultKind::Allocation, step);
        const int16_t err = NewProjectMethod(&doc_, PName(name), PName("Replaced"), &made);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
        platform::ClearFault(platform::FaultKind::Allocation);
        if (!fired) {
            ASSERT_EQ(err, 0);
            EXPECT_EQ(recordsNamed(name), 1);
            EXPECT_EQ(objectsNamed(name), 1);
            break;
        }
        if (err == 0) {
            // Memory short only where it could be done without: whole.
            EXPECT_EQ(recordsNamed(name), 1) << step;
            EXPECT_EQ(objectsNamed(name), 1) << step;
            EXPECT_EQ(Directory().size(), dir.size() + kProcRecordSize) << step;
            continue;
        }
        ++failed;
        EXPECT_EQ(err, platform::memFullErr) << step;
        EXPECT_EQ(made, nullptr) << step;
        EXPECT_EQ(objectsNamed(name), 0) << step;
        EXPECT_EQ(Directory(), dir) << step;
        EXPECT_TRUE(FileBytes(built_.dataPath) == file) << step;
        ASSERT_EQ(NewProjectMethod(&doc_, PName(name), PName("Replaced"), &made), 0) << step;
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(P(made->name), name);
        EXPECT_EQ(recordsNamed(name), 1) << step;
        EXPECT_EQ(objectsNamed(name), 1) << step;
        EXPECT_EQ(Directory().size(), dir.size() + kProcRecordSize) << step;
    }
    EXPECT_GT(failed, 0);
}

}  // namespace
}  // namespace readtest
