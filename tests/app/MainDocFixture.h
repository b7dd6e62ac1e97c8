// Structure and library documents over stand-ins for the design layer: a
// document is a store container and its ".RSR" companion, reading answers
// what the test asks, and every call is counted.
#pragma once

#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/documents/DocHooks.h"
#include "app/documents/MainDoc.h"
#include "app/windows/PaneHooks.h"
#include "app/windows/TMainWindow.h"
#include "platform/core/FourCC.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "tests/app/DocFakes.h"

namespace apptest {

struct FakeDesign {
    std::deque<int16_t> readResults;  // then 0
    int reads = 0, rereads = 0, opens = 0, closes = 0, creates = 0, copies = 0, lists = 0;
    int16_t copyResult = 0;
    int32_t tables = 1, modules = 0;
    bool compiled = false, passwords = false, okStruct = true;
    int16_t takePass = 0;
    std::vector<std::pair<int16_t, std::string>> sorted;

    static FakeDesign*& Current()
    {
        static FakeDesign* current = nullptr;
        return current;
    }
};

inline int16_t FakeOpenQzB(uint8_t, const platform::FSSpec& fileSpec, int16_t* rsr, int16_t* res, int16_t* other,
                           unsigned char* password)
{
    ++FakeDesign::Current()->opens;
    *rsr = *res = *other = -1;
    password[0] = 0;
    *res = openres(fileSpec, false);
    if (*res == 0) {
        *res = -1;
        return -43;
    }
    const platform::FSSpec companion = CompanionSpec(fileSpec);
    *rsr = platform::FSpOpenResFile(companion, platform::fsRdWrPerm, platform::ResFileFork::Data);
    return 0;
}

inline void FakeCloseQzB(int16_t rsr, int16_t res, int16_t, int16_t)
{
    ++FakeDesign::Current()->closes;
    if (res != -1) closeres(res, true);
    if (rsr != -1) platform::CloseResFile(rsr);
}

inline int16_t FakeCreate(const platform::FSSpec& fileSpec, uint8_t library)
{
    ++FakeDesign::Current()->creates;
    const int16_t res =
        createres(fileSpec, platform::FourCC(library ? "QzA6" : "Qz06"), platform::FourCC(library ? "QzLB" : "BAS5"));
    if (res == 0) return reserr ? reserr : -1;
    updateres(res);
    closeres(res, true);
    platform::FSpCreateResFile(CompanionSpec(fileSpec), platform::FourCC("QzA6"), platform::FourCC("rsrc"), 0,
                               platform::ResFileFork::Data);
    return 0;
}

inline int16_t FakeCopy(const platform::FSSpec& from, const platform::FSSpec& to)
{
    FakeDesign& d = *FakeDesign::Current();
    ++d.copies;
    if (d.copyResult != 0) return d.copyResult;
    platform::FInfo info;
    platform::FSpGetFInfo(from, &info);
    std::filesystem::rename(from.path, to.path);
    std::filesystem::rename(CompanionSpec(from).path, CompanionSpec(to).path);
    platform::FSpSetFInfo(to, info);
    return 0;
}

inline int16_t FakeRead(TMainDoc*, bool initial, bool)
{
    FakeDesign& d = *FakeDesign::Current();
    (initial ? d.reads : d.rereads)++;
    if (d.readResults.empty()) return 0;
    const int16_t r = d.readResults.front();
    d.readResults.pop_front();
    return r;
}

// A type list stands in as one allocated byte.
inline int16_t FakeNewList(TypeListRec** list)
{
    ++FakeDesign::Current()->lists;
    *list = reinterpret_cast<TypeListRec*>(new char(0));
    return 0;
}
inline void FakeDisposeList(TypeListRec* list)
{
    --FakeDesign::Current()->lists;
    delete reinterpret_cast<char*>(list);
}

inline void InstallFakeDesign(FakeDesign* design)
{
    FakeDesign::Current() = design;
    ResetDocHooks();
    AppDocHooks& h = DocHooks();
    h.openQzB = FakeOpenQzB;
    h.closeQzB = FakeCloseQzB;
    h.createQzLib = FakeCreate;
    h.copyFile = FakeCopy;
    h.readQzB = FakeRead;
    h.useQzRes = [](int16_t f) { useres(f); };
    h.newTypeList = FakeNewList;
    h.disposeTypeList = FakeDisposeList;
    h.sortKind = [](TypeListRec*, int16_t kind) { FakeDesign::Current()->sorted.emplace_back(kind, ""); };
    h.countKind = [](TypeListRec*, int16_t) { return FakeDesign::Current()->tables; };
    h.countModules = [](IModuleManager*) { return FakeDesign::Current()->modules; };
    h.newModuleManager = [](TMainDoc*) { return reinterpret_cast<IModuleManager*>(new char(0)); };
    h.deleteModuleManager = [](IModuleManager* m) { delete reinterpret_cast<char*>(m); };
    h.baseCompilee = [] { return FakeDesign::Current()->compiled; };
    h.readServerPasswords = [](bool* loginNeeded) {
        *loginNeeded = FakeDesign::Current()->passwords;
        return int16_t(0);
    };
    h.takePass = [](bool) { return FakeDesign::Current()->takePass; };
    h.okStruct = [] { return FakeDesign::Current()->okStruct; };
}

// The next file dialog is cancelled.
inline void PushCancel()
{
    platform::FileDialogAnswer cancel;
    cancel.kind = platform::FileDialogAnswer::Kind::Cancel;
    platform::PushFileDialogAnswer(cancel);
}

// The strings, alerts and layouts the documents read.
inline const char* kDocumentResources = R"(
'STR#' 1013 { "" "" "" "" "" "" "Page" "" "Save \"" "\" as:" "" "" "" "" "" ".QzB" }
'ALRT' 1002 { bounds 0 0 100 300 items 1002 stages 0x5555 }
'DITL' 1002 { button 70 200 90 280 "OK" button 70 100 90 180 "Cancel" static 10 60 60 280 "^0" }
'WNDD' 128 {
    $"0000 0000 0000 0000 0004"
    $"0000 0000 0000 0064 0032 0000 0000 0000 0080 0000"
    $"0001 0000 0032 0032 0064 0000 0000 0000 0081 0000"
    $"0002 0032 0032 004B 0064 0000 0000 0000 0082 0000"
    $"0003 004B 0032 0064 0064 0000 0000 0000 0083 0000"
}
'WNDD' 129 {
    $"0000 0000 0000 0000 0002"
    $"0000 0000 0000 0064 003C 0082 0082 0000 0080 0003 0007 0008 0009"
    $"0003 0000 003C 0064 0064 0000 0000 0000 0080 0000"
}
'WNDD' 131 {
    $"0000 0000 0000 0000 0002"
    $"0000 0000 0000 0064 003C 0000 0000 0000 0080 0000"
    $"0003 0000 003C 0064 0064 0000 0000 0000 0080 0004 0001"
}
'FLT2' 128 { $"0000 0000 00FF FFFF FFFF FFFF" }
'FLT2' 129 { $"0000 0000 0000 0100 0000 0000" }
)";

