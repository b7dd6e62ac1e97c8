// One open resource container: opening, creating, verifying and committing
// the file, its allocation bitmaps and map, and the resources it holds.
// Objects are made and chained by CPseudoResManager; other code goes
// through the C-style API.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "kernel/arrays/VTypedArrays.h"
#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"
#include "resources/ResTypes.h"
#include "resources/container/BitmapPages.h"
#include "resources/container/ContainerFork.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/NameTable.h"
#include "resources/container/ResourceMap.h"
#include "resources/container/UnitCheck.h"
#include "toolbox/foundation/VObject.h"

class CPseudoResFile;
class ResKeySource;

// Work done on one resource by ApplyToRes.
class CPseudoResFunctor {
public:
    virtual ~CPseudoResFunctor();
    // Indices are 1-based.
    virtual void Apply(CPseudoResFile* file, int32_t typeIndex, int32_t recordIndex, platform::Handle contents) = 0;
};

class CPseudoResFile : public VObject {
public:
    using Handle = platform::Handle;
    using ResType = platform::ResType;
    using OSType = platform::OSType;

    // Registers the object with the manager (not yet in its chain).
    CPseudoResFile(const platform::FSSpec& fileSpec, bool readOnly);
    // Unregisters it and leaves the chain.
    ~CPseudoResFile() override;
    CPseudoResFile(const CPseudoResFile&) = delete;
    CPseudoResFile& operator=(const CPseudoResFile&) = delete;

    // Lifecycle.
    virtual bool Init(bool acceptMarked);
    virtual bool Create(OSType creator, OSType fileType);

    // Adding and writing back.
    virtual bool AddRes(Handle contents, ResType type, int16_t id, bool convert);
    virtual bool AddRes2(Handle contents, ResType type, int16_t id, uint32_t stamp);
    virtual bool AddResNow(const void* data, int32_t length, ResType type, int16_t id, uint32_t stamp);

    // Names (resource 'NAM#' 128).
    virtual int16_t GetResID(ResType type, const unsigned char* name, bool flag);
    virtual bool GetResName(ResType type, int16_t id, unsigned char* name);
    virtual bool SetResName(ResType type, int16_t id, const unsigned char* name);
    virtual Handle GetResNameList(ResType type);
    virtual VWordArray* GetResIDList(ResType type);
    virtual VLongArray* GetTypeList();
    virtual int32_t GetResSize(ResType type, int16_t id);
    virtual ResType GetIndTyp(int32_t n);

    // Getting.
    virtual Handle GetResFromDisk(ResType type, int16_t id, uint32_t* stamp);
    virtual Handle GetRes(ResType type, int16_t id, bool includeEnciphered);
    virtual bool ApplyToRes(ResType type, int16_t id, bool includeEnciphered, CPseudoResFunctor& functor);
    virtual Handle GetIndRes(ResType type, int32_t n, bool flag);
    // Appends the 1st ... count-th resources of the type to each list given:
    // handles, ids, names (new zero-terminated copies, DisposePtr to free).
    virtual int32_t GetAllIndRes(ResType type, int32_t count, VPtrArray* handles, VWordArray* ids,
                                 VPtrArray* names);

    // Removing. The contents handle becomes the caller's.
    virtual bool RmveRes(Handle contents);
    virtual bool RmveRes(ResType type, int16_t id, bool includeEnciphered);
    virtual bool RmveRes2(ResType type, int16_t id);
    virtual bool RmveRes(ResType type);

    virtual bool WasPurgeable(Handle contents);
    virtual int32_t CompteTypes();
    virtual Handle GetResConnect(ResType type, int16_t id);
    virtual bool GetResInfo(Handle contents, int16_t* id, ResType* type);
    virtual bool ReloadRes(Handle contents);
    // One 18-byte entry per record: type, id, payload length, offset, stamp.
    virtual Handle GetResList();
    // Indices 1-based; 0, 0 finds the record by its handle.
    virtual bool WriteResource(Handle contents, int32_t typeIndex, int32_t recordIndex);
    virtual bool FindID(ResType type, int16_t id, int32_t* typeIndex, int32_t* recordIndex, bool includeEnciphered);

