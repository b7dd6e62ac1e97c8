// The conflicts of the demo's objects dropped on DemoTarget, recorded as
// the design objects record them: one record per line of the target's
// manifest ("conflict CODE source destination") with its code's default
// choice, and for a table its fields (104), subtables (101) and forms (3)
// chained and settled under it. Both documents are copies of the build's,
// read with the shipped resources; the transfer's defaults come from them.
#pragma once

#include <filesystem>
#include <sstream>

#include "app/longlist/LongListHooks.h"
#include "design/objects/TransferHooks.h"
#include "tests/design/ReadFixture.h"
#include "transfer/InstallTransfer.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfertest {

class DemoConflicts : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        transfer::InstallTransfer();
        G_C_Hide = false;
        transfer::G_TempBool = false;
        const std::string demo = CopyBuilt("Demo"), target = CopyBuilt("DemoTarget");
        Open(demo);
        ASSERT_EQ(Read(), 0);
        OpenTarget(target);
        transfer::G_Filters = transfer::NewFilters();
        ASSERT_EQ(transfer::MakeCc_Dflt(transfer::G_Filters), 0);
        ASSERT_EQ(transfer::NewC_List(&list_, transfer::kC_ListRoom), 0);
        ASSERT_EQ(NewObjList(&transfer_, transfer::kC_ListRoom), 0);
    }
    void TearDown() override
    {
        transfer::DisposeC_List(list_);
        FreeObjList(transfer_);
        platform::DisposeHandle(transfer::G_Filters);
        transfer::G_Filters = nullptr;
        if (target_.fTypeList) DisposeTypeList(target_.fTypeList);
        if (target_.fModuleManager) DisposeModuleMgr(target_.fModuleManager);
        if (target_.fResFile > 0 || target_.fRsrFile > 0) CloseQzB(target_.fRsrFile, target_.fResFile, -1, -1);
        G_C_Hide = false;
        ResetTransferHooks();
        ResetLongListHooks();
        ReadFixture::TearDown();
    }

    // The build's document and its companion, copied: reading marks them.
    std::string CopyBuilt(const std::string& stem)
    {
        namespace fs = std::filesystem;
        for (const auto& entry : fs::directory_iterator(QZ_DEMO_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(stem + ".", 0) == 0 || name.rfind("._" + stem + ".", 0) == 0)
                fs::copy_file(entry.path(), folder_ / name, fs::copy_options::overwrite_existing);
        }
        return folder_ / (stem + ".QzB");
    }
    void OpenTarget(const std::string& path)
    {
        platform::FSSpec fsSpec;
        platform::FSMakeFSSpec(path, &fsSpec);
        int16_t other = -1;
        unsigned char password[16] = {0};
        ASSERT_EQ(OpenQzB(1, fsSpec, &target_.fRsrFile, &target_.fResFile, &other, password), 0);
        target_.fSpec = fsSpec;
        apptest::ToP("DemoTarget.QzB", target_.fName);
        ASSERT_EQ(NewTypeList(&target_.fTypeList), 0);
        ASSERT_EQ(ReadQzB(&target_, 1, 0), 0);
    }

    static TObjQz* In(TMainDoc* doc, int16_t kind, const std::string& name)
    {
        ObjListHdl list = GetObjListe(doc->fTypeList, kind);
        for (int32_t i = 0; list && i < list->Size(); ++i)
            if (list->At(i)->kind == kind && readtest::P(list->At(i)->name) == name) return list->At(i);
        return nullptr;
    }
    // The members of a table: fields and subtables of its own, and forms.
    static std::vector<TObjQz*> Members(TMainDoc* doc, TObjQz* table)
    {
        std::vector<TObjQz*> out;
        ObjListHdl tables = GetObjListe(doc->fTypeList, 1);
        int32_t i = 0;
        while (i < tables->Size() && tables->At(i) != table) ++i;
        for (++i; i < tables->Size() && tables->At(i)->kind != 1; ++i)
            if (tables->At(i)->kind == 29 || tables->At(i)->GetOwnerObj() == table) out.push_back(tables->At(i));
        ObjListHdl forms = static_cast<TFileObjQz*>(table)->forms;
        for (int32_t f = 0; forms && f < forms->Size(); ++f) out.push_back(forms->At(f));
        return out;
    }

    static TConflict* Record(C_ListHdl list, TObjQz* source, int16_t code, int16_t choice, TObjQz* dest = nullptr)
    {
        TConflict* r = nullptr;
        EXPECT_EQ(transfer::RecordConflict(source, dest, code, choice, list, &r), 0);
        return r;
    }

    // The tab-separated fields of a built manifest's lines of `tag`.
    static std::vector<std::vector<std::string>> ManifestRows(const std::string& manifest, const std::string& tag)
    {
        std::vector<std::vector<std::string>> rows;
        std::ifstream in(std::string(QZ_DEMO_DIR) + "/" + manifest);
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::string> f;
            std::stringstream s(line);
            std::string part;
            while (std::getline(s, part, '\t')) f.push_back(part);
            if (!f.empty() && f[0] == tag) rows.push_back(f);
        }
        return rows;
    }

    // Records the manifest's conflicts; the records in manifest order.
    std::vector<TConflict*> RecordDemoConflicts()
    {
        std::vector<TConflict*> made;
        for (const std::vector<std::string>& f : ManifestRows("DemoTarget.QzB.manifest", "conflict")) {
            if (f.size() < 9) continue;
            const int16_t code = int16_t(std::stoi(f[1]));
            TObjQz* source = In(&doc_, int16_t(std::stoi(f[2])), f[4]);
            TObjQz* dest = In(&target_, int16_t(std::stoi(f[6])), f[8]);
            EXPECT_NE(source, nullptr) << f[4];
            TConflict* record = nullptr;
            EXPECT_EQ(transfer::RecordConflict(source, dest, code, transfer::Cc_Dflt(code), list_, &record), 0);
            if (source && source->kind == 1) ChainMembers(record);
            made.push_back(record);
        }
        return made;
    }
    void ChainMembers(TConflict* table)
    {
        for (TObjQz* member : Members(&doc_, table->fSource)) {
            const int16_t code = member->kind == 24 ? 3 : member->kind == 29 ? 101 : 104;
            TConflict* r = nullptr;
            ASSERT_EQ(transfer::ChainConflict(table, member, code, &r), 0);
            if (r) r->C_Update(table, true);
        }
        table->DoMajVis();
    }

    TMainDoc target_;
    C_ListHdl list_ = nullptr;
    ObjListHdl transfer_ = nullptr;
};

}  // namespace transfertest
