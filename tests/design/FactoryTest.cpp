// The factory and the look-ups by name, id and scope.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>

#include "design/objects/ObjBlocks.h"
#include "platform/core/Memory.h"
#include "design/objects/RenameHooks.h"
#include "design/objects/TransferHooks.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

using FactoryTest = DesignFixture;

TEST_F(FactoryTest, SameNameAndIdGivesOneObjectUnlessForced)
{
    TObjQz* a = Make(2, "Method", 4);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(Make(2, "Method", 4), a);
    TObjQz* b = Make(2, "Method", 4, true);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(b, a);
    ObjListHdl list = List(2);
    ASSERT_EQ(list->Size(), 2);
    EXPECT_TRUE((list->At(0) == a && list->At(1) == b) || (list->At(0) == b && list->At(1) == a));
    EXPECT_EQ(dynamic_cast<TProcObjQz*>(a), a);
}

TEST_F(FactoryTest, IdAmongSameNamedRunIsFoundWhereverTheSearchLands)
{
    for (const char* n : {"a", "b", "c", "d", "e"}) Make(2, n, 1);
    TObjQz* seven = Make(2, "Same", 7, true);
    TObjQz* nine = Make(2, "Same", 9, true);
    for (const char* n : {"x", "y", "z"}) Make(2, n, 1);
    ASSERT_NE(seven, nine);
    EXPECT_EQ(Make(2, "Same", 9), nine);
    EXPECT_EQ(Make(2, "Same", 7), seven);
    ObjListHdl list = List(2);
    for (int32_t start = 1; start <= list->Size(); ++start) {
        if (P(list->At(start - 1)->name) != "Same") continue;
        int32_t pos = start;
        EXPECT_EQ(Search_With_ResId(list, PName("Same"), &pos, 9), nine);
        EXPECT_EQ(list->At(pos - 1), nine);
        pos = start;
        EXPECT_EQ(Search_With_ResId(list, PName("Same"), &pos, -1), list->At(start - 1));
        pos = start;
        EXPECT_EQ(Search_With_ResId(list, PName("Same"), &pos, 8), nullptr);
    }
}

// The run is measured by strides: the answers are those of walking it,
// for runs at either end of the list and in between, with spellings that
// the collation takes as one name and ids found twice.
TEST_F(FactoryTest, LongSameNamedRunsAnswerAsAWalkDoes)
{
    auto walk = [](ObjListHdl list, const unsigned char* name, int32_t* pos, int16_t id) -> TObjQz* {
        auto same = [&](int32_t p) { return rel2str(list->At(p - 1)->name, name) == kEqual; };
        if (id == -1 || list->At(*pos - 1)->id == id) return list->At(*pos - 1);
        for (int32_t p = *pos - 1; p >= 1 && same(p); --p)
            if (list->At(p - 1)->id == id) return list->At((*pos = p) - 1);
        for (int32_t p = *pos + 1; p <= list->Size() && same(p); ++p)
            if (list->At(p - 1)->id == id) return list->At((*pos = p) - 1);
        return nullptr;
    };
    const std::vector<std::pair<const char*, int>> runs = {{"Aaa", 1}, {"Mid", 2}, {"Run", 300}, {"Zzz", 5}};
    for (const auto& [name, length] : runs)
        for (int i = 0; i < length; ++i) {
            std::string n = name;
            if (i % 2) n[0] = char(std::tolower(uint8_t(n[0])));
            Make(4, n, int16_t(i % 7), true);  // ids repeat
        }
    ObjListHdl list = List(4);
    for (const auto& [name, length] : runs)
        for (int32_t start = 1; start <= list->Size(); start += 7)
            for (int16_t id : {int16_t(-1), int16_t(0), int16_t(3), int16_t(6), int16_t(9)}) {
                int32_t ours = start, theirs = start;
                EXPECT_EQ(Search_With_ResId(list, PName(name), &ours, id), walk(list, PName(name), &theirs, id))
                    << name << " from " << start << " id " << id;
                EXPECT_EQ(ours, theirs);
            }
}