    // Committing and closing.
    virtual bool UpdateResNoMap();
    virtual bool UpdateRes();
    // Commits when asked, closes and deletes the object. False when the
    // commit failed (the file then keeps its open mark).
    virtual bool Close(bool update);
    // While held, commits are put off: nothing is written, and a close
    // commits nothing and puts back the header found at opening. Releasing
    // carries out a commit asked for meanwhile; when it fails the file
    // stays held.
    bool Hold(bool hold);
    // A change under way holds the file (a hold whose drop failed is none).
    bool IsHeld() const { return fHeld && !fDropOwed; }
    // Ends a hold whose commit failed without dropping what it put off: the
    // changes wait, as after any failed commit, for the next commit (a file
    // left held would put off every later commit and drop them on closing).
    void ReleaseUncommitted();
    // True when a commit would write something: a changed map, resource or
    // allocation table, or a commit that failed and waits to be done again.
    bool HasUncommitted() const;
    // Ends a hold by dropping every change made during it: the map, the
    // names and the allocation become what the last commit left on disk
    // (nothing is written while held). Handles of resources that survive
    // stay valid: unchanged ones keep their contents, changed ones get the
    // committed contents back; handles of resources added meanwhile are
    // freed. A hold begun with changes pending drops those too. False,
    // with the file still held, when the disk cannot be read back or the
    // file is not local (a server file takes every change at once).
    // While a drop is owed so, every commit fails with kResAdrift: the
    // memory holds changes the disk must never get, and no later change
    // may land with them or vanish at the close unsaid.
    bool DropHeld();
    // Makes a drop that failed, before a change begins; false while it
    // still cannot be made. Holding the file again settles it too, and
    // releasing it ends it: its holder has put back what it changed.
    bool SettleDrop();

    // A file of a server holds a change too (CPseudoResServerChange.cpp):
    // its writes wait in memory and go to the server when the hold is
    // released, so that a change that fails before leaves the server as it
    // was. What a change whose writes failed on the way left on the
    // server: 0 nothing, 1 a part of it, 2 all of it; the file then holds
    // in memory what the server holds. Said until forgotten.
    enum ServerChangeLeft : int16_t { kNothingLeft = 0, kPartLeft = 1, kAllLeft = 2 };
    int16_t ServerChangeLeft() const { return fServerChangeLeft; }
    void ForgetServerChangeLeft() { fServerChangeLeft = kNothingLeft; }

    virtual bool FindRes(Handle contents, int32_t* typeIndex, int32_t* recordIndex);
    // Actions 1-8 on the attributes of the record holding a handle.
    virtual bool ActionRes(Handle contents, int16_t action);
    virtual bool HLockRes(Handle contents);
    virtual bool HUnlockRes(Handle contents);
    virtual bool HPurgeRes(Handle contents);
    virtual bool HUnpurgeRes(Handle contents);
    virtual bool DetachRes(Handle contents);
    virtual bool CrypteRes(Handle contents);
    virtual uint16_t GetIndResAttributes(ResType type, int32_t n, int16_t* id);
    virtual uint32_t GetTimeStamp(Handle contents);
    virtual uint32_t GetTimeStamp(ResType type, int16_t id, bool includeEnciphered);
    virtual int16_t CountRes(ResType type, bool includeEnciphered);
    virtual int16_t UniqueID(ResType type);
    // Loads every record of the type not loaded yet, as GetRes would one at
    // a time, reading blocks that lie close together in one read. Stops
    // quietly at the first failure: GetRes then meets it and says so.
    void LoadAll(ResType type);
    // Entries (as GetResList) of the records whose id occurs again later.
    virtual Handle GetDuplicateIDs(ResProgressProc progress, void* data);
    virtual bool HasGoodBitsTable(ResProgressProc progress, void* data);
    virtual bool IsLocal();

