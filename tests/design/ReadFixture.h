// A document built by the document builder, opened the way a structure is
// (its container and its companion file), with the shipped application
// resources, the byte-swap templates and a memory reserve, ready for
// ReadQzB. A fake component manager can stand in for the real one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/DesignGlobals.h"
#include "design/documents/DocResources.h"
#include "design/reading/ModuleManager.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "design/reading/ReadQzB.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "tests/app/AppFixture.h"
#include "tools/docbuilder/DocBuilder.h"

namespace readtest {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;

inline std::string P(const unsigned char* p) { return apptest::P(p); }

// One component of the fake manager.
class FakeModule : public IModule {
public:
    std::string name;
    std::vector<ModuleEntry> entries;
    TModuleObjQz* object = nullptr;
    void GetName(unsigned char* out) override { apptest::ToP(name, out); }
    TModuleObjQz* GetObject() override { return object; }
    void SetObject(TModuleObjQz* obj) override { object = obj; }
    int32_t CountEntries() override { return int32_t(entries.size()); }
    bool GetEntry(int32_t index, ModuleEntry* out) override
    {
        if (index < 1 || index > int32_t(entries.size())) return false;
        *out = entries[size_t(index - 1)];
        return true;
    }
};

// Answers what the test sets; uninstalling takes the component's object
// out of the document.
class FakeManager : public IModuleManager {
public:
    int16_t load = 0;
    std::map<std::pair<uint32_t, int16_t>, int16_t> states;
    std::vector<FakeModule> modules;
    std::function<void(uint32_t, int16_t)> onState;
    int16_t uninstallResult = 0;
    int32_t uninstalls = 0;
    bool removed = false;

    int16_t LoadModules(int16_t) override { return load; }
    int16_t RemoveModules() override
    {
        removed = true;
        return 0;
    }
    int32_t CountModules() override { return int32_t(modules.size()); }
    IModule* GetModule(int32_t i) override { return i >= 1 && i <= CountModules() ? &modules[size_t(i - 1)] : nullptr; }
    IModule* GetNamedModule(const unsigned char* name) override
    {
        for (FakeModule& m : modules)
            if (m.name == P(name)) return &m;
        return nullptr;
    }
    int16_t GetObjState(uint32_t type, int16_t id) override
    {
        if (onState) onState(type, id);
        auto it = states.find({type, id});
        return it == states.end() ? 0 : it->second;
    }
    int16_t UnInstall(TModuleObjQz* component) override
    {
        ++uninstalls;
        if (uninstallResult) return uninstallResult;
        component->DeleteObj(true);
        return 0;
    }
};

// The fake the next document gets (the test keeps it alive).
inline FakeManager* gNextManager = nullptr;

struct ManifestObject {
    int16_t kind;
    int16_t id;
    std::string name, owner;
    bool operator<(const ManifestObject& o) const
    {
        return std::tie(kind, id, name, owner) < std::tie(o.kind, o.id, o.name, o.owner);
    }
    bool operator==(const ManifestObject& o) const
    {
        return std::tie(kind, id, name, owner) == std::tie(o.kind, o.id, o.name, o.owner);
    }
};

inline std::ostream& operator<<(std::ostream& os, const ManifestObject& o)
{
    return os << o.kind << "/" << o.id << "/" << o.name << "/" << o.owner;
}

class ReadFixture : public apptest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        G_MainResFile = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
        ASSERT_GT(G_MainResFile, 0);
        ResetDesignGlobals();
        ResetDocResources();
        ResetPasswordTables();
        Bytes templates;
        ASSERT_EQ(platform::ReadWholeFile(std::string(QZ_SOURCE_DIR) + "/resources/ByteSwap.txt", &templates), 0);
        ASSERT_EQ(InitTokensFromText(templates.data(), int32_t(templates.size())), 0);
        initresman();
        GromMemHdl = platform::NewHandle(64);
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }

    void TearDown() override
    {
        platform::ClearAllFaults();
        CloseDoc();
        ResetModuleHooks();
        gNextManager = nullptr;
        ResetResManager();
        ResetSwapTemplates();
        ResetPasswordTables();
        ResetDocResources();
        ResetDesignGlobals();
        if (GromMemHdl) platform::DisposeHandle(GromMemHdl);
        GromMemHdl = nullptr;
        AppFixture::TearDown();
    }

    // Forwards to a fake the test owns, so that disposing of the
    // document's manager leaves the fake for the test to look at.
    class Borrowed : public IModuleManager {
    public:
        explicit Borrowed(FakeManager* m) : m_(m) {}
        int16_t LoadModules(int16_t f) override { return m_->LoadModules(f); }
        int16_t RemoveModules() override { return m_->RemoveModules(); }
        int32_t CountModules() override { return m_->CountModules(); }
        IModule* GetModule(int32_t i) override { return m_->GetModule(i); }
        IModule* GetNamedModule(const unsigned char* n) override { return m_->GetNamedModule(n); }
        int16_t GetObjState(uint32_t t, int16_t id) override { return m_->GetObjState(t, id); }
        int16_t UnInstall(TModuleObjQz* c) override { return m_->UnInstall(c); }

    private:
        FakeManager* m_;
    };

    void UseFake(FakeManager* fake)
    {
        gNextManager = fake;
        ModuleHooks hooks;
        hooks.newManager = [](TMainDoc*) -> IModuleManager* {
            if (!gNextManager) return nullptr;
            FakeManager* m = gNextManager;
            return new Borrowed(m);
        };
        SetModuleHooks(hooks);
    }

    // Builds the description into the test folder; the paths of its files.
    docbuilder::BuildResult Build(const std::string& text)
    {
        docbuilder::BuildResult r = docbuilder::BuildDocument(text, "test.qzdoc", folder_.path());
        EXPECT_EQ(r.error, 0) << r.message;
        return r;
    }

    // Opens the document as the application does (OpenQzB): its container
    // and its companion become the document's files.
    void Open(const docbuilder::BuildResult& r) { Open(r.dataPath); }
    void Open(const std::string& dataPath)
    {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(dataPath, &fileSpec);
        const bool library = dataPath.size() > 4 && dataPath.substr(dataPath.size() - 4) == ".QTL";
        int16_t other = -1;
        unsigned char password[16] = {0};
        ASSERT_EQ(OpenQzB(library ? 0 : 1, fileSpec, &doc_.fRsrFile, &doc_.fResFile, &other, password), 0);
        doc_.fSpec = fileSpec;
        const std::string leaf = dataPath.substr(dataPath.find_last_of('/') + 1);
        apptest::ToP(leaf, doc_.fName);
    }

    void CloseDoc()
    {
        if (doc_.fTypeList) DisposeTypeList(doc_.fTypeList);
        doc_.fTypeList = nullptr;
        if (doc_.fModuleManager) DisposeModuleMgr(doc_.fModuleManager);
        doc_.fModuleManager = nullptr;
        if (doc_.fResFile > 0 || doc_.fRsrFile > 0 || doc_.fDataFile != -1)
            CloseQzB(doc_.fRsrFile, doc_.fResFile, -1, doc_.fDataFile);
        doc_.fResFile = doc_.fRsrFile = doc_.fDataFile = -1;
    }

    // Closes the document and opens the same files again, fresh lists.
    void Reopen(const docbuilder::BuildResult& r)
    {
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        Open(r);
    }

    int16_t Read(uint8_t allowGenerated = 0) { return ReadQzB(&doc_, 1, allowGenerated); }

    ObjListHdl List(int16_t kind) { return GetObjListe(doc_.fTypeList, kind); }

    TObjQz* Find(int16_t kind, const std::string& name)
    {
        ObjListHdl list = List(kind);
        for (int32_t i = 0; list && i < list->Size(); ++i)
            if (list->At(i)->kind == kind && P(list->At(i)->name) == name) return list->At(i);
        return nullptr;
    }
    TObjQz* FindId(int16_t kind, int16_t id)
    {
        ObjListHdl list = List(kind);
        for (int32_t i = 0; list && i < list->Size(); ++i)
            if (list->At(i)->kind == kind && list->At(i)->id == id) return list->At(i);
        return nullptr;
    }

