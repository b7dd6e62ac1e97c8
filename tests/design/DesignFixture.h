// A structure document in memory for the design tests: its type list, the
// application strings the objects read, and every design global reset.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/documents/MainDoc.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "platform/core/Faults.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"
#include "tests/app/AppFixture.h"

namespace designtest {

inline const char* kDesignResources = R"RES(
'STR#' 8 { "ALL RECORDS" "QUERY" "SEARCH" "ORDER BY" "A COMMAND WHOSE NAME IS FORTY CHARACTERS" }
'STR#' 104 { "" "[" "]" "" "" "." "(" ")" "" "" "" "" "" "" "" "" "-" }
'STR#' 1011 { "" "" "" "" "" "" "" "" "Moving" "Searching" "Grouping" "Ungrouping" }
'STR#' 1024 { "" "" "" "Blocked" "" " " }
'STR#' 1027 { "Table" "Method" "Command" "List" "Menu bar" "Menu" "Package" "Routine" "Variable" "Balloon"
              "Strings" "Style" "Set" "Selection" "Semaphore" "Database method" "Constant" "Picture"
              "Style sheet" "Resource" "List box" "" "Group" "Form" "Object method" "Table method"
              "Form method" "Field" "Subtable" "Table balloon" "" "Component" "Folder" }
'DLOG' 300 { bounds 0 0 120 360 title "" proc 5 invisible items 300 }
'DITL' 300 { button 86 270 106 344 "Stop" control 62 16 74 344 300 static 12 16 30 344 "" user 34 16 56 344 }
'CNTL' 300 { $"003E 0010 004A 0158 0000 0100 0064 0000 0050 0000 0000 00" }
'ALRT' 1004 { bounds 0 0 100 300 items 1004 stages 0x5555 }
'DITL' 1004 { button 70 200 90 280 "Go on" button 70 100 90 180 "Stop" static 10 60 60 280 "^0 ^1" }
'ALRT' 1005 { bounds 0 0 120 340 items 1005 stages 0x5555 }
'DITL' 1005 { button 90 260 110 330 "Keep" button 90 180 110 250 "Replace" button 90 100 110 170 "Keep all"
              button 90 20 110 90 "Replace all" static 10 60 60 330 "^0 ^1 ^2" }
)RES";

inline std::string P(const unsigned char* p) { return apptest::P(p); }

struct PName {
    explicit PName(const std::string& s) { apptest::ToP(s, bytes); }
    operator const unsigned char*() const { return bytes; }
    unsigned char bytes[256];
};

class DesignFixture : public apptest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ResetDesignGlobals();
        UseAppResources(kDesignResources);
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    void TearDown() override
    {
        platform::ClearAllFaults();
        if (storeOpen_) ResetResManager();
        DisposeTypeList(doc_.fTypeList);
        doc_.fTypeList = nullptr;
        ResetDesignGlobals();
        AppFixture::TearDown();
    }

    TObjQz* Make(int16_t kind, const std::string& name, int16_t id = 0, bool force = false)
    {
        return NewObj_Id(&doc_, kind, PName(name), id, force);
    }
    ObjListHdl List(int16_t kind) { return GetObjListe(doc_.fTypeList, kind); }

    // Gives the document a store file of its own, current.
    void OpenStore()
    {
        ResetResManager();
        initresman();
        storeOpen_ = true;
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(folder_ / "doc.qzb", &fileSpec);
        doc_.fResFile = createres(fileSpec, platform::FourCC("QzBw"), platform::FourCC("QzDB"));
        ASSERT_NE(doc_.fResFile, 0);
    }
    void AddStored(uint32_t type, int16_t id, const std::vector<uint8_t>& bytes)
    {
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
        useres(doc_.fResFile);
        ASSERT_TRUE(xaddres(h, type, id));
        ASSERT_TRUE(updateres(doc_.fResFile));
    }

    bool storeOpen_ = false;

    TMainDoc doc_;
};

}  // namespace designtest
