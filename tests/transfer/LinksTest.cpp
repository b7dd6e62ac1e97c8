// Link re-targeting of copied methods: each token kind names the
// destination's counterpart (or nothing), the method's dependencies follow,
// and a failure leaves the copied code as it was.
#include <map>

#include "app/appl/Preferences.h"
#include "platform/core/Endian.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/links/DestLookups.h"
#include "transfer/links/ParseLinkProc.h"
#include "transfer/movers/Movers.h"

namespace transfertest {
namespace {

constexpr int16_t kBarCommand = 600;

const char* kSource = R"(structure Src
table Orders
  field Number longint
  field Amount real
table Extra
  field Note alpha 20
constants Modes id 5000
  Sel_Mode 2
menu Go id 2
  item "Go"
menubar Bar1
  menu Go
menubar Bar2
  menu Go
method Target_M id 11
  comment "t"
method Calls id 12
  call Target_M ; call Target_M
method Fields id 13
  field Extra.Note op 7 field Orders.Amount
method Bars id 14
  command 600 ( real 2 ) ; command 600 ( real 1 )
method NoCode id 15
  comment "gone"
method Sel id 16
  command 396 ( const 5000 1 , "Picks" )
method Vars id 17
  var Count op 7 real 1 ; ipvar Shared op 7 local Tmp
)";

const char* kDest = R"(structure Dst
table Lines
  field Q integer
table Orders2
  field Number longint
  field Amount real
method Renamed id 20
  comment "r"
menu M id 4
  item "x"
menubar D1
  menu M
menubar D2
  menu M
menubar D3
  menu M
menubar D4
  menu M
)";

// A token of the stored code: its kind and the words it carries.
struct Token {
    int kind;
    std::vector<int16_t> words;
    std::string text;
    bool operator==(const Token& o) const { return kind == o.kind && words == o.words && text == o.text; }
};
std::ostream& operator<<(std::ostream& os, const Token& t)
{
    os << t.kind << "[";
    for (int16_t w : t.words) os << w << " ";
    return os << t.text << "]";
}

class LinksTest : public CopyFixture {
protected:
    void SetUp() override
    {
        CopyFixture::SetUp();
        // Command 600 names a menu bar with its first parameter.
        platform::ResourceFileImage image;
        image.resources.push_back(Resource(FourCC("APRM"), kBarCommand, {0, 1, 0, 1, 0, 5}));
        extra_ = platform::OpenResFileImageBelow(image);
        Build_xPRM();
        platform::Handle bits = GetxPRM();
        ASSERT_NE(bits, nullptr);
        ASSERT_GT(platform::GetHandleSize(bits), kBarCommand / 8);
        (*bits)[kBarCommand / 8] = char(uint8_t((*bits)[kBarCommand / 8]) | (0x80 >> (kBarCommand % 8)));
        BuildPair(kSource, kDest);
        ASSERT_EQ(transfer::NewC_List(&list_, transfer::kC_ListRoom), 0);
    }
    void TearDown() override
    {
        transfer::DisposeC_List(list_);
        if (extra_ > 0) platform::CloseResFile(extra_);
        CopyFixture::TearDown();
    }
    static platform::ResourceImage Resource(uint32_t type, int16_t id, const Bytes& data)
    {
        platform::ResourceImage r;
        r.type = type;
        r.id = id;
        r.data = data;
        return r;
    }

    void Map(TObjQz* source, TObjQz* dest) { ASSERT_EQ(transfer::RecordC_Ref(source, dest, list_), 0); }

    // The source method copied, then re-targeted.
    TObjQz* CopyAndLink(const std::string& name, int16_t* result)
    {
        TObjQz* made = nullptr;
        EXPECT_EQ(transfer::MoveProc(&doc_, &dest_, Src(2, name), &made, nullptr), 0);
        if (!made) return nullptr;
        useres(dest_.fResFile);
        *result = transfer::Parse_LinkProc(nullptr, made->id, made, &doc_, list_);
        return made;
    }

    // The tokens that name objects by designation, number or name.
    std::vector<Token> Tokens(int16_t methodId)
    {
        std::vector<Token> out;
        for (const champoper& t : StoredTokens(&dest_, methodId)) {
            Token token{t.Kind(), {}, ""};
            if (t.Kind() == 3)
                for (int32_t w = 2; w <= 6 + 2 * std::max<int16_t>(0, t.Word(6)); w += 2) token.words.push_back(t.Word(w));
            if (t.Kind() == 2 && t.SubKind() == 1) token.words.push_back(int16_t(t.Real()));
            if (t.Kind() == 11) token.text = readtest::P(t.Text(2));
            if (t.Kind() == 3 || t.Kind() == 11 || (t.Kind() == 2 && t.SubKind() == 1)) out.push_back(token);
        }
        return out;
    }

    C_ListHdl list_ = nullptr;
    int16_t extra_ = -1;
};

