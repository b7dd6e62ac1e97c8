// Documents with components read as the program reads them, the transfer
// and the program's document functions installed, an application object
// and its preferences: what the component commands need to run, read
// their documents again and make libraries.
#pragma once

#include <string>
#include <vector>

#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/documents/DocHooks.h"
#include "app/program/DocumentHooks.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjFactory.h"
#include "platform/events/DialogAnswers.h"
#include "tests/transfer/CopyFixture.h"

namespace transfertest {

class ComponentFixture : public CopyFixture {
protected:
    void SetUp() override
    {
        CopyFixture::SetUp();
        InstallDocumentHooks();
        MakeAppl();
        OpenPrefResFile();
        G_ModuleUpdate = 4;
    }
    void TearDown() override
    {
        platform::ClearDialogAnswers();
        ClosePrefResFile();
        ResetDocHooks();
        G_ModuleUpdate = 4;
        CopyFixture::TearDown();
    }

    // The structure built and read as the source document.
    void OpenOne(const std::string& description)
    {
        src_ = Build(description);
        Open(src_);
        ASSERT_EQ(Read(), 0);
    }
    TModuleObjQz* Component(TMainDoc* doc, const std::string& name)
    {
        return dynamic_cast<TModuleObjQz*>(In(doc, 32, name));
    }
    // The names of a group's members, in order.
    static std::vector<std::string> Members(TObjQz* group)
    {
        std::vector<std::string> names;
        for (int32_t i = 0; group && group->members && i < group->members->Size(); ++i)
            names.push_back(readtest::P(group->members->At(i)->name));
        return names;
    }
    static bool StoreHas(TMainDoc* doc, uint32_t type, int16_t id) { return !StoreRes(doc, type, id).empty(); }
    // Every resource of the document's store, "type/id bytes" in the
    // store's order, enciphered ones deciphered.
    static std::vector<std::string> StoreLines(TMainDoc* doc)
    {
        std::vector<std::string> out;
        const int16_t saved = xcurres();
        useres(doc->fResFile);
        for (int32_t t = 1; t <= comptetypes(); ++t) {
            const platform::ResType type = xgetindtyp(t);
            for (int16_t i = 1; i <= compteres(type, true); ++i) {
                int16_t id = 0;
                xiscryptedindres(type, i, &id);
                platform::Handle h = xgetres(type, id, true);
                std::string line{char(type >> 24), char(type >> 16), char(type >> 8), char(type), '/'};
                line += std::to_string(id) + " ";
                if (h) line.append(reinterpret_cast<const char*>(*h), size_t(platform::GetHandleSize(h)));
                else line += "unreadable";
                out.push_back(line);
            }
        }
        useres(saved);
        return out;
    }
    // The pane's rows as objects.
    static std::vector<TObjQz*> Rows(std::initializer_list<TObjQz*> objs) { return std::vector<TObjQz*>(objs); }
};

}  // namespace transfertest
