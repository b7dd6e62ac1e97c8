// Opening and closing a document. Every refusal is decided before the
// container is opened for writing, so a refused document keeps every byte.
#include "design/documents/OpenQzB.h"

#include <sys/stat.h>

#include <cstring>
#include <map>
#include <new>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/documents/DocSupport.h"
#include "design/documents/CompanionJournalFile.h"
#include "design/documents/CreateQzLib.h"
#include "design/documents/DocResources.h"
#include "design/documents/DocumentPairs.h"
#include "design/documents/Passwords.h"
#include "design/objects/TableDescriptions.h"
#include "kernel/handles/KernelHandles.h"
#include "kernel/pstrings/PStrings.h"
#include "network/ConvertTo6.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/Resources.h"
#include "resources/CommitMark.h"
#include "resources/ResourceApi.h"

using platform::FourCC;
using platform::Handle;
using platform::Str255;

namespace {

constexpr int16_t kFileBusy = -49;
constexpr int16_t kMemory = -108;
constexpr int16_t kCancelled = 1001;
constexpr int16_t kNewerVersion = 1002;
constexpr int16_t kDamaged = 1003;
constexpr int16_t kStructureOtherOrder = 1016;
constexpr int16_t kLibraryOtherOrder = 1018;
constexpr int16_t kOlderContainer = 4;   // reserr of openres
constexpr int16_t kUnusedJournal = 84;   // STR# 1002
constexpr int16_t kMissingCompanion = 102;
constexpr int16_t kSharedCompanion = 127;  // 127-129 around two documents' names
constexpr int16_t kLockedCompanion = 143;  // 143-144 around the companion's name
constexpr int16_t kSecondName = 145;       // 145-146 around the document's name
constexpr int32_t kParamMinSize = 5;     // the level is byte 4
constexpr platform::Size kConvertMemory = 65536;

constexpr platform::ResType kINQz = FourCC("INQz");
constexpr platform::ResType kPRQz = FourCC("PRQz");
constexpr platform::ResType kPAQz = FourCC("PAQz");

// A version record's number, or nothing when it is too short to hold one.
bool VersionOf(Handle record, int16_t* version)
{
    if (!record || !*record || platform::GetHandleSize(record) < 2) return false;
    *version = int16_t(platform::ReadBE16(reinterpret_cast<const uint8_t*>(*record)));
    return true;
}

// The application's 'INQz' 1, looked up in the application's own file.
Handle AppVersionRecord()
{
    const int16_t saved = platform::CurResFile();
    if (G_MainResFile > 0) platform::UseResFile(G_MainResFile);
    Handle h = platform::Get1Resource(kINQz, 1);
    platform::UseResFile(saved);
    return h;
}

// What an open put off until the document is accepted, by container.
struct PutOff {
    int16_t rsrFile = -1;
    bool stamp = false;
    uint8_t isStructure = 0;
    platform::FSSpec fileSpec;
};

std::map<int16_t, PutOff>& PutOffs()
{
    static std::map<int16_t, PutOff> putOffs;
    return putOffs;
}

// Closes a container this open made, without committing: a refused
// document keeps its bytes.
void DropContainer(int16_t container)
{
    if (container <= 0) return;
    PutOffs().erase(container);
    ForgetDocParamRecord(container);
    closeres(container, false);
    if (numresfalse == container) numresfalse = 0;
}

// Rewrites the Finder information of a converted document.
int16_t StampConverted(uint8_t isStructure, const platform::FSSpec& fileSpec)
{
    platform::FInfo info;
    platform::OSErr err = platform::FSpGetFInfo(fileSpec, &info);
    if (err) return err;
    if (isStructure) {
        info.fdCreator = FourCC("Qz06");
    } else {
        info.fdCreator = FourCC("QzA6");
        info.fdType = FourCC("QzLB");
    }
    return platform::FSpSetFInfo(fileSpec, info);
}

// The conversion of an older document (asked, memory checked, converted):
// 0, or the refusal. Its new Finder information is written only once the
// document is accepted (AcceptQzB).
int16_t Convert(uint8_t isStructure, const platform::FSSpec& fileSpec, bool* stamp)
{
    if (!OkConvert(isStructure)) return kCancelled;
    if (!CheckMem(kConvertMemory)) return kMemory;
    const int16_t saved = platform::CurResFile();
    if (G_MainResFile > 0) platform::UseResFile(G_MainResFile);
    CursInstall();
    convert_to_6(fileSpec);
    SetArrowCursor();
    *stamp = true;
    platform::UseResFile(saved);
    erreure = 0;
    return 0;
}


// 'PAQz' 0 of 4 bytes without a group table is an empty table written by
// an older version: it becomes the fixed empty table.
void NormalisePasswords()
{
    if (xget1res(kPAQz, 1)) return;
    Handle users = xget1res(kPAQz, 0);
    if (!users || platform::GetHandleSize(users) != 4) return;
    Handle fresh = platform::NewHandle(4);
    if (!fresh) return;
    uint8_t empty[4];
    EmptyScrambledTable(empty);
    std::memcpy(*fresh, empty, 4);
    if (!rmveres(users)) {
        platform::DisposeHandle(fresh);
        return;
    }
    platform::DisposeHandle(users);  // removed: the handle is ours
    if (!xaddres(fresh, kPAQz, 0)) platform::DisposeHandle(fresh);
}

struct OpenState {
    int16_t container = 0;
    int16_t rsrFile = -1;
    PairLock lock;
};

// Loads the container's parameter record as the document's own: 0, or
// 1003 when it is missing or too short to hold the level.
int16_t LoadParamRecord(int16_t container)
{
    useres(container);
    Handle stored = xget1res(kPRQz, 0);
    if (!stored || !*stored || platform::GetHandleSize(stored) < kParamMinSize) return kDamaged;
    Handle record = stored;
    if (platform::HandToHand(&record) != 0) return kMemory;
    SetDocParamRecord(container, record);
    hparam = record;
    return 0;
}

// Whether the companion says the document was written by a newer program
// (or this program has no version record of its own). Looked at without
// writing: a companion already open is left open.
bool WrittenByNewerVersion(const platform::FSSpec& fileSpec)
{
    platform::FSSpec companion;
    platform::Boolean inChain = false;
    int16_t already = -1;
    const bool wasOpen = platform::FSpResourceFileAlreadyOpen(fileSpec, &inChain, &already) ||
                         (CompanionSpec(fileSpec, &companion) &&
                          platform::FSpResourceFileAlreadyOpen(companion, &inChain, &already));
    const int16_t saved = platform::CurResFile();
    const int16_t file = OpenResFile(fileSpec, platform::fsRdPerm);
    if (file == -1) return false;
    platform::UseResFile(file);
    int16_t ownVersion = 0, appNumber = 0;
    const bool has = VersionOf(platform::Get1Resource(kINQz, 0), &ownVersion);
    platform::UseResFile(saved);
    if (!wasOpen) platform::CloseResFile(file);
    return has && (!VersionOf(AppVersionRecord(), &appNumber) || ownVersion > appNumber);
}

// A caution naming a file: item `item` of 'STR#' 1002, then its name.
void TellNaming(int16_t item, const platform::FSSpec& file)
{
    Str255 text;
    MyGetIndString(text, 1002, item);
    AppendFileName(text, file);
    XAlert(1000, text, kCautionAlert);
}

// The user is told that a journal of the companion could not be used: the
// document opens as it stands, the file stays for whoever looks into it.
void TellUnusedJournal(const platform::FSSpec& fileSpec)
{
    TellNaming(kUnusedJournal, KeptCompanionJournal(fileSpec));
}

// A document without its companion opens without the objects kept there:
// the user is told, naming the file that should be beside it.
void TellMissingCompanion(const platform::FSSpec& fileSpec)
{
    platform::FSSpec companion;
    if (CompanionSpec(fileSpec, &companion) && !platform::FSpExists(companion))
        TellNaming(kMissingCompanion, companion);
}

// Another document beside this one whose companion is the same file (a
// library put by hand beside a structure of the same name): said, naming
// both, and neither is opened, for each would write the other's objects.
// The pair's lock is let go before the alert. 0, kCancelled once said,
// kMemory.
int16_t SayIfSharedCompanion(const platform::FSSpec& fileSpec, PairLock* lock)
{
    platform::FSSpec companion, other;
    CommitMark mark;
    if (!ReadCommitMark(fileSpec.path, &mark) || !CompanionSpec(fileSpec, &companion) ||
        !CompanionOwner(companion, fileSpec, &other))
        return 0;
    if (other.path.empty()) return kMemory;
    lock->Release();
    Str255 text, more;
    MyGetIndString(text, 1002, kSharedCompanion);
    const platform::FSSpec* names[2] = {&fileSpec, &other};
    for (int16_t i = 0; i < 2; ++i) {
        AppendFileName(text, *names[i]);
        MyGetIndString(more, 1002, int16_t(kSharedCompanion + 1 + i));
        AppendPString(text, more);
    }
    XAlert(1000, text, kStopAlert);
    return kCancelled;
}

// Whether the user may not write `file`: without write permission it is
// locked for every user, whatever the system would let through.
bool MayNotWrite(const platform::FSSpec& file)
{
    if (uint16_t mode = 0; platform::FSpGetPermissions(file, &mode) == platform::noErr && (mode & 0222) == 0)
        return true;
    int16_t probe = 0;
    const platform::OSErr err = platform::FSpOpenDF(file, platform::fsWrPerm, &probe);
    if (err == platform::noErr) platform::FSClose(probe);
    return err == platform::permErr || err == platform::wrPermErr;
}

// The open refused, said with the items `item` and `item` + 1 of 'STR#'
// 1002 around the file's name; the pair's lock is let go before the alert.
int16_t RefuseNaming(int16_t item, const platform::FSSpec& file, PairLock* lock)
{
    lock->Release();
    Str255 text, after;
    MyGetIndString(text, 1002, item);
    AppendFileName(text, file);
    MyGetIndString(after, 1002, int16_t(item + 1));
    AppendPString(text, after);
    XAlert(1000, text, kStopAlert);
    return kCancelled;
}

// The companion is written with the data file: one the user may not write
// locks the document, which is refused naming it (rather than opened with
// the objects kept there hidden, and changed in its data file alone). 0,
// or kCancelled once said.
int16_t SayIfCompanionLocked(const platform::FSSpec& fileSpec, PairLock* lock)
{
    platform::FSSpec companion;
    if (!CompanionSpec(fileSpec, &companion) || !platform::FSpExists(companion) || !MayNotWrite(companion)) return 0;
    return RefuseNaming(kLockedCompanion, companion, lock);
}

bool HasSecondName(const platform::FSSpec& file)
{
    struct stat st {};
    return ::stat(file.path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink > 1;
}

// A file of the document under a second name (a hard link, as backup and
// snapshot tools leave them) would change there too, the data file being
// written in place, or be left behind, the companion being replaced whole:
// the document is refused, naming it, before anything is written. 0, or
// kCancelled once said.
int16_t SayIfSecondName(const platform::FSSpec& fileSpec, PairLock* lock)
{
    platform::FSSpec companion;
    if (!HasSecondName(fileSpec) && !(CompanionSpec(fileSpec, &companion) && HasSecondName(companion))) return 0;
    return RefuseNaming(kSecondName, fileSpec, lock);
}

// Every refusal is decided on a read-only view of the container, so that a
// refused document is never written, not even the mark of a file open for
// writing. Only an accepted document is opened for writing and changed:
// converted, its companion stamped, its password tables normalised.
int16_t Open(uint8_t isStructure, const platform::FSSpec& fileSpec, OpenState* s, unsigned char* password)
{
    // Held from here to the end of the open: no other program replaces or
    // puts right the pair meanwhile, and one that has it open keeps it.
    const int16_t locked = s->lock.Take(fileSpec);
    // Said first, also where this program holds the other document: it is
    // the true reason, not a program holding this one.
    if (const int16_t said = SayIfSharedCompanion(fileSpec, &s->lock)) return said;
    if (locked) return locked == platform::fBsyErr ? kFileBusy : locked;
    // A replacement a crash cut short is put right before anything reads
    // the document.
    bool unused = false;
    if (const int16_t err = FinishPair(fileSpec, &unused)) return err;
    if (unused) TellUnusedJournal(fileSpec);

    // 2. A pipe, a device or a folder under the name is no document (and
    // is never opened for writing: a pipe would wait for a reader); a file
    // that is not there (nor its folder) is not found, not busy.
    int16_t kindProbe = 0;
    const platform::OSErr kind = platform::FSpOpenDF(fileSpec, platform::fsRdPerm, &kindProbe);
    if (kind == platform::notAFileErr || kind == platform::fnfErr || kind == platform::dirNFErr) return kind;
    if (kindProbe) platform::FSClose(kindProbe);
    // The file must be free to be written. One that may not be written is
    // locked, not in use: without write permission it is locked for every
    // user, whatever the system would let through.
    if (uint16_t mode = 0; platform::FSpGetPermissions(fileSpec, &mode) == platform::noErr && (mode & 0222) == 0)
        return platform::fLckdErr;
    {
        int16_t probe = 0;
        const platform::OSErr err = platform::FSpOpenDF(fileSpec, platform::fsWrPerm, &probe);
        if (err == platform::permErr || err == platform::wrPermErr) return platform::fLckdErr;
        if (err == platform::vLckdErr) return platform::vLckdErr;
        if (err != platform::noErr) return kFileBusy;
        platform::FSClose(probe);
    }
    if (const int16_t said = SayIfCompanionLocked(fileSpec, &s->lock)) return said;
    if (const int16_t said = SayIfSecondName(fileSpec, &s->lock)) return said;

    // 3.
    gStructFileSpec = fileSpec;
    s->container = openres(fileSpec, true);
    numresfalse = s->container;
    from503 = from55 = from40 = false;
    erreure = reserr;
    int16_t pending = 0;
    bool stamp = false;

    // 4, 5.
    if (reserr == kOlderContainer) {
        from503 = true;
        if (const int16_t refusal = Convert(isStructure, fileSpec, &stamp)) return refusal;
    } else if (reserr != 0 || s->container <= 0) {
        return kDamaged;
    }

    // 6.
    if (const int16_t err = LoadParamRecord(s->container)) return err;
    const uint8_t level = reinterpret_cast<const uint8_t*>(*hparam)[4];

    // 7. Level 0 libraries and level 9 documents are converted in place,
    // which needs the container in this machine's order.
    if ((level == 0 && !isStructure) || level == 9) {
        if (!IsNatif(s->container)) return isStructure ? kStructureOtherOrder : kLibraryOtherOrder;
        if (const int16_t refusal = Convert(isStructure, fileSpec, &stamp)) return refusal;
    }

    // 8.
    bool convertLibrary = false;
    if (level < kCurrentLevel) {
        Str255 text;
        if (isStructure) {
            MyGetIndString(text, 1002, 42);
            XAlert(1000, text, kStopAlert);
            return kCancelled;
        }
        MyGetIndString(text, 1002, 48);
        if (XAlert(1002, text, kCautionAlert) != 1) return kCancelled;
        convertLibrary = true;
    }

    // 11, 12. A converted library gets this program's version record.
    if (!convertLibrary && WrittenByNewerVersion(fileSpec)) pending = kNewerVersion;
    if (pending) return pending;

    // 14. The tables are read as they stand: a 4-byte table that step 13
    // replaces holds no user either way.
    UseQzRes(s->container);
    password[0] = 0;
    static const unsigned char empty[1] = {0};
    if (isStructure && isthereapassword(2) && !issuperuser(empty)) {
        if (!CheckPassword(false, password)) {
            password[0] = 0;
            return kCancelled;
        }
    }

    // Accepted by the open: now for writing, every change held until the
    // read accepts the document too (AcceptQzB).
    DropContainer(s->container);
    s->container = openres(fileSpec, false);
    numresfalse = s->container;
    if (reserr || s->container <= 0) return kDamaged;
    holdres(s->container, true);
    PutOffs()[s->container] = PutOff{-1, stamp, isStructure, fileSpec};
    if (const int16_t err = LoadParamRecord(s->container)) return err;
    if (convertLibrary) {
        UseQzRes(s->container);
        if (const int16_t err = ConvertLibTo2004()) return err;
    }

    // 9.
    UseQzRes(s->container);
    if (reserr) return reserr;

    // 10, 11.
    s->rsrFile = OpenResFile(fileSpec, platform::fsRdWrPerm);
    // Memory running out is no missing companion: the open fails.
    if (s->rsrFile == -1 && erreure == platform::memFullErr) return platform::memFullErr;
    if (s->rsrFile != -1) {
        // The two files the document is from now on: a write of either
        // first looks that both are still these, at their names.
        bindcompanion(s->container, s->rsrFile);
        platform::HoldResFile(s->rsrFile, true);
        PutOffs()[s->container].rsrFile = s->rsrFile;
        if (convertLibrary) UpdateQzIN(s->rsrFile);
        UpdateINQz5To6(s->rsrFile);
    } else {
        TellMissingCompanion(fileSpec);
    }

    // 13.
    UseQzRes(s->container);
    NormalisePasswords();
    return 0;
}

}  // namespace

int16_t OpenQzB(uint8_t isStructure, const platform::FSSpec& fileSpec, int16_t* rsrFile, int16_t* container,
                int16_t* otherFile, unsigned char* password)
{
    *rsrFile = -1;
    *container = -1;
    *otherFile = -1;
    password[0] = 0;
    const int16_t previous = numresfalse;
    OpenState s;
    int16_t err;
    try {
        err = Open(isStructure, fileSpec, &s, password);
    } catch (const std::bad_alloc&) {
        err = kMemory;
    }
    if (err) {
        // Whatever was opened is closed here, so no caller closes by a
        // number that may since belong to another file.
        if (s.rsrFile != -1) platform::CloseResFile(s.rsrFile);
        DropContainer(s.container);
        // The document that was current before stays current.
        if (previous > 0 && previous != s.container) UseQzRes(previous);
        password[0] = 0;
        return err;
    }
    *rsrFile = s.rsrFile;
    *container = s.container;
    return 0;
}

int16_t AcceptQzB(int16_t rsrFile, int16_t container)
{
    const auto it = PutOffs().find(container);
    if (it == PutOffs().end()) return 0;
    PutOff& putOff = it->second;
    if (putOff.stamp) {
        if (const int16_t err = StampConverted(putOff.isStructure, putOff.fileSpec)) return err;
        putOff.stamp = false;
    }
    // The container first: groups leave the companion only once the
    // container holds them.
    if (!holdres(container, false)) return reserr ? reserr : platform::ioErr;
    if (rsrFile != -1 && platform::IsResFileOpen(rsrFile)) {
        platform::HoldResFile(rsrFile, false);
        if (const platform::OSErr err = platform::ResError()) return err;
    }
    PutOffs().erase(it);
    return 0;
}

void CloseQzB(int16_t rsrFile, int16_t container, int16_t otherFile, int16_t dataFile)
{
    PutOffs().erase(container);
    if (container != -1) {
        ForgetDocParamRecord(container);
        closeres(container, true);
        if (numresfalse == container) numresfalse = 0;
    }
    if (rsrFile != -1) platform::CloseResFile(rsrFile);
    if (otherFile != -1) platform::CloseResFile(otherFile);
    if (dataFile != -1) platform::FSClose(dataFile);
    DisposeStyleSheets();
}

bool OkConvert(uint8_t isStructure)
{
    Str255 text;
    if (isStructure) {
        MyGetIndString(text, 1002, 42);
        XAlert(1000, text, kStopAlert);
        return false;
    }
    MyGetIndString(text, 1002, 43);
    return XAlert(1002, text, kCautionAlert) == 1;
}

int16_t ConvertLibTo2004()
{
    Handle stored = xget1res(kPRQz, 0);
    if (!stored || !*stored || platform::GetHandleSize(stored) < kParamMinSize)
        return reserr ? reserr : platform::resNotFound;
    reinterpret_cast<uint8_t*>(*stored)[4] = kCurrentLevel;
    // A write that failed is reported: the caller must not take the
    // document for converted.
    if (!xwriteres(stored)) return reserr ? reserr : platform::ioErr;
    if (hparam && platform::GetHandleSize(hparam) >= kParamMinSize)
        reinterpret_cast<uint8_t*>(*hparam)[4] = kCurrentLevel;
    return 0;
}

namespace {

// Stores `record` (a resource found down the chain) in `rsrFile` as
// 'INQz' 0 with an empty name: a detached copy, so the original stays.
void StoreAsVersion0(Handle record)
{
    Handle copy = record;
    if (platform::HandToHand(&copy) != 0) return;
    static const unsigned char noName[1] = {0};
    platform::AddResource(copy, kINQz, 0, noName);
    if (platform::ResError() != 0) {
        platform::DisposeHandle(copy);
        return;
    }
    platform::WriteResource(copy);
}

}  // namespace

void UpdateINQz5To6(int16_t rsrFile)
{
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(rsrFile);
    Handle current = platform::GetResource(kINQz, 1);
    Handle own = platform::GetResource(kINQz, 0);
    int16_t currentVersion = 0, ownVersion = 0;
    if (VersionOf(current, &currentVersion) && VersionOf(own, &ownVersion) && currentVersion == 6 &&
        ownVersion == 5 && platform::HomeResFile(own) == rsrFile) {
        platform::RemoveResource(own);
        if (platform::ResError() == 0) {
            platform::DisposeHandle(own);
            StoreAsVersion0(current);
            platform::UpdateResFile(rsrFile);
        }
    }
    platform::UseResFile(saved);
}

void UpdateQzIN(int16_t rsrFile)
{
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(rsrFile);
    if (Handle own = platform::Get1Resource(kINQz, 0)) {
        platform::RemoveResource(own);
        if (platform::ResError() == 0) platform::DisposeHandle(own);
    }
    if (Handle current = platform::GetResource(kINQz, 1)) {
        StoreAsVersion0(current);
        platform::UpdateResFile(rsrFile);
    }
    platform::UseResFile(saved);
}

int16_t GetDBType(int16_t container)
{
    const int16_t saved = xcurres();
    const int16_t savedNumber = numresfalse;
    useres(container);
    int16_t type = 0;
    if (xget1res(FourCC("VART"), 0)) {
        if (compteres(FourCC("CCQz"), true) > 0)
            type = compteres(FourCC("MPPC"), true) > 0 && !IsDatabaseDirtyForCompiler() ? 2 : 0;
        else
            type = 1;
    }
    if (saved > 0) useres(saved);
    numresfalse = savedNumber;
    return type;
}

bool basecompilee() { return GetDBType(numresfalse) == 1; }

bool IsDatabaseDirtyForCompiler()
{
    Handle counter = xget1res(FourCC("QzQz"), 2);
    if (!counter || !*counter || platform::GetHandleSize(counter) < 4) return false;
    return int32_t(platform::ReadBE32(reinterpret_cast<const uint8_t*>(*counter))) > 0;
}

void SetDatabaseDirtyForCompiler()
{
    Handle counter = xget1res(FourCC("QzQz"), 2);
    if (counter && *counter && platform::GetHandleSize(counter) >= 4) {
        auto* p = reinterpret_cast<uint8_t*>(*counter);
        const int32_t value = int32_t(platform::ReadBE32(p));
        if (value < INT32_MAX) platform::WriteBE32(p, uint32_t(value + 1));
        xwriteres(counter);
        return;
    }
    // A new counter starts at 1: this call is itself the first change.
    Handle fresh = platform::NewHandle(4);
    if (!fresh) return;
    platform::WriteBE32(reinterpret_cast<uint8_t*>(*fresh), 1);
    if (counter) {
        rmveres(counter);  // a record too short to count is replaced
        platform::DisposeHandle(counter);
    }
    if (!xaddres(fresh, FourCC("QzQz"), 2)) {
        platform::DisposeHandle(fresh);
        return;
    }
    xwriteres(fresh);
}