// The window menus and the document commands.
inline const std::string kDocumentMenus = std::string(R"(
'MMBR' 129 { menu 129 "File" items 1 20 2 11 14 4 18 74 menu 130 "Edit" items 21 22 23 24 25 3 27 5 32 33 34 40 41 42 }
'MITM' 1 { text "New library" command 1 }
'MITM' 20 { text "New structure" command 20 }
'MITM' 2 { text "Open" command 2 }
'MITM' 11 { text "Open Recent" command 11 kind submenu }
'MITM' 18 { text "Save" command 18 }
'MITM' 14 { text "Open from server" command 14 }
'MITM' 74 { text "Read again" command 74 }
'MITM' 40 { text "Browser" command 40 }
'MITM' 41 { text "Browser 2" command 41 }
'MITM' 42 { text "Browser 3" command 42 }
)") + kEditMenuItems;

// The base strings with the window titles of documents.
inline const std::string kDocumentStrings = std::string(kBaseAlerts) + R"(
'STR#' 1002 { "m1" "m2" "m3" "m4" "m5" "m6" "m7" "m8" "m9" "m10" "m11" "m12" "m13" "m14" "m15" "m16" "Taken: "
              "m18" "m19" "m20" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "big" "bigger" ""
              "" "" "Make it a library?" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "Components"
              "Not a document: " "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" "" ""
              "Too many tables" "Too many fields" }
