// Tables, menu bars and choice lists link what their resources name;
// variables fall into the component folder of their users.
#include "platform/files/Forks.h"
#include "platform/files/WholeFile.h"
#include "tests/design/ParseFixture.h"

namespace designtest {
namespace {

using docbuilder::Bytes;
using docbuilder::ByteWriter;

class LinkParse : public ParseFixture {};

struct FieldEntry {
    std::string name;
    uint8_t type = 0;
    int16_t relTable = 0, relField = 0, depth = 0;
};

Bytes TableDefinition(int16_t number, const std::vector<FieldEntry>& fields)
{
    ByteWriter w;
    w.U16(uint16_t(fields.size()));
    w.U16(0);
    w.U16(0xFFFF);
    w.U16(uint16_t(number));
    w.Zeros(22);
    for (const FieldEntry& f : fields) {
        w.FixedPString(f.name, 32);
        w.U8(f.type), w.U8(0);
        w.Zeros(6);
        w.U16(uint16_t(f.relTable)), w.U16(uint16_t(f.relField));
        w.U16(0xFFFF), w.U16(0xFFFF);
        w.Zeros(2);
        w.U16(uint16_t(f.depth));
        w.Zeros(14);
    }
    return w.Take();
}

TEST_F(LinkParse, TablesLinkRelatedFieldsAndParseTheirMethodAndForms)
{
    TFileObjQz* t1 = Table("T1", 1, 10);
    TObjQz* k1 = Field(t1, "k1", 1);
    TObjQz* k2 = Field(t1, "k2", 2);
    TObjQz* k3 = Field(t1, "k3", 3);
    TObjQz* k4 = Field(t1, "k4", 4);
    TFileObjQz* t2 = Table("T2", 2, 11);
    Field(t2, "a", 1), Field(t2, "b", 2);
    TObjQz* f3 = Field(t2, "c", 3);
    AddStored(platform::FourCC("FIQz"), 10,
              TableDefinition(1, {{"k1", 0, 2, 9, 0}, {"k2", 0, 2, 3, 0}, {"k3", 0, 2, 3, 9}, {"k4", 0, 0, 3, 0}}));
    t1->method = NewOwnedObj(&doc_, 26, PName(""), 40);
    static_cast<TGnlProcObjQz*>(t1->method)->table = t1;
    AddStored(platform::FourCC("CCQz"), 40, docbuilder::MethodBlob({Line({FieldTok(1, 0)})}));
    TLayoutObjQz* form = Form(t1, "Input", 30);
    AddStored(platform::FourCC("FOQz"), 30, {13, 0, 0, 1, 0, 0});

    EXPECT_EQ(t1->Parse(), 0);
    // The missing field 9 links nothing; k2 gives three edges in order.
    // The third entry's count of fields and depths are never trusted.
    EXPECT_EQ(Uses(t1), (std::vector<std::string>{"28:c", "1:T2"}));
    EXPECT_TRUE(Linked(k2, f3));
    EXPECT_EQ(k1->uses, nullptr);
    EXPECT_EQ(k3->uses, nullptr) << "a path deeper than 4";
    EXPECT_EQ(k4->uses, nullptr) << "no related table";
    EXPECT_TRUE(t1->method->TstFlag(kFlagParsed));
    EXPECT_TRUE(Linked(t1->method, k1));
    EXPECT_TRUE(form->TstFlag(kFlagParsed));
    EXPECT_NE(t1->resSize, 0u);

    // A definition whose count claims more entries than it holds.
    TFileObjQz* t3 = Table("T3", 3, 12);
    TObjQz* r1 = Field(t3, "r1", 1);
    Bytes cut = TableDefinition(3, {{"r1", 0, 2, 3, 0}});
    cut[1] = 40;
    AddStored(platform::FourCC("FIQz"), 12, cut);
    EXPECT_EQ(t3->Parse(), 0);
    EXPECT_TRUE(Linked(r1, f3));
}

Bytes MenuBar(const std::vector<int16_t>& menus)
{
    ByteWriter w;
    w.U16(uint16_t(menus.size()));
    w.Zeros(10);
    for (int16_t id : menus) {
        w.U16(uint16_t(id));
        w.Zeros(4);
    }
    return w.Take();
}

struct MenuItem {
    std::string text, method;
    int32_t picture = -1;
};

Bytes Menu(const std::string& title, const std::vector<MenuItem>& items)
{
    ByteWriter w;
    w.U16(uint16_t(items.size()));
    w.FixedPString(title, 16);
    w.Zeros(6);
    for (const MenuItem& it : items) {
        w.FixedPString(it.text, 32);
        w.FixedPString(it.method, 32);
        w.Zeros(18);
        w.U32(uint32_t(it.picture));
    }
    return w.Take();
}

TEST_F(LinkParse, MenuBarsLinkMenusMethodsPicturesAndStringLists)
{
    TObjQz* bar = Make(5, "Bar", 1);
    TObjQz* m1 = Make(2, "M1", 1);
    TObjQz* picture = Make(18, "Pict", 5);
    Make(18, "Other", 6);
    TObjQz* strings = Make(11, "Strings", 20000);
    AddStored(platform::FourCC("BAQz"), 1, MenuBar({100, 102, 101}));
    AddStored(platform::FourCC("MENQ"), 100,
              Menu("File", {{"Run", "M1", -1}, {"Show", "", 0x00020005}, {"None", "Missing", -1}}));
    Bytes quitMenu = Menu(":20000,3", {{"Quit", "", -1}});
    quitMenu[1] = 9;  // more items than the menu holds
    AddStored(platform::FourCC("MENQ"), 101, quitMenu);

    bar->resTime = 12345;
    EXPECT_EQ(bar->Parse(), 0);
    platform::Handle stored = xget1res(platform::FourCC("BAQz"), 1);
    EXPECT_EQ(std::tuple(bar->resTime, bar->resSize),
              std::tuple(xgetrestimestamp(stored), uint32_t(platform::GetHandleSize(stored))));
    TObjQz* file = SearchObj_Id(&doc_, 6, 100);
    TObjQz* quit = SearchObj_Id(&doc_, 6, 101);
    ASSERT_NE(file, nullptr);
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(SearchObj_Id(&doc_, 6, 102), nullptr);  // no 'MENQ': skipped
    EXPECT_EQ(Uses(bar), (std::vector<std::string>{"6:File", "2:M1", "18:Pict", "6::20000,3", "11:Strings"}));
    EXPECT_EQ(Uses(file), (std::vector<std::string>{"2:M1", "18:Pict"}));
    EXPECT_TRUE(Linked(bar, strings));
    EXPECT_TRUE(Linked(file, m1));
    EXPECT_TRUE(Linked(bar, picture));
    // Parsed once: a menu added since is not looked at again.
    AddStored(platform::FourCC("MENQ"), 102, Menu("Edit", {{"Undo", "", -1}}));
    EXPECT_EQ(bar->Parse(), 0);
    EXPECT_EQ(SearchObj_Id(&doc_, 6, 102), nullptr);
}

TEST_F(LinkParse, ChoiceListsLinkThePicturesOfEveryItem)
{
    TObjQz* list = Make(4, "Colours", 1);
    TObjQz* seven = Make(18, "Seven", 7);
    TObjQz* eight = Make(18, "Eight", 8);
    docbuilder::ListItemOut top{"Top", 1, 0, 0x00000007, {}};
    docbuilder::ListItemOut sub{"Sub", 2, 0, 0x00010008, {{"Deep", 3, 0, 0x00020007, {}}}};
    AddStored(platform::FourCC("List"), 1, docbuilder::ChoiceList({top, sub, {"Last", 4, 0, 0x00020008, {}}}));
    EXPECT_EQ(list->Parse(), 0);
    EXPECT_EQ(Uses(list), (std::vector<std::string>{"18:Seven", "18:Eight"}));

    // A list cut short links nothing.
    TObjQz* cut = Make(4, "Cut", 2);
    Bytes bytes = docbuilder::ChoiceList({sub});
    bytes.resize(bytes.size() - 10);
    AddStored(platform::FourCC("List"), 2, bytes);
    EXPECT_EQ(cut->Parse(), 0);
    EXPECT_EQ(cut->uses, nullptr);
    (void)seven, (void)eight;
}

TEST_F(LinkParse, VariablesJoinTheMostOpenFolderOfTheirUsers)
{
    auto* module = static_cast<TModuleObjQz*>(Make(32, "Comp", 1));
    auto* pub = static_cast<TGroupObjQz*>(Make(33, "Public", 2));
    auto* priv = static_cast<TGroupObjQz*>(Make(33, "Private", 3));
    ASSERT_EQ(pub->AddGroup(module, false), 0);
    ASSERT_EQ(priv->AddGroup(module, false), 0);
    module->publicFolder = pub;
    module->privateFolder = priv;
    TObjQz* a = Make(2, "A", 1);
    TObjQz* b = Make(2, "B", 2);
    TObjQz* loose = Make(2, "Loose", 3);
    ASSERT_EQ(a->AddGroup(pub, false), 0);
    ASSERT_EQ(b->AddGroup(priv, false), 0);
    auto* v = static_cast<TVarObjQz*>(Get_GlobVar(&doc_, PName("v")));
    auto* w = static_cast<TVarObjQz*>(Get_GlobVar(&doc_, PName("w")));
    XRef(b, v), XRef(a, v);
    XRef(a, w), XRef(loose, w);
    v->SetModuleGroup();
    w->SetModuleGroup();
    EXPECT_EQ(v->parent, pub);
    EXPECT_EQ(w->parent, nullptr);
    // An installed folder also gives its state (while a structure is read).
    priv->SetFlag(kFlagInComponent, true);
    auto* u = static_cast<TVarObjQz*>(Get_GlobVar(&doc_, PName("u")));
    XRef(b, u);
    G_ModuleUpdate = 3;
    u->SetModuleGroup();
    G_ModuleUpdate = 4;
    EXPECT_EQ(u->parent, priv);
    EXPECT_EQ(u->moduleState, 3);
}

TEST_F(LinkParse, VariableNamesAndDeclarations)
{
    TObjQz* method = Make(2, "Calc", 9);
    auto* local = static_cast<TVarObjQz*>(Get_LocalVar(method, PName("$x")));
    unsigned char text[256];
    local->GetStructName(text);
    EXPECT_EQ(P(text), "Calc $x");
    EXPECT_TRUE(local->Cryptable());
    local->SetParam(1);
    EXPECT_FALSE(local->Cryptable());

    const std::string decl = "C_LONG(v)\r" + std::string(300, 'x');
    const std::string path = folder_ / "decl.txt";
    ASSERT_EQ(platform::WriteFileAtomically(path, decl.data(), decl.size()), platform::noErr);
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);
    ASSERT_EQ(platform::FSpOpenDF(fileSpec, platform::fsRdPerm, &doc_.fDataFile), platform::noErr);
    auto* v = static_cast<TVarObjQz*>(Get_GlobVar(&doc_, PName("v")));
    v->GetMoreInfo(text, false);
    EXPECT_EQ(P(text), "");
    v->declPos = 0;
    v->GetMoreInfo(text, false);
    EXPECT_EQ(P(text), "C_LONG(v)");
    v->declPos = 10;
    v->GetMoreInfo(text, false);
    EXPECT_EQ(P(text), std::string(255, 'x'));
    platform::FSClose(doc_.fDataFile);
    doc_.fDataFile = -1;
}

}  // namespace
}  // namespace designtest
