// A string list that is an element of a package's bundle, named by a form
// copied in the same transfer as the package: the list comes once, with
// the bundle, under the id that copy gives it, and the copied form names
// it there.
#include <cstring>
#include <map>
#include <string>

#include "platform/core/Endian.h"
#include "tests/transfer/CopyFixture.h"

namespace transfertest {
namespace {

const char* kTools = R"(structure Tools
package Kit id 15010
  routine "Sum(&R):R"
strings Words id 20000
  "one"
  "two"
table Orders
  field Number longint
  form Entry iff
    text ":20000,2"
)";

class BundledListCopyTest : public CopyFixture {
protected:
    // The source read again with Words an element of Kit's bundle.
    void BundleWords()
    {
        platform::UseResFile(doc_.fRsrFile);
        platform::Handle bundle = platform::Get1Resource(FourCC("QBNX"), 15010);
        ASSERT_NE(bundle, nullptr);
        Bytes b(*bundle, *bundle + platform::GetHandleSize(bundle));
        b.insert(b.end(), {'S', 'T', 'R', '#', 0, 1, 0, 0});
        platform::WriteBE16(&b[b.size() - 2], 20000);
        platform::WriteBE16(b.data(), 2);
        platform::SetHandleSize(bundle, platform::Size(b.size()));
        std::memcpy(*bundle, b.data(), b.size());
        platform::ChangedResource(bundle);
        platform::UpdateResFile(doc_.fRsrFile);
        Reopen(src_);
        ASSERT_EQ(Read(), 0);
        ASSERT_EQ(Uses(Src(7, "_Kit")), (std::set<std::string>{"11:Kit routines", "11:Words"}));
    }
};

// The copied form names the list the bundle's copy made, by its new id,
// whatever the destination holds at the ids the list had or would take;
// unless the list's record uses the destination's list of its id.
TEST_F(BundledListCopyTest, ACopiedFormNamesTheListItsPackagesBundleBrought)
{
    const char* other = "structure Target\nstrings Other id 20000\n  \"o\"\n  \"p\"\n";
    const std::map<std::string, int16_t> otherLists{{"Kit routines", 15000}, {"Words", 15001}, {"Other", 20000}};
    struct Case {
        const char* what;
        const char* dest;
        int16_t choice;  // for Words meeting a list of its id (code 9)
        std::map<std::string, int16_t> lists;  // the destination's, read again
        const char* named;  // by the copied form
    };
    const Case cases[] = {
        {"an empty destination", "structure Target\n", 0, {{"Kit routines", 15000}, {"Words", 15001}}, "Words"},
        {"15000 taken", "structure Target\nstrings Taken id 15000\n  \"t\"\n", 0,
         {{"Taken", 15000}, {"Kit routines", 15001}, {"Words", 15002}}, "Words"},
        {"20000 another's, copied under its id", other, 9, otherLists, "Words"},
        {"20000 another's, copied under a new id", other, 13, otherLists, "Words"},
        {"20000 another's, used", other, 4, otherLists, "Other"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BuildPair(kTools, c.dest);
        BundleWords();
        transfer::G_Filters = transfer::NewFilters();
        ASSERT_EQ(transfer::MakeCc_Dflt(transfer::G_Filters), 0);
        if (c.choice) reinterpret_cast<int16_t*>(*transfer::G_Filters)[9 - 1] = c.choice;
        ObjListHdl list = nullptr;
        ASSERT_EQ(NewObjList(&list, 4), 0);
        for (TObjQz* obj : {Src(1, "Orders"), static_cast<TObjQz*>(FormOf(&doc_, "Orders", "Entry")), Src(11, "Words"),
                            Src(7, "_Kit")})
            ASSERT_EQ(obj->SelfAddObjList(&list, 0), 0);
        platform::PushDialogAnswer(1);
        const int16_t moved = transfer::DoMove(&doc_, &dest_, &list, false, false, nullptr);
        FreeObjList(list);
        ASSERT_EQ(moved, 0);
        ReopenDest();

        std::map<std::string, int16_t> lists;
        ObjListHdl all = GetObjListe(dest_.fTypeList, 11);
        for (int32_t i = 0; all && i < all->Size(); ++i)
            EXPECT_TRUE(lists.emplace(readtest::P(all->At(i)->name), all->At(i)->id).second) << "twice";
        EXPECT_EQ(lists, c.lists);
        auto* copy = FormOf(&dest_, "Orders", "Entry");
        ASSERT_NE(copy, nullptr);
        ASSERT_EQ(copy->Parse(), 0);
        EXPECT_EQ(Uses(copy), (std::set<std::string>{std::string("11:") + c.named}));
        const Bytes image = StoreRes(&dest_, FourCC("FOQz"), copy->formResId);
        const std::string reference = ":" + std::to_string(c.lists.at(c.named)) + ",2";
        EXPECT_NE(std::string(image.begin(), image.end()).find(reference), std::string::npos) << reference;
        ClosePair();
    }
}

}  // namespace
}  // namespace transfertest
