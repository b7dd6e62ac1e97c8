// A form model as the form objects see it through FormModelHooks: its
// pages and the objects outside them, its look handler, the file of its
// object methods, its table list, and what it was told ("told"). Every
// hook answers from the stand-in, so no other model's look-up reads it.
#pragma once

#include <string>
#include <vector>

#include "forms/layout/PageTable.h"
#include "forms/objects/FormModelHooks.h"
#include "platform/core/Memory.h"

namespace formtest {

struct ModelStandIn {
    platform::Handle pages = nullptr;
    LayoutObject* outside = nullptr;
    VI_Handler* handler = nullptr;
    int16_t methodFile = 0;
    std::vector<int16_t> tables;
    std::string told;

    LayoutEditor* Model() { return reinterpret_cast<LayoutEditor*>(this); }
    static ModelStandIn* Of(LayoutEditor* m) { return reinterpret_cast<ModelStandIn*>(m); }
    static std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }

    static void Install()
    {
        FormModelHooks h;
        h.defaultHandler = [](LayoutEditor* m) { return Of(m)->handler; };
        h.eachObjectChain = [](LayoutEditor* m, ObjectChainVisitor visit, void* context) {
            PageEntry e;
            for (int32_t p = LastPageIndex(Of(m)->pages); p >= 0; --p)
                if (GetPage(Of(m)->pages, p, &e) && e.first && visit(e.first, context)) return true;
            return Of(m)->outside && visit(Of(m)->outside, context);
        };
        h.methodFile = [](LayoutEditor* m) { return Of(m)->methodFile; };
        h.renameObjectMethod = [](LayoutEditor* m, int16_t id, const unsigned char* name) {
            Of(m)->told += "rename " + std::to_string(id) + " " + Text(name) + ";";
        };
        h.markChanged = [](LayoutEditor* m) { Of(m)->told += "changed;"; };
        h.tableOfList = [](LayoutEditor* m, int16_t entry) -> int16_t {
            return entry >= 1 && size_t(entry) <= Of(m)->tables.size() ? Of(m)->tables[size_t(entry - 1)] : 0;
        };
        h.subformPicture = [](LayoutEditor* m, int16_t table, const unsigned char* form, const platform::Rect& r) {
            Of(m)->told += "picture " + std::to_string(table) + " " + Text(form) + " " + std::to_string(r.right - r.left) + ";";
            return platform::NewHandle(4);
        };
        SetFormModelHooks(h);
    }
};

}  // namespace formtest