TEST_F(FactoryTest, ListsStaySortedAndCommandsByNumber)
{
    for (const char* n : {"delta", "Alpha", "charlie", "bravo", "@at"}) Make(4, n, 1);
    ObjListHdl list = List(4);
    for (int32_t i = 1; i < list->Size(); ++i)
        EXPECT_NE(rel2str(list->At(i - 1)->name, list->At(i)->name), kGreater);
    for (int16_t id : {5, 2, 9, 1}) Make(3, "", id);
    ObjListHdl commands = List(3);
    std::vector<int16_t> ids;
    for (int32_t i = 0; i < commands->Size(); ++i) ids.push_back(commands->At(i)->id);
    EXPECT_EQ(ids, (std::vector<int16_t>{1, 2, 5, 9}));
    EXPECT_EQ(Make(3, "anything", 5), commands->At(2));
    int32_t pos = 0;
    EXPECT_EQ(SearchInd_IdObj(commands, 3, &pos), nullptr);
    EXPECT_EQ(pos, 3);
}

TEST_F(FactoryTest, LookupsAnswerNullForMissingListsAndHighKinds)
{
    EXPECT_EQ(SearchObj_Name(&doc_, 24, PName("Form")), nullptr);
    EXPECT_EQ(NewObj_Id(&doc_, 24, PName("Form"), 1, false), nullptr);
    EXPECT_EQ(SearchObj_Name(&doc_, 6, PName("none")), nullptr);
    EXPECT_EQ(SearchObj_Id(&doc_, 30, 1), nullptr);
    EXPECT_EQ(Get_LocalVar(nullptr, PName("$v")), nullptr);
    EXPECT_EQ(NewListObj_Id(&doc_, nullptr, 2, PName("m"), 1, false), nullptr);
    TObjQz* group = Make(23, "G", 3);
    EXPECT_EQ(SearchObj_Id(&doc_, 33, 3), group);
    EXPECT_NE(dynamic_cast<TModuleObjQz*>(Make(32, "Comp", 1)), nullptr);
    EXPECT_EQ(SearchObj_Name(&doc_, 23, PName("Comp"))->kind, 32);
}

TEST_F(FactoryTest, ConstantFoundByNameBeforeColon)
{
    TObjQz* pi = Make(17, "PI", 1);
    EXPECT_EQ(GetObj_Name(&doc_, 17, PName("PI:3.14"), 9), pi);
    EXPECT_EQ(List(17)->Size(), 1);
    TObjQz* e = GetObj_Name(&doc_, 17, PName("E:2.71"), 1);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(P(e->name), "E:2.71");
    EXPECT_EQ(static_cast<TConstantObjQz*>(e)->value[0], 0);
    // Other kinds are found by the whole name, whatever id is asked.
    TObjQz* method = Make(2, "Tally", 4);
    EXPECT_EQ(GetObj_Name(&doc_, 2, PName("Tally"), 9), method);
    EXPECT_EQ(List(2)->Size(), 1);
    // A new object under an id of its own keeps its name, cut to fit.
    ASSERT_NE(List(2), nullptr);
    TObjQz* fresh = NewListObj_NewId(&doc_, &doc_.fTypeList->lists[1], 2, PName(std::string(40, 'f')), 40);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(P(fresh->name), std::string(33, 'f'));
}

TEST_F(FactoryTest, CommandsAreNamedByTheirText)
{
    TObjQz* five = Make(3, "", 5);
    TObjQz* two = Make(3, "", 2);
    EXPECT_EQ(P(two->name), "QUERY");
    // 40 characters: 31 and the ellipsis.
    EXPECT_EQ(P(five->name), std::string("A COMMAND WHOSE NAME IS FORTY C") + char(0xC9));
}

TEST_F(FactoryTest, VariablesOfEachScope)
{
    TObjQz* p = Get_GlobVar(&doc_, PName("vCount"));
    TObjQz* ip = Get_GlobGlobVar(&doc_, PName("<>vAll"));
    ASSERT_NE(p, nullptr);
    ASSERT_NE(ip, nullptr);
    EXPECT_EQ(p->id, 1);
    EXPECT_EQ(ip->id, 2);
    EXPECT_EQ(Get_GlobVar(&doc_, PName("vCount")), p);
    EXPECT_EQ(Search_GnlObj(&doc_, 9, nullptr, PName("vCount"), 1), p);
    TObjQz* method = Make(2, "Method", 12);
    TObjQz* local = Get_LocalVar(method, PName("$i"));
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->id, 12);
    EXPECT_EQ(static_cast<TVarObjQz*>(local)->method, method);
    EXPECT_EQ(Get_LocalVar(method, PName("$i")), local);
    EXPECT_EQ(Search_GnlObj(&doc_, 9, method, PName("$i"), 0), local);
    EXPECT_EQ(Search_GlobVar(&doc_, PName("$i")), nullptr);
}