'vers' 1 { version 2 1 0 stage final release 0 region 0 short "2.1" long "2.1, test" }
'STR#' 1001 { "Library" "Structure" "Save \"" "\"?" "Clipboard" "" "" "Open a document" "" "" "ID" "" "" ""
              "" "" "" "" "" "" "" "" "Close " " now?" " / " "" "" "" "" "" "" "" "" "" "" "" "" "" ""
              "" "" "" "" "" "Open a script" }
'STR#' 1028 { "" "" "" "" "" "" "" "" "" "" "Remarks" }
)";

class MainDocFixture : public DocFixture {
protected:
    void SetUp() override
    {
        ResetResManager();
        initresman();
        extraResources = kDocumentStrings + kDocumentResources + extraDocResources;
        useBaseResources = false;
        menuResources = kDocumentMenus;
        DocFixture::SetUp();
        InstallFakeDesign(&design_);
        OpenPrefResFile();
    }
    void TearDown() override
    {
        DisposeDocs();
        ResetDocHooks();
        PaneHooks() = AppPaneHooks();
        ResetResManager();
        FakeDesign::Current() = nullptr;
        DocFixture::TearDown();
    }

    // A document file and its companion in the test folder.
    platform::FSSpec MakeDocFile(const std::string& name, const char* type = nullptr, int companionResources = 0)
    {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(folder_ / name, &fileSpec);
        const int16_t res = createres(fileSpec, platform::FourCC("Qz06"), platform::FourCC("BAS5"));
        EXPECT_NE(res, 0);
        updateres(res);
        closeres(res, true);
        const platform::FSSpec companion = CompanionSpec(fileSpec);
        platform::FSpCreateResFile(companion, platform::FourCC("QzA6"), platform::FourCC("rsrc"), 0,
                                   platform::ResFileFork::Data);
        if (companionResources > 0) {
            // Written in one piece: thousands of single adds are slow.
            std::vector<uint8_t> bytes;
            platform::ResourceFileImage image;
            EXPECT_EQ(platform::ReadWholeFile(companion.path, &bytes), platform::noErr);
            EXPECT_EQ(platform::ParseResourceFile(bytes.data(), bytes.size(), &image), platform::noErr);
            for (int i = 0; i < companionResources; ++i) {
                platform::ResourceImage r;
                r.type = platform::FourCC("TEST");
                r.id = int16_t(i + 1);
                r.data.assign(2, 0);
                image.resources.push_back(r);
            }
            EXPECT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
            EXPECT_EQ(platform::WriteFileAtomically(companion.path, bytes.data(), bytes.size()), platform::noErr);
        }
        // Without a type only the name tells.
        platform::FInfo info;
        if (type) info.fdType = platform::OSType(uint8_t(type[0])) << 24 | uint8_t(type[1]) << 16 | uint8_t(type[2]) << 8 | uint8_t(type[3]);
        platform::FSpSetFInfo(fileSpec, info);
        return fileSpec;
    }
    // Every structure or library document, gone without a question.
    void DisposeDocs()
    {
        for (TDocument* d = appl_->fDocList; d;) {
            TDocument* next = d->fNext;
            if (d->IsMember(2)) {
                appl_->RemoveDoc(d);
                appl_->fQuit = true;
                d->Dispose();
                appl_->fQuit = false;
            }
            d = next;
        }
    }
    TMainDoc* FrontDoc() const { return static_cast<TMainDoc*>(appl_->fDocList); }
    int DocCount() const
    {
        int n = 0;
        for (TDocument* d = appl_->fDocList; d; d = d->fNext)
            if (d->IsMember(2)) ++n;
        return n;
    }
    std::string Title(TWindow* w) const
    {
        unsigned char t[256];
        w->GetTitle(t);
        return P(t);
    }

    FakeDesign design_;
    std::string extraDocResources;
};

}  // namespace apptest