    // Server-backed files; a local file answers as below.
    virtual Handle GetResLock(ResType type, int16_t id, bool* locked, bool flag);
    virtual bool InitClient(uint32_t serverFileNumber);
    virtual bool ExecResAction(ResType type, int16_t id, int16_t action);
    virtual int16_t WhoLockedRes(ResType type, int16_t id);
    virtual bool UnloadRes(ResType type, int16_t id);
    virtual bool UnloadRes(Handle contents);
    virtual OSType CacheFileKind();

    virtual int32_t FindType(ResType type);
    virtual bool WriteMap();
    virtual bool GetNewMap();

    bool IsCrypted(Handle contents);
    // Takes a new version word, written at offset 0 by the next commit.
    void upgrade(uint32_t magic);

    int16_t FileNumber() const { return fFileNumber; }
    // A server-backed file answers its pseudo reference.
    int16_t RefNum() const { return fLocal ? fFork.RefNum() : fPseudoRef; }
    // The open fork of a local file's data; 0 for a server-backed one.
    int16_t ForkRefNum() const { return fLocal ? fFork.RefNum() : 0; }
    bool IsBigEndian() const { return fBigEndian; }
    bool IsReadOnly() const { return fReadOnly || !fFork.IsWritable(); }
    bool WasMarkedOpen() const { return fMarkedAtOpen; }
    uint32_t Magic() const { return fMagic; }
    OSType Kind() const { return fKind; }
    void SetKind(OSType kind) { fKind = kind; }
    uint32_t ServerFileNumber() const { return fServerFileNumber; }
    const platform::FSSpec& Spec() const { return fSpec; }
    void SetComponentMgr(ResKeySource* keys) { fComponentMgr = keys; }
    ResKeySource* ComponentMgr() const { return fComponentMgr; }
    void SetMapWriting(bool enabled) { fMapWritingEnabled = enabled; }
    CPseudoResFile* NextFile() const { return fNextFile; }
    void SetNextFile(CPseudoResFile* next) { fNextFile = next; }
    CPseudoResFile* CustomFile() const { return fCustomFile; }
    void SetCustomFile(CPseudoResFile* file) { fCustomFile = file; }

private:
    // Reads, validates and installs header, page table, map and bitmaps.
    platform::OSErr OpenContainer(bool acceptMarked);
    platform::OSErr LoadCommitted(const container::ContainerHeader& h, uint64_t physical, int32_t swapFlag,
                                  uint32_t openTime, container::BitmapPages* bitmaps, container::ResourceMap* map,
                                  container::UnclaimedUnits* left);
    platform::OSErr WriteNewFile();
    // `forGood`: kept on the disk by a drop of what a hold wrote.
    platform::OSErr WriteHeader(uint32_t flags, bool forGood = false);
    // The open mark, on the disk before the first write of a session: a
    // session cut short leaves the file marked, as a failed commit does.
    platform::OSErr MarkOpen();
    void BlockHeader(ResType type, int16_t id, uint8_t* header) const;
    platform::OSErr WritePageTable();
    platform::OSErr CommitAll();
    // A commit asked while held: carried out at the release, or refused
    // while a drop is owed.
    bool PutOffCommit();
    bool ReachesNothingFreed() const;
    // Reads a record's payload into a new handle, unscrambled, still in
    // the file's byte order.
    // `committed`: the block is the one the last commit left, deciphered
    // with the key it had when the hold began (see fHeldKeys).
    platform::OSErr ReadPayload(ResType type, const container::MapRecord& rec, Handle* out, bool committed = false);
    Handle LoadRecord(int32_t t, int32_t r);
    // A payload just read becomes the record's contents.
    void TakeLoaded(int32_t t, int32_t r, Handle h);
    // Marks a record as freshly loaded (the access counter restarts).
    void NoteLoaded(int32_t t, int32_t r);
    // Gives a record a place that fits `length` bytes: the one it has when
    // that fits and was allocated since the last commit, else a new one
    // (the old place is given up).
    platform::OSErr Replace(int32_t t, int32_t r, uint32_t length);
    platform::OSErr PlaceOrUndo(uint32_t length, uint32_t* place, int32_t t, int32_t r);
    // The names table is written anew at every commit that names a
    // resource, like the map: it gets room to grow (GrowRoom), and its
    // place holds that room rather than its block alone.
    bool IsNamesRecord(int32_t t, int32_t r) const;
    uint32_t PlaceBytes(int32_t t, int32_t r) const;
    void FreeRecordPlace(int32_t t, int32_t r);
    // Finds, after opening, the room the map and the names table were
    // given: units right after them that are allocated and unclaimed.
    void RecoverRoom(container::UnclaimedUnits& left);
    void RemoveAt(int32_t t, int32_t r);
    void RemoveNames(ResType type, const int16_t* id);
    // The names table's handle, loaded when needed; null when the file has
    // none (the store's error then noErr) or it cannot be read.
    Handle NamesHandle();
    // The names as the table holds them, or will once fNames is written;
    // null when the table cannot be read for want of memory. NamesOf takes
    // the table's handle as NamesHandle gave it.
    const container::NameTable* Names();
    const container::NameTable* NamesOf(Handle table);
    // Puts fNames into the table's handle when it is ahead of it.
    platform::OSErr WriteNames();
    // The table's handle is given out: it holds the names from now on.
    platform::OSErr HandOutNames();
    void ForgetNames();
    void ForgetNamesOf(ResType type, int16_t id);
    uint32_t ScrambleKey(ResType type, const container::MapRecord& rec) const;
    uint32_t CommittedKey(ResType type, const container::MapRecord& rec) const;
    // The keys of the enciphered records as the key source gives them now.
    std::unordered_map<uint64_t, uint32_t> CurrentKeys();
    uint32_t GetStamp() const;
    void DisposeContents();
    void Fail(platform::OSErr err);