public:
    static std::vector<ManifestObject> Manifest(const std::string& path, const std::string& what = "object")
    {
        std::vector<ManifestObject> out;
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::string> f;
            std::stringstream s(line);
            std::string part;
            while (std::getline(s, part, '\t')) f.push_back(part);
            while (f.size() < 5) f.push_back("");
            if (f[0] != what) continue;
            out.push_back({int16_t(std::stoi(f[1])), int16_t(std::stoi(f[2])), f[3], f[4]});
        }
        return out;
    }

protected:
    // Rewrites one resource of a built, closed container.
    static void Replace(const std::string& dataPath, uint32_t type, int16_t id, const Bytes& bytes)
    {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(dataPath, &fileSpec);
        const int16_t f = openres(fileSpec, false);
        ASSERT_NE(f, 0);
        rmveresbyid(type, id, true);
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
        ASSERT_TRUE(xaddres(h, type, id));
        ASSERT_TRUE(updateres(f));
        closeres(f, false);
    }

    // The contents of a resource of the open container, empty when missing.
    static Bytes Stored(uint32_t type, int16_t id)
    {
        platform::Handle h = xget1res(type, id);
        return h ? Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h)) : Bytes{};
    }

    static Bytes FileBytes(const std::string& path)
    {
        Bytes b;
        platform::ReadWholeFile(path, &b);
        return b;
    }
    // A store file's bytes but for its open mark (header bytes 20-23),
    // which the first write of a session sets, even one that then fails.
    static Bytes StoredBytes(const std::string& path)
    {
        Bytes b = FileBytes(path);
        if (b.size() >= 24) std::fill(b.begin() + 20, b.begin() + 24, 0);
        return b;
    }

    TMainDoc doc_;
};

}  // namespace readtest
