// Library documents: made in a working file beside the preferences file,
// saved once or more under a name of the user's choice, and their working
// files deleted when they close unsaved.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "app/appl/AppGlobals.h"
#include "app/appl/MemoryShort.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/documents/DocHooks.h"
#include "app/documents/DocSupport.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/appl/Utilities.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "platform/files/SpecialFolders.h"
#include "resources/Companion.h"

using namespace platform;

namespace {

constexpr int16_t kNotBuilt = -4;
constexpr int16_t kTakesCompanionText = 96;  // 96-97 around the document's name

// Whether the user has the document (it is in the program's list).
bool Listed(const TDocument* doc)
{
    for (const TDocument* d = MyAppl ? MyAppl->fDocList : nullptr; d; d = d->fNext)
        if (d == doc) return true;
    return false;
}

// A document's name as a file's, and a file's name as a document's.
std::string ToUtf8(const unsigned char* p)
{
    return FileNameOf(std::string(reinterpret_cast<const char*>(p + 1), p[0]));
}

void ToPascal(const std::string& utf8, unsigned char* p)
{
    const std::string roman = MacNameOf(utf8);
    const size_t n = std::min<size_t>(roman.size(), 255);
    p[0] = uint8_t(n);
    std::memcpy(p + 1, roman.data(), n);
}

// Whether two specifications name one file (device and inode).
bool SameFile(const FSSpec& a, const FSSpec& b)
{
    struct stat sa {}, sb {};
    if (::stat(a.path.c_str(), &sa) != 0 || ::stat(b.path.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Whether `dest` is the working file of `self` or a file an open document
// of the program holds (or its companion).
bool DestinationInUse(const TLibDoc* self, const FSSpec& dest)
{
    if (SameFile(dest, self->fSpec) || SameFile(CompanionSpec(dest), CompanionSpec(self->fSpec))) return true;
    if (!MyAppl) return false;
    for (TDocument* d = MyAppl->fDocList; d; d = d->fNext) {
        if (!d->IsMember(2) || d->fRemote || d->fSpec.path.empty()) continue;
        if (SameFile(dest, d->fSpec) || SameFile(CompanionSpec(dest), CompanionSpec(d->fSpec))) return true;
    }
    return false;
}

// Text `index` of 'STR#' 1002, the name, then text `after` when given, in
// a stop alert.
void Refuse(int16_t index, const std::string& name, int16_t after = 0)
{
    Str255 text, more;
    MyGetIndString(text, 1002, index);
    ToPascal(name, more);
    AppendPString(text, more);
    if (after) {
        MyGetIndString(more, 1002, after);
        AppendPString(text, more);
    }
    XAlert(1000, text, kStopAlert);
}

// The document beside `dest` whose companion the name would take over,
// said: that document would lose its string lists and other objects.
bool TakesACompanion(const FSSpec& dest)
{
    const FSSpec companion = CompanionSpec(dest);
    FSSpec owner;
    if (companion.path.empty() || !CompanionOwner(companion, dest, &owner)) return false;
    Refuse(kTakesCompanionText, FSpGetName(owner), kTakesCompanionText + 1);
    return true;
}

}  // namespace

FSSpec CompanionSpec(const FSSpec& fileSpec)
{
    FSSpec companion;
    if (!CompanionSpec(fileSpec, &companion)) companion = FSSpec{};
    return companion;
}

std::string SetExtension(const std::string& name, const char* ext)
{
    const size_t dot = name.rfind('.');
    std::string base = (dot == std::string::npos || dot == 0) ? name : name.substr(0, dot);
    return base + "." + ext;
}

int16_t TLibDoc::InitDocument(const unsigned char* name, TAppl* appl)
{
    const int16_t result = TMainDoc::InitDocument(name, appl);
    fLibrary = true;
    fComponent = false;
    fWorkName[0] = 0;
    return result;
}

void TLibDoc::SetWasModif()
{
    if (fWorkName[0] != 0) fModified = true;
}

void TLibDoc::MakeActive()
{
    TMainDoc::MakeActive();
    if (fWorkName[0] != 0) EnableFunc(18);
    else DisableFunc(18);
}

void TLibDoc::MakeInActive()
{
    TMainDoc::MakeInActive();
    DisableFunc(18);
}

int16_t TLibDoc::OpenFile(const FSSpec& fileSpec)
{
    if (!DocHooks().openQzB) return kNotBuilt;
    unsigned char password[16]{};
    const int16_t result = DocHooks().openQzB(0, fileSpec, &fRsrFile, &fResFile, &fOtherFile, password);
    std::memcpy(fPassword, password, sizeof fPassword);
    fDataFile = -1;
    if (result == 0 && !fModuleManager && DocHooks().newModuleManager) fModuleManager = DocHooks().newModuleManager(this);
    return result;
}

int16_t TLibDoc::OpenUnread(const FSSpec& fileSpec)
{
    int16_t err = OpenFile(fileSpec);
    if (err == 0 && DocHooks().acceptQzB) err = DocHooks().acceptQzB(fRsrFile, fResFile);
    return err;
}

int16_t TLibDoc::ReadFile(bool flag)
{
    if (!DocHooks().readQzB) return kNotBuilt;
    return DocHooks().readQzB(this, true, flag);
}

void TLibDoc::CloseFile()
{
    if (DocHooks().closeQzB) DocHooks().closeQzB(fRsrFile, fResFile, fOtherFile, fDataFile);
    fRsrFile = fResFile = fOtherFile = fDataFile = -1;
}

int16_t TLibDoc::InitFile()
{
    FSSpec folder;
    if (const OSErr err = FindSpecialFolder(SpecialFolder::Preferences, true, &folder); err != noErr) {
        ErrMsg(err);
        return err;
    }
    Str255 base;
    MyGetIndString(base, 1000, 7);
    const std::string stem = ToUtf8(base);
    // The start-up clean-up removes the base name and the base followed by
    // 1 to 99: no working file is made past them.
    FSSpec docFileSpec;
    OSErr err = dupFNErr;
    for (int n = 0; n <= 99; ++n) {
        const std::string name = SetExtension(n == 0 ? stem : stem + std::to_string(n), "QTL");
        // Only "not found" frees a name: any other error stops the search.
        err = FSMakeFSSpec(folder, name, &docFileSpec);
        if (err == noErr) {
            CatInfo info;
            err = FSpGetCatInfo(docFileSpec, &info);
        }
        if (err == fnfErr) {
            // A creation a crash cut short may still complete at the name
            // (its file is then taken): the next name is tried.
            err = DocHooks().createQzLib ? DocHooks().createQzLib(docFileSpec, fLibrary ? 1 : 0) : kNotBuilt;
            if (err == dupFNErr) continue;
            break;
        }
        if (err != noErr) break;
        err = dupFNErr;
    }
    if (err == noErr) {
        fSpec = docFileSpec;
        err = OpenUnread(docFileSpec);
        if (err == noErr) ToPascal(FSpGetName(docFileSpec), fWorkName);
    }
    if (err != noErr) {
        if (!docFileSpec.path.empty() && err != dupFNErr) {
            CloseFile();
            FSpDelete(docFileSpec);
            FSpDelete(CompanionSpec(docFileSpec));
        }
        ErrMsg(err);
    }
    return err;
}

int16_t TLibDoc::Write()
{
    const bool wasLibrary = fLibrary;
    if (!fLibrary) {
        const int32_t tables = DocHooks().countKind ? DocHooks().countKind(fTypeList, 1) : 0;
        if (tables <= 0) {
            // A structure without tables cannot stay one.
            const int32_t modules =
                fModuleManager && DocHooks().countModules ? DocHooks().countModules(fModuleManager) : 0;
            Str255 text;
            if (modules != 0) {
                MyGetIndString(text, 1002, 60);
                XAlert(1000, text, kStopAlert);
                return 1001;
            }
            MyGetIndString(text, 1002, 44);
            if (XAlert(1002, text, kCautionAlert) != 1) return 1001;
            fLibrary = true;
            MyGetIndString(fName, 1001, 1);
        }
    }
    if (fWorkName[0] == 0) return 0;

    Str255 prompt, part, defaultName;
    MyGetIndString(prompt, 1013, 9);
    AppendPString(prompt, fName);
    MyGetIndString(part, 1013, 10);
    AppendPString(prompt, part);
    const char* ext = !fLibrary ? "QzB" : fComponent ? "QCP" : "QTL";
    ToPascal(SetExtension(ToUtf8(fName), ext), defaultName);
    FSSpec dest;
    for (;;) {
        if (MacPutFile(prompt, defaultName, &dest) != 0) {
            fLibrary = wasLibrary;
            return 1001;
        }
        // Never over a document the program holds, nor over the working
        // file, nor over another document's companion.
        if (DestinationInUse(this, dest)) {
            Refuse(17, FSpGetName(dest));
            continue;
        }
        if (!TakesACompanion(dest)) break;
    }

    // A file without Finder information has none to keep; memory running
    // out would have the copies lose what the files have.
    FInfo info, companionInfo;
    if (FSpGetFInfo(fSpec, &info) == memFullErr || FSpGetFInfo(CompanionSpec(fSpec), &companionInfo) == memFullErr) {
        fLibrary = wasLibrary;
        ErrMsg(memFullErr);
        return 1001;
    }
    info.fdType = !fLibrary ? MainDocType : fComponent ? FourCC("QzMO") : LibDocType;
    info.fdCreator = FourCC(!fLibrary ? "Qz06" : "QzA6");
    FSpSetFInfo(fSpec, info);
    // The document's new place, made before the move: once the files are
    // there, taking it allocates nothing.
    FSSpec moved = dest;
    Str255 name, pathName;
    ToPascal(FSpGetName(dest), name);
    int16_t vRefNum = 0;
    int32_t dirID = 0;
    FSpGetDirID(FSpGetParent(dest), &vRefNum, &dirID);
    GetPathName(pathName, vRefNum, dirID);
    const FSSpec working = fSpec;
    CloseFile();
    const int16_t err = DocHooks().copyFile ? DocHooks().copyFile(working, dest) : kNotBuilt;
    // A failure is said here, once: 1001 tells the caller so.
    if (err != 0) {
        ErrMsg(err);
        OpenUnread(working);
        return 1001;
    }
    // Saved: the document is at `dest` whatever follows. Memory running
    // out from here leaves a document the user has to the command's runner,
    // which opens and reads it there again (RunCommand).
    fSpec = std::move(moved);
    std::memcpy(fName, name, sizeof name);
    std::memcpy(fPathName, pathName, sizeof pathName);
    fVRefNum = vRefNum;
    fDirID = dirID;
    fWorkName[0] = 0;
    memoryshort::Landed();
    RenumberRefWindows();
    // The types and creators again on the names saved: the hidden names the
    // copies were made under may have been too long to keep them.
    for (const auto& [file, kept] : {std::pair{dest, info}, std::pair{CompanionSpec(dest), companionInfo}})
        if (FInfo saved; FSpGetFInfo(file, &saved) == noErr && !(saved == kept)) FSpSetFInfo(file, kept);
    const int16_t result = OpenUnread(dest);
    DisableFunc(18);
    if (result == 0) return 0;
    if (result == memFullErr && Listed(this)) throw std::bad_alloc();
    ErrMsg(result);
    return 1001;
}

void TLibDoc::DelFile()
{
    CloseFile();
    if (fSpec.path.empty()) return;
    FSpDelete(fSpec);
    FSpDelete(CompanionSpec(fSpec));
}

int16_t TLibDoc::Dispose()
{
    // The working files go only once the document really goes: a refusal
    // at the last window keeps them.
    const bool unsaved = fWorkName[0] != 0;
    const FSSpec working = fSpec;
    const int16_t result = TMainDoc::Dispose();
    if (result == 1001) return result;
    if (unsaved && !working.path.empty()) {
        FSpDelete(working);
        FSpDelete(CompanionSpec(working));
    }
    return result;
}