TEST_F(FactoryTest, ResourcesByTypeAndId)
{
    const uint32_t type = 0x50494354;  // 'PICT'
    TObjQz* r1 = NewResourceObj(&doc_, type, 128);
    TObjQz* r2 = NewResourceObj(&doc_, type, 129);
    ASSERT_NE(r1, r2);
    EXPECT_EQ(P(r1->name), "PICT");
    EXPECT_EQ(NewResourceObj(&doc_, type, 128), r1);
    EXPECT_EQ(SearchResource(&doc_, type, 129), r2);
    EXPECT_EQ(SearchResource(&doc_, type, 130), nullptr);
    TObjQz* pict = Make(18, "Logo", 300);
    EXPECT_EQ(GetPictObj(&doc_, (2 << 16) | 300), pict);
    EXPECT_EQ(GetPictObj(&doc_, (1 << 16) | 300), nullptr);
}

// Look-ups by id and tables by name answer from tables kept per list once
// it has served a few look-ups; after every random edit (objects added at
// either end, removed, the list reordered, an object given another id as a
// group's write does) they answer as a walk of the list, first match first.
TEST_F(FactoryTest, IdAndTableLookUpsAnswerAsAWalkAfterEveryEdit)
{
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 30), 0);
    std::vector<TObjQz*> made;
    std::mt19937 random(5);
    auto name = [&] { return PName("T" + std::to_string(random() % 40)); };
    auto any = [&] { return list->At(int32_t(random() % uint32_t(list->Size()))); };
    for (int step = 0; step < 400; ++step) {
        const int edit = list->Size() ? int(random() % 10) : 0;
        if (edit < 5) made.push_back(NewOwnedObj(&doc_, random() % 3 ? 28 : 1, name(), int16_t(random() % 60)));
        const int16_t err = edit >= 5 ? 0 : edit % 2 ? AddObjList(&list, made.back()) : AddSortedObjList(&list, made.back(), 0);
        ASSERT_EQ(err, 0);
        if (edit == 5 || edit == 6) DelObjList(list, any());
        if (edit == 7) Shell_IdSort(list);
        if (edit > 7) any()->id = int16_t(random() % 60), NoteObjIdChanged();
        for (int probe = 0; probe < 12; ++probe) {
            const auto id = int16_t(random() % 62);
            const PName table = name();
            TObjQz *byId = nullptr, *byName = nullptr;  // the first of a walk
            for (int32_t i = list->Size() - 1; i >= 0; --i) {
                byId = list->At(i)->id == id ? list->At(i) : byId;
                byName = list->At(i)->kind == 1 && rel2str(list->At(i)->name, table) == kEqual ? list->At(i) : byName;
            }
            int32_t pos = 0;
            ASSERT_EQ(SearchListObj_Id(list, id), byId) << "step " << step << ", id " << id;
            ASSERT_EQ(SearchTableName(list, table, &pos), byName) << "step " << step << ", " << P(table);
        }
    }
    FreeObjList(list);
    for (TObjQz* obj : made) DestroyObj(obj);
}

// A field's choice list is named by the list directory: the first entry
// with the id, also after the loaded directory changes in place or grows.
TEST_F(FactoryTest, ChoiceListNamesFollowTheirDirectory)
{
    OpenStore();
    std::vector<uint8_t> dir = {0, 5, 0, 0, 0, 0};  // one entry more than there are
    for (const char* entry : {"\004Five\0\5", "\004Nine\0\x09", "\005Again\0\5"}) {
        dir.insert(dir.end(), entry, entry + 1 + entry[0]);
        dir.resize(dir.size() + 31 - size_t(entry[0]), 0);
        dir.insert(dir.end(), entry + 1 + entry[0], entry + 3 + entry[0]);
    }
    AddStored(platform::FourCC("LEQz"), 0, dir);
    platform::Handle h = xget1res(platform::FourCC("LEQz"), 0);
    ASSERT_NE(h, nullptr);
    auto names = [](std::initializer_list<int16_t> ids) {
        std::string all;
        unsigned char out[256];
        for (int16_t id : ids) GetNameEnum(id, out), all += P(out) + "|";
        return all;
    };
    EXPECT_EQ(names({5, 9, 7, 12}), "Five|Nine|||");
    (*h)[6 + 34 + 33] = 7;  // "Nine" is list 7 now
    EXPECT_EQ(names({7, 9, 5}), "Nine||Five|");
    dir[6 + 2 * 34 + 33] = 12;  // the directory read again, "Again" list 12
    platform::SetHandleSize(h, platform::Size(dir.size() + 34));
    std::memcpy(*h, dir.data(), dir.size());
    EXPECT_EQ(names({12, 9, 7, 5}), "Again|Nine||Five|");
}

