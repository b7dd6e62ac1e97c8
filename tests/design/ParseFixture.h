// A structure with a store of its own for the link-parser tests: tables
// and fields made by hand, resources written as bytes, the command
// descriptors and texts the parsers read.
#pragma once

#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "design/links/XRef.h"
#include "platform/core/Memory.h"
#include "tests/design/DesignFixture.h"
#include "tools/docbuilder/Bytes.h"
#include "tools/docbuilder/Records.h"

namespace designtest {

// The base and design resources with the longer string lists these tests
// read.
inline std::string ParseResources()
{
    auto drop = [](std::string text, const std::string& what) {
        const size_t at = text.find(what);
        text.erase(at, text.find('\n', at) - at);
        return text;
    };
    return drop(drop(apptest::kBaseResources, "'STR#' 1019"), "'STR#' 1001") + drop(kDesignResources, "'STR#' 104") + R"RES(
'STR#' 1001 { "" "" "Save \"" "\"?" "Clipboard" "" "" "" "" "" "List" }
'STR#' 104 { ";" "[" "]" "" "" "." "" "" "" "" "" "$" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" ""
             "" "" "" "" "" "" "" "" "" "#" "<>" }
'STR#' 1019 { ", " ": " " " "@" "*" }
'STR#' 20000 { "one" "two" "three" }
'APRM' 7 { $"0001 0001 0002" }
'APRM' 8 { $"0001 0001 0018" }
'APRM' 9 { $"0001 0001 0005" }
'APRM' 12 { $"0001 0001 000C" }
'APRM' 396 { $"0001 0001 000D" }
'APRM' 641 { $"0001 0001 000D" }
'APRM' 646 { $"0001 0001 000D" }
'APRM' 656 { $"0001 0001 000D" }
)RES";
}

class ParseFixture : public DesignFixture {
protected:
    void SetUp() override
    {
        apptest::AppFixture::SetUp();
        ResetDesignGlobals();
        UseAppResources(ParseResources(), false);
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        OpenStore();
        Build_xPRM();
        GromMemHdl = platform::NewHandle(64);
    }
    void TearDown() override
    {
        if (GromMemHdl) platform::DisposeHandle(GromMemHdl);
        GromMemHdl = nullptr;
        DesignFixture::TearDown();
    }

    TFileObjQz* Table(const std::string& name, int16_t number, int16_t id)
    {
        auto* t = static_cast<TFileObjQz*>(NewCritObj(&doc_, 1, PName(name), id));
        t->tableNumber = number;
        return t;
    }
    TObjQz* Field(TFileObjQz* table, const std::string& name, int16_t k)
    {
        auto* f = static_cast<TStructObjQz*>(NewCritObj(&doc_, 28, PName(name), k));
        f->ownerObj = table;
        AddObjList(&table->members, f);
        return f;
    }
    TLayoutObjQz* Form(TFileObjQz* table, const std::string& name, int16_t id)
    {
        if (!table->forms) NewObjList(&table->forms, 10);
        auto* form = static_cast<TLayoutObjQz*>(NewListObj_Id(&doc_, &table->forms, 24, PName(name), id, false));
        form->ownerObj = table;
        form->formResId = id;
        return form;
    }

    // The objects `obj` uses, in order, as "kind:name".
    static std::vector<std::string> Uses(TObjQz* obj)
    {
        std::vector<std::string> out;
        for (int32_t i = 0; obj->uses && i < obj->uses->Size(); ++i)
            out.push_back(std::to_string(obj->uses->At(i)->kind) + ":" + P(obj->uses->At(i)->name));
        return out;
    }
    static bool Linked(TObjQz* a, TObjQz* b) { return a && b && IsInList(a->uses, b) && IsInList(b->usedBy, a); }
};

// Token bytes.
inline docbuilder::Bytes Tok(uint8_t kind, int64_t number = 0, const std::string& text = "", uint8_t sub = 0,
                             int64_t number2 = 0)
{
    docbuilder::TokenSpec t;
    t.kind = kind;
    t.number = number;
    t.number2 = number2;
    t.text = text;
    t.subkind = sub;
    return docbuilder::TokenBytes(t, 0, {});
}
inline docbuilder::Bytes FieldTok(int16_t field, int16_t table, std::vector<int16_t> path = {})
{
    docbuilder::ByteWriter w;
    w.U16(0x0300);
    w.U16(uint16_t(field));
    w.U16(uint16_t(table));
    w.U16(uint16_t(path.size()));
    for (int16_t p : path) w.U16(uint16_t(p));
    return w.Take();
}
inline docbuilder::Bytes Line(std::initializer_list<docbuilder::Bytes> tokens)
{
    docbuilder::Bytes out;
    for (const auto& t : tokens) out.insert(out.end(), t.begin(), t.end());
    return out;
}

}  // namespace designtest
