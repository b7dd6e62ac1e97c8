// Two documents built from descriptions, both read as the program reads
// them, with the transfer installed: the source (doc_) and the destination
// (dest_) of a copy, and what a test needs to look at the destination's
// files, objects and links afterwards.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/longlist/LongListHooks.h"
#include "browser/TransferDrop.h"
#include "design/links/TokenAccess.h"
#include "design/links/XRef.h"
#include "forms/calc/CalcBlob.h"
#include "design/objects/TransferHooks.h"
#include "platform/events/DialogAnswers.h"
#include "platform/files/WholeFile.h"
#include "tests/design/ReadFixture.h"
#include "transfer/InstallTransfer.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/driver/DoMove.h"
#include "transfer/driver/MoveDropped.h"
#include "transfer/movers/MoverSupport.h"

namespace transfertest {

using readtest::Bytes;
using platform::FourCC;

// A conflict list of the test's own.
struct Conflicts {
    Conflicts() { EXPECT_EQ(transfer::NewC_List(&list, 10), 0); }
    ~Conflicts() { transfer::DisposeC_List(list); }
    Conflicts(const Conflicts&) = delete;
    Conflicts& operator=(const Conflicts&) = delete;
    C_ListHdl list = nullptr;
};

// An empty object list: nothing else dropped with what meets its records.
struct NoObjects {
    NoObjects() { EXPECT_EQ(NewObjList(&list, 1), 0); }
    ~NoObjects()
    {
        if (list) DisposeObjList(list);
    }
    NoObjects(const NoObjects&) = delete;
    NoObjects& operator=(const NoObjects&) = delete;
    ObjListHdl list = nullptr;
};

class CopyFixture : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        transfer::InstallTransfer();
        G_C_Hide = false;
        ResetAlerts();
    }
    void TearDown() override
    {
        CloseDest();
        platform::ClearDialogAnswers();
        transfer::SetRoomProbe(nullptr);
        browser::ResetPaneTransferHooks();
        transfer::SetModuleConflictsHook(nullptr);
        ResetTransferHooks();
        ResetLongListHooks();
        ReadFixture::TearDown();
    }

    // Builds both, opens and reads them.
    void BuildPair(const std::string& source, const std::string& dest)
    {
        src_ = Build(source);
        dst_ = Build(dest);
        Open(src_);
        ASSERT_EQ(Read(), 0);
        OpenDest();
    }
    void OpenDest()
    {
        ASSERT_EQ(NewTypeList(&dest_.fTypeList), 0);
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(dst_.dataPath, &fileSpec);
        int16_t other = -1;
        unsigned char password[16] = {0};
        ASSERT_EQ(OpenQzB(1, fileSpec, &dest_.fRsrFile, &dest_.fResFile, &other, password), 0);
        dest_.fSpec = fileSpec;
        apptest::ToP(dst_.dataPath.substr(dst_.dataPath.find_last_of('/') + 1), dest_.fName);
        ASSERT_EQ(ReadQzB(&dest_, 1, 0), 0);
    }
    void CloseDest()
    {
        if (dest_.fTypeList) DisposeTypeList(dest_.fTypeList);
        dest_.fTypeList = nullptr;
        if (dest_.fModuleManager) DisposeModuleMgr(dest_.fModuleManager);
        dest_.fModuleManager = nullptr;
        if (dest_.fResFile > 0 || dest_.fRsrFile > 0) CloseQzB(dest_.fRsrFile, dest_.fResFile, -1, -1);
        dest_.fResFile = dest_.fRsrFile = -1;
    }
    // Both documents closed, the source ready for the next BuildPair.
    void ClosePair()
    {
        CloseDest();
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    // The destination closed and read again from its files.
    void ReopenDest()
    {
        CloseDest();
        OpenDest();
    }
    // Both files of the destination, as they are on disk.
    std::pair<Bytes, Bytes> DestFiles() const { return {FileBytes(dst_.dataPath), FileBytes(dst_.companionPath)}; }

    // Puts back files taken with DestFiles (the destination closed).
    void RestoreDest(const std::pair<Bytes, Bytes>& files) const
    {
        ASSERT_EQ(platform::WriteFileAtomically(dst_.dataPath, files.first.data(), files.first.size()), 0);
        ASSERT_EQ(platform::WriteFileAtomically(dst_.companionPath, files.second.data(), files.second.size()), 0);
    }

    TObjQz* In(TMainDoc* doc, int16_t kind, const std::string& name)
    {
        ObjListHdl list = GetObjListe(doc->fTypeList, kind);
        for (int32_t i = 0; list && i < list->Size(); ++i)
            if (list->At(i)->kind == kind && readtest::P(list->At(i)->name) == name) return list->At(i);
        return nullptr;
    }
    TObjQz* Src(int16_t kind, const std::string& name) { return In(&doc_, kind, name); }
    TObjQz* Dst(int16_t kind, const std::string& name) { return In(&dest_, kind, name); }
    // The form `name` of a document's table `table`.
    TLayoutObjQz* FormOf(TMainDoc* doc, const std::string& table, const std::string& name)
    {
        auto* t = dynamic_cast<TFileObjQz*>(In(doc, 1, table));
        for (int32_t i = 0; t && t->forms && i < t->forms->Size(); ++i)
            if (readtest::P(t->forms->At(i)->name) == name) return dynamic_cast<TLayoutObjQz*>(t->forms->At(i));
        return nullptr;
    }

    // What a successful Move of `source` into the destination gives as its
    // copy; the answer starts non-null, so a Move that copies nothing must
    // clear it.
    TObjQz* Moved(TObjQz* source, C_ListHdl list)
    {
        TObjQz* made = reinterpret_cast<TObjQz*>(1);
        EXPECT_EQ(source->Move(&dest_, list, &made), 0);
        return made;
    }

    // The drop of these source objects (mode 1: with what they use).
    int16_t Drop(const std::vector<TObjQz*>& rows, int16_t mode = 0)
    {
        return transfer::MoveDropped(&doc_, &dest_, rows.data(), int32_t(rows.size()), mode);
    }

    // "kind:name" of what an object uses.
    static std::set<std::string> Uses(TObjQz* obj)
    {
        std::set<std::string> out;
        for (int32_t i = 0; obj && obj->uses && i < obj->uses->Size(); ++i)
            out.insert(std::to_string(obj->uses->At(i)->kind) + ":" + readtest::P(obj->uses->At(i)->name));
        return out;
    }

    // Every token of a method's stored code, line after line.
    static std::vector<champoper> StoredTokens(TMainDoc* doc, int16_t methodId)
    {
        const int16_t saved = xcurres();
        useres(doc->fResFile);
        std::vector<champoper> tokens;
        int16_t count = 0, err = 0;
        platform::Handle lines = x_getcalc(methodId, &count, nullptr, &err);
        for (int32_t i = 0; lines && i < (count < 0 ? -count : count); ++i) {
            champoper token;
            for (int16_t at = 0;;) {
                MyGet2champ(CalcRecordAt(lines, i), &token, &at);
                if (token.Kind() == kEndOfLineKind) break;
                tokens.push_back(token);
            }
        }
        x_effcalc(&lines, &count);
        useres(saved);
        return tokens;
    }
    // The names a method's code calls, in order.
    static std::vector<std::string> CallsOf(TMainDoc* doc, int16_t methodId)
    {
        std::vector<std::string> calls;
        for (const champoper& t : StoredTokens(doc, methodId))
            if (t.Kind() == 11) calls.push_back(readtest::P(t.Text(2)));
        return calls;
    }

    // A resource of a document's store, empty when missing.
    static Bytes StoreRes(TMainDoc* doc, uint32_t type, int16_t id)
    {
        const int16_t saved = xcurres();
        useres(doc->fResFile);
        Bytes b = Stored(type, id);
        useres(saved);
        return b;
    }

    docbuilder::BuildResult src_, dst_;
    TMainDoc dest_;
};

}  // namespace transfertest