    // Server-backed files (CPseudoResClient.cpp).
    Handle ClientGet(ResType type, int16_t id, bool includeEnciphered, bool withLock, bool* locked);
    Handle ClientGetInd(int32_t t, int32_t n);
    Handle InstallReply(ResType type, int16_t id, Handle reply, platform::OSErr err, bool stamped);
    bool ClientAddRes(Handle contents, ResType type, int16_t id, bool convert);
    bool ClientWriteResource(Handle contents, int32_t t, int32_t r);
    bool ClientRemove(ResType type, int16_t id, Handle contents, bool includeEnciphered);
    bool ClientReload(Handle contents);
    platform::OSErr SendContents(int16_t request, ResType type, int16_t id, const void* contents, int32_t size,
                                 bool convert);
    platform::OSErr SendRemoval(ResType type, int16_t id);
    void ApplyServerAction(ResType type, int16_t id, int16_t action);
    void OpenCache();
    Handle TakeFromCache(ResType type, int16_t id);
    void StoreInCache(ResType type, int16_t id, Handle contents, uint32_t stamp);
    void DropFromCache(ResType type, int16_t id);

    // A change held on a server's file (CPseudoResServerChange.cpp).
    struct HeldServerRecord {
        ResType type = 0;
        int16_t id = 0;
        bool existed = false;     // in the map when the change first touched it
        bool written = false;     // added, written back or removed since
        bool convert = true;      // its contents go converted by type
        bool bytesKnown = false;  // `bytes` are the contents the server holds
        bool reached = false;     // its write (may have) reached the server
        uint32_t lastWrite = 0;   // the change's count of writes at its last one
        uint16_t attributes = 0;
        uint32_t stamp = 0;
        std::vector<uint8_t> bytes;
    };
    bool HoldsServerChange() const { return fHeld && !fLocal; }
    // The record of what (type, id) was before the change touched it,
    // taken now when it is the first touch (with its loaded contents when
    // `withContents`: they are still the server's).
    HeldServerRecord& TouchHeld(ResType type, int16_t id, bool withContents);
    // TouchHeld for a write (an addition, a write-back or a removal).
    HeldServerRecord& WriteHeld(ResType type, int16_t id, bool withContents);
    // A held record's contents handed out: the caller may change them in place.
    void NoteHandedOut(int32_t t, int32_t r);
    // Sends the held writes; false with the failing request's error when
    // one fails, after taking back what it can of those that went before.
    bool SendHeldChange();
    void TakeBackHeld(const std::vector<size_t>& sent);
    // Puts back what the change touched and did not reach the server, and
    // ends the hold.
    void DropHeldChange();