TEST_F(LinksTest, EachReferenceNamesItsCounterpartOrNothing)
{
    Map(Src(2, "Target_M"), Dst(2, "Renamed"));
    Map(Src(1, "Orders"), Dst(1, "Orders2"));
    TObjQz* bar2 = Dst(5, "D4");
    TObjQz* bar1 = Dst(5, "D1");
    static_cast<TMBarObjQz*>(bar1)->libaSlot = 0;  // a bar without a slot
    Map(Src(5, "Bar2"), bar2);
    Map(Src(5, "Bar1"), bar1);
    struct Case {
        std::string method;
        std::vector<Token> tokens;
        std::set<std::string> uses;
    };
    const std::vector<Case> cases{
        {"Calls", {{11, {}, "Renamed"}, {11, {}, "Renamed"}}, {"2:Renamed"}},
        // Extra has no counterpart: a designation of zeros.
        {"Fields", {{3, {0, 0, 0}, ""}, {3, {2, 2, 0}, ""}}, {"28:Amount"}},
        // Bar2 is D4 in slot 4; Bar1's counterpart has no slot: 1.
        {"Bars", {{2, {4}, ""}, {2, {1}, ""}}, {"5:D4", "5:D1"}},
    };
    for (const Case& c : cases) {
        int16_t result = -1;
        TObjQz* made = CopyAndLink(c.method, &result);
        ASSERT_NE(made, nullptr) << c.method;
        EXPECT_EQ(result, 0) << c.method;
        EXPECT_EQ(Tokens(made->id), c.tokens) << c.method;
        std::set<std::string> uses = Uses(made);
        for (auto it = uses.begin(); it != uses.end();) it = it->rfind("3:", 0) == 0 ? uses.erase(it) : std::next(it);
        EXPECT_EQ(uses, c.uses) << c.method;
    }
}

TEST_F(LinksTest, AMethodWithoutCodeIsLeftAlone)
{
    TObjQz* made = nullptr;
    ASSERT_EQ(transfer::MoveProc(&doc_, &dest_, Src(2, "NoCode"), &made, nullptr), 0);
    useres(dest_.fResFile);
    ASSERT_TRUE(rmveresbyid(FourCC("CCQz"), made->id, true));
    EXPECT_EQ(transfer::Parse_LinkProc(nullptr, made->id, made, &doc_, list_), 0);
    EXPECT_EQ(made->uses, nullptr);
}

TEST_F(LinksTest, VariablesMissingInTheDestinationAreMade)
{
    int16_t result = -1;
    TObjQz* made = CopyAndLink("Vars", &result);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(result, 0);
    ASSERT_NE(SearchObj_Name(&dest_, 9, reinterpret_cast<const unsigned char*>("\x05" "Count")), nullptr);
    std::set<std::string> uses = Uses(made);
    EXPECT_EQ(uses.count("9:Count"), 1u);
    EXPECT_EQ(std::count_if(uses.begin(), uses.end(), [](const std::string& u) { return u.rfind("9:", 0) == 0; }), 3);
}

// The selection mode's constant has no list in the destination, which
// reads it as nothing; calls and fields are rewritten to name the
// destination's objects: each copy uses what a read of the destination
// finds in its code, and holds no object that read would not make.
TEST_F(LinksTest, ACopyUsesWhatAReadOfTheDestinationFinds)
{
    auto named = [&] {  // the destination's sets, selections and constants
        std::vector<std::string> names;
        for (const int16_t kind : {13, 14, 17}) {
            ObjListHdl list = GetObjListe(dest_.fTypeList, kind);
            for (int32_t i = 0; list && i < list->Size(); ++i) names.push_back(std::to_string(kind) + readtest::P(list->At(i)->name));
        }
        return names;
    };
    Map(Src(2, "Target_M"), Dst(2, "Renamed"));
    Map(Src(1, "Orders"), Dst(1, "Orders2"));
    std::map<std::string, std::set<std::string>> linked;
    for (const char* method : {"Sel", "Calls", "Fields"}) {
        int16_t result = -1;
        TObjQz* made = CopyAndLink(method, &result);
        ASSERT_NE(made, nullptr) << method;
        EXPECT_EQ(result, 0) << method;
        linked[method] = Uses(made);
    }
    const std::vector<std::string> objects = named();
    ReopenDest();
    for (const auto& [method, uses] : linked) EXPECT_EQ(Uses(Dst(2, method)), uses) << method;
    EXPECT_EQ(named(), objects);
}

// Memory failing at each allocation of the re-targeting: the code stays as
// copied, or whole as rewritten when the links failed, and the error comes
// back.
TEST_F(LinksTest, AFailureLeavesTheCopiedCodeWhole)
{
    Map(Src(2, "Target_M"), Dst(2, "Renamed"));
    TObjQz* made = nullptr;
    ASSERT_EQ(transfer::MoveProc(&doc_, &dest_, Src(2, "Calls"), &made, nullptr), 0);
    const Bytes copied = StoreRes(&dest_, FourCC("CCQz"), made->id);
    int16_t result = -1;
    TObjQz* other = CopyAndLink("Calls", &result);
    ASSERT_EQ(result, 0);
    const Bytes rewritten = StoreRes(&dest_, FourCC("CCQz"), other->id);
    ASSERT_NE(rewritten, copied);
    int32_t failures = 0;
    for (int32_t after = 0; after < 200; ++after) {
        useres(dest_.fResFile);
        platform::InjectFault(platform::FaultKind::Allocation, after);
        const int16_t err = transfer::Parse_LinkProc(nullptr, made->id, made, &doc_, list_);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
        platform::ClearFault(platform::FaultKind::Allocation);
        const Bytes now = StoreRes(&dest_, FourCC("CCQz"), made->id);
        if (!fired) {
            EXPECT_EQ(err, 0);
            EXPECT_EQ(now, rewritten);
            break;
        }
        if (err == 0) continue;  // a failure the walk could do without
        ++failures;
        EXPECT_TRUE(now == copied || now == rewritten) << after;
    }
    EXPECT_GE(failures, 1);
}

}  // namespace
}  // namespace transfertest
