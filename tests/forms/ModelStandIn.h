// A form model as the form objects see it through FormModelHooks: its
// pages and the objects outside them, its current layer, its look handler,
// the file its object methods go to, its table list, and what it was asked
// to do. Every hook answers from the stand-in, so no other model's look-up
// ever reads it.
#pragma once

#include <string>
#include <vector>

#include "forms/layout/PageTable.h"
#include "forms/objects/FormModelHooks.h"
#include "platform/core/Memory.h"

namespace formtest {

struct ModelStandIn {
    platform::Handle pages = nullptr;
    LayoutObject* outside = nullptr;  // the chain outside the pages
    uint8_t layer = 0;
    VI_Handler* handler = nullptr;
    int16_t methodFile = 0;
    std::vector<int16_t> tables;  // the form's table list
    std::vector<std::string> told;  // renames, marks and pictures asked for

    LayoutEditor* Model() { return reinterpret_cast<LayoutEditor*>(this); }
    static ModelStandIn* Of(LayoutEditor* m) { return reinterpret_cast<ModelStandIn*>(m); }
    static std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }

    static void Install()
    {
        FormModelHooks h;
        h.currentLayer = [](LayoutEditor* m) { return Of(m)->layer; };
        h.defaultHandler = [](LayoutEditor* m) { return Of(m)->handler; };
        h.eachObjectChain = [](LayoutEditor* m, ObjectChainVisitor visit, void* context) {
            ModelStandIn* s = Of(m);
            for (int32_t p = LastPageIndex(s->pages); p >= 0; --p) {
                PageEntry e;
                if (GetPage(s->pages, p, &e) && e.first && visit(e.first, context)) return true;
            }
            return s->outside && visit(s->outside, context);
        };
        h.methodFile = [](LayoutEditor* m) { return Of(m)->methodFile; };
        h.renameObjectMethod = [](LayoutEditor* m, int16_t id, const unsigned char* name) {
            Of(m)->told.push_back("rename " + std::to_string(id) + " " + Text(name));
        };
        h.markChanged = [](LayoutEditor* m) { Of(m)->told.push_back("changed"); };
        h.tableOfList = [](LayoutEditor* m, int16_t entry) -> int16_t {
            const std::vector<int16_t>& t = Of(m)->tables;
            return entry >= 1 && size_t(entry) <= t.size() ? t[size_t(entry - 1)] : 0;
        };
        h.subformPicture = [](LayoutEditor* m, int16_t table, const unsigned char* form, const platform::Rect& r) {
            Of(m)->told.push_back("picture " + std::to_string(table) + " " + Text(form) + " " +
                                  std::to_string(r.right - r.left));
            return platform::NewHandle(4);
        };
        SetFormModelHooks(h);
    }
};

}  // namespace formtest