    OSType fKind;
    int16_t fFileNumber;
    uint32_t fMagic = container::kMagicNew;
    int32_t fSwapFlag = 0;
    container::ContainerFork fFork;
    container::BitmapPages fBitmaps;
    container::ResourceMap fMap;
    uint32_t fMapOffset = 0;
    uint32_t fPageTableOffset = 0;
    uint32_t fMapLength = 0;
    // The bytes of the map's place: its area, or more when it was given
    // room to grow.
    uint32_t fMapArea = 0;
    // The place of the names table and the bytes it holds.
    uint32_t fNamesOffset = 0;
    uint32_t fNamesRoom = 0;
    // The header as it stands on disk after the last successful commit.
    container::ContainerHeader fDiskHeader;
    CPseudoResFile* fNextFile = nullptr;
    CPseudoResFile* fLocalCache = nullptr;
    uint32_t fServerFileNumber = 0;
    int16_t fPseudoRef = 0;
    CPseudoResFile* fCustomFile = nullptr;
    platform::FSSpec fSpec;
    bool fReadOnly;
    bool fBigEndian = true;
    bool fLocal = true;
    bool fMarkedAtOpen = false;
    bool fMapWritingEnabled = true;
    bool fCommitFailed = false;
    bool fHeld = false;
    // A drop could not be made (see DropHeld).
    bool fDropOwed = false;
    bool fCommitPutOff = false;
    // The header bytes found at opening. A file that was not marked open
    // gets them back when it is closed without a commit, so that opening
    // and closing leaves it byte for byte as it was, reserved words too; a
    // mark left by an earlier session is cleared as before.
    uint8_t fOpenedHeader[container::kHeaderSize] = {};
    bool fRestoreOpenedHeader = false;
    // A commit of this session reached the disk.
    bool fCommittedSinceOpen = false;
    ResKeySource* fComponentMgr = nullptr;
    // While held: the key of each enciphered record ((type, id) -> what the
    // key source gave, 0 for the stamp key) when the hold began, that is
    // the key its committed block was enciphered with. The key source may
    // change meanwhile (a component's record replaced); a drop deciphers
    // the committed blocks it reads back with these.
    std::unordered_map<uint64_t, uint32_t> fHeldKeys;
    // The names of a local file, read from its names table when first
    // needed. While the table's handle is the store's alone (fNamesOwn),
    // names change in fNames only and reach the table at the next commit,
    // or when the table is asked for: naming N resources costs time linear
    // in N. A handle given out may be changed by its holder: names are
    // then read from it again when it changed (its contents and size are
    // kept here) and written to it at once.
    std::vector<HeldServerRecord> fServerHeld;
    std::unordered_map<uint64_t, size_t> fServerHeldAt;
    uint32_t fServerHeldWrites = 0;
    int16_t fServerChangeLeft = kNothingLeft;
    container::NameTable fNames;
    bool fNamesRead = false;
    bool fNamesAhead = false;
    Handle fNamesOwn = nullptr;
    Handle fNamesFrom = nullptr;
    const void* fNamesContents = nullptr;
    int32_t fNamesSize = -1;
};