TEST_F(FactoryTest, MakingFailsCleanlyWhenMemoryRunsOut)
{
    TObjQz* existing = Make(2, "Kept", 1);
    for (int32_t i = 0; i < 28; ++i) Make(2, "m" + std::to_string(i), 1);  // the list is full
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 1, -1);  // the object, not the slots
        EXPECT_EQ(Make(2, "New", 1), nullptr);
        EXPECT_EQ(Make(2, "Kept", 1, true), existing);
    }
    EXPECT_EQ(List(2)->Size(), 29);
}

// Blocks of many sizes, freed and taken again in any order: each comes
// zero-filled and 16-byte aligned, keeps its bytes while others come and
// go, and the memory goes back once every block is freed.
TEST_F(FactoryTest, ObjectBlocksKeepTheirBytesAndAllGoBack)
{
    const size_t ptrs = platform::LivePtrCount();
    std::mt19937 rng(5);
    struct Held {
        uint8_t* at;
        size_t size;
        uint8_t mark;
    };
    std::vector<Held> held;
    auto take = [&](int n) {
        for (int i = 0; i < n; ++i) {
            const size_t size = std::vector<size_t>{1, 24, 100, 300, 1000, 1100, 5000}[rng() % 7];
            auto* at = static_cast<uint8_t*>(NewObjBlock(size));
            ASSERT_NE(at, nullptr);
            ASSERT_EQ(reinterpret_cast<uintptr_t>(at) % 16, 0u);
            ASSERT_TRUE(std::all_of(at, at + size, [](uint8_t b) { return b == 0; })) << size;
            const auto mark = uint8_t(1 + rng() % 255);
            std::memset(at, mark, size);
            held.push_back({at, size, mark});
        }
    };
    take(600);
    for (size_t i = 0; i < held.size();) {
        if (rng() % 2) {
            DisposeObjBlock(held[i].at);
            held[i] = held.back();
            held.pop_back();
        } else {
            ++i;
        }
    }
    take(400);
    for (const Held& h : held)
        ASSERT_TRUE(std::all_of(h.at, h.at + h.size, [&](uint8_t b) { return b == h.mark; }));
    for (const Held& h : held) DisposeObjBlock(h.at);
    DisposeObjBlock(nullptr);
    EXPECT_EQ(platform::LivePtrCount(), ptrs);
}

// Until the transfer layer fills the seam, nothing is recorded, no
// conflict is read and nothing is found or copied.
TEST_F(FactoryTest, TheTransferSeamAnswersNothingUntilFilled)
{
    const TransferHooks saved = CurrentTransferHooks();
    ResetTransferHooks();
    int dummy = 0;
    auto* record = reinterpret_cast<TConflict*>(&dummy);
    TObjQz* obj = Make(2, "m", 1);
    TObjQz* out = obj;
    ChampOper designation;
    designation.field = 7;
    ConflictView view;
    EXPECT_EQ(std::tuple(RecordC_Ref(obj, obj, nullptr), ChainCrit(nullptr, obj, obj),
                         ReplaceLayOut(&doc_, &doc_, obj, &out), GetDestRub(nullptr, &doc_, &doc_, obj, &out, &designation)),
              std::tuple(0, 0, 0, 0));
    EXPECT_EQ(std::tuple(out, designation.field), std::tuple(static_cast<TObjQz*>(nullptr), int16_t(0)));
    EXPECT_EQ(GetDestRub(nullptr, &doc_, &doc_, obj, &out, nullptr), 0);
    EXPECT_FALSE(GetConflictView(record, &view));
    C_Update(nullptr, nullptr, true);
    C_Update(record, nullptr, true);
    SetTransferHooks(saved);
    // Nor is a rename asked for: no new name, no list to rewrite.
    ResetRenameHooks();
    unsigned char name[256] = {0};
    uint8_t mode = 0;
    ObjListHdl rewrite = List(2);
    EXPECT_FALSE(GetReplace(0, &doc_, 2, nullptr, name, 0, &mode, nullptr, &rewrite, 31));
    EXPECT_EQ(rewrite, nullptr);
    EXPECT_FALSE(GetReplace(0, &doc_, 2, nullptr, name, 0, &mode, nullptr, nullptr, 31));
}

}  // namespace
}  // namespace designtest
