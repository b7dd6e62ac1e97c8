// A document with plug-in folders of its own: every plug-in place points
// into the test's folder, the application's file carries its signature
// and identity, and plug-in files are written as resource bytes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "design/plugins/PlugInDiscovery.h"
#include "design/plugins/PlugInFiles.h"
#include "design/plugins/PlugInNotices.h"
#include "platform/resfiles/Resources.h"
#include "tests/design/DesignFixture.h"
#include "tests/platform/resfiles/ResFileWriter.h"
#include "tools/docbuilder/Bytes.h"
#include "tools/docbuilder/Records.h"

namespace designtest {

using restest::Res;

// The application: signature 1, version 6, needing version 2 of the
// plug-ins of signature 2.
inline const char* kAppIdentity = R"RES(
'QzSG' 0 { $"0001" }
'QzID' 1 { $"0341 7070 0006" }
'QzID' 2 { $"0554 6F6F 6C73 0002" }
)RES";

inline const char* kPlaceVariables[] = {"QZ_EXTENSIONS_DIR", "QZ_USER_DATA_DIR", "QZ_SYSTEM_DATA_DIR",
                                        "QZ_PREFERENCES_DIR", "", "QZ_APPLICATION_DIR"};

inline std::vector<uint8_t> Word(int16_t v) { return {uint8_t(uint16_t(v) >> 8), uint8_t(v)}; }

// A bundle table of entries (type, count, id).
inline std::vector<uint8_t> Table(const std::vector<std::tuple<const char*, int16_t, int16_t>>& entries)
{
    docbuilder::ByteWriter w;
    w.U16(uint16_t(entries.size()));
    for (const auto& [type, count, id] : entries) {
        w.U32(restest::Code(type));
        w.U16(uint16_t(count));
        w.U16(uint16_t(id));
    }
    return w.Take();
}

inline std::vector<uint8_t> Strings(const std::vector<std::string>& strings) { return docbuilder::StringList(strings); }

// A package bundle `id` named `name` whose routine list is 'STR#' `list`.
inline std::vector<Res> Bundle(const std::string& name, int16_t id, int16_t list, const std::vector<std::string>& routines)
{
    return {{"QBNX", id, Table({{"STR#", 1, list}}), name}, {"STR#", list, Strings(routines), name + " routines"}};
}

inline std::vector<Res> operator+(std::vector<Res> a, const std::vector<Res>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A plug-in file's identity: signature `sig`, version `version`, needing
// `needs` of the application (no record of it for 0).
inline std::vector<Res> Identity(int16_t needs, int16_t sig = 2, int16_t version = 2)
{
    std::vector<Res> r = {{"QzSG", 0, Word(sig)}, {"QzID", sig, restest::IdRecord("Tools", version)}};
    if (needs) r.push_back({"QzID", 1, restest::IdRecord("App", needs)});
    return r;
}

class PlugInFixture : public DesignFixture {
protected:
    void SetUp() override
    {
        apptest::AppFixture::SetUp();
        ResetDesignGlobals();
        ResetPlugInFiles();
        ResetPlugInNotices();
        UseAppResources(std::string(kDesignResources) + kAppIdentity);
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        for (int location = 0; location < 6; ++location) {
            if (!kPlaceVariables[location][0]) continue;
            const std::filesystem::path place = Folder() / ("place" + std::to_string(location));
            std::filesystem::create_directories(place);
            setenv(kPlaceVariables[location], place.c_str(), 1);
        }
    }
    void TearDown() override
    {
        DesignFixture::TearDown();
        ResetPlugInFiles();
        ResetPlugInNotices();
        for (const char* v : kPlaceVariables)
            if (v[0] && std::string(v) != "QZ_PREFERENCES_DIR") unsetenv(v);
    }

    std::filesystem::path Folder() const { return std::filesystem::path(folder_.path()); }
    // Every object disposed of (their files let go), empty lists again.
    void FreshLists()
    {
        DisposeTypeList(doc_.fTypeList);
        doc_.fTypeList = nullptr;
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    // The plug-in folder of a location, made.
    std::filesystem::path Plugins(int location = 0)
    {
        const std::filesystem::path p = Folder() / ("place" + std::to_string(location)) / "Plugins";
        std::filesystem::create_directories(p);
        return p;
    }
    // Writes a plug-in file into the folder of a location.
    std::string PlugInFile(const std::string& name, const std::vector<Res>& resources, int location = 0)
    {
        const std::string path = (Plugins(location) / name).string();
        restest::WriteResFile(path, resources);
        return path;
    }
    // Writes the document's companion and opens it as its file.
    void Companion(const std::vector<Res>& resources)
    {
        const std::string path = (Folder() / "doc.RSR").string();
        restest::WriteResFile(path, resources);
        doc_.fRsrFile = platform::OpenResFile(path, platform::fsRdWrPerm, platform::ResFileFork::Data);
        ASSERT_GT(doc_.fRsrFile, 0);
    }

    // "name" of the packages (kind 7, no owner), in list order.
    std::vector<std::string> Packages()
    {
        std::vector<std::string> out;
        ObjListHdl l = List(7);
        for (int32_t i = 0; l && i < l->Size(); ++i)
            if (!l->At(i)->GetOwnerObj()) out.push_back(P(l->At(i)->name));
        return out;
    }
    // "id:name" of a package's routines, in member order.
    std::vector<std::string> Routines(const std::string& package)
    {
        std::vector<std::string> out;
        TObjQz* p = PackageObj(package);
        for (int32_t i = 0; p && p->members && i < p->members->Size(); ++i)
            out.push_back(std::to_string(p->members->At(i)->id) + ":" + P(p->members->At(i)->name));
        return out;
    }
    TObjQz* PackageObj(const std::string& name)
    {
        ObjListHdl l = List(7);
        for (int32_t i = 0; l && i < l->Size(); ++i)
            if (!l->At(i)->GetOwnerObj() && P(l->At(i)->name) == name) return l->At(i);
        return nullptr;
    }
};

}  // namespace designtest
