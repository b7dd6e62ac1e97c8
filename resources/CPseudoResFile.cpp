// CPseudoResFile: lifecycle, opening, creating, committing and closing.
#include "resources/StoreGuard.h"
#include "resources/CPseudoResFile.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ChangeLanding.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResKeySource.h"
#include "resources/container/BlockWriter.h"
#include "resources/container/FileOrder.h"
#include "resources/container/Scrambler.h"
#include "resources/container/UnitCheck.h"

using namespace platform;
using namespace container;

CPseudoResFunctor::~CPseudoResFunctor() = default;

CPseudoResFile::CPseudoResFile(const FSSpec& fileSpec, bool readOnly)
    : fKind(FourCC("None")), fFileNumber(CPseudoResManager::GetNextID()), fSpec(fileSpec), fReadOnly(readOnly)
{
    CPseudoResManager::AddResFile(this);
}

CPseudoResFile::~CPseudoResFile()
{
    if (fLocalCache) {
        CPseudoResFile* cache = fLocalCache;
        fLocalCache = nullptr;
        cache->Close(false);
    }
    fFork.Close();
    DisposeContents();
    CPseudoResManager::RemoveFile(this);
}

void CPseudoResFile::Fail(OSErr err) { CPseudoResManager::SetLastError(err); }

uint32_t CPseudoResFile::GetStamp() const
{
    uint32_t now = 0;
    GetDateTime(&now);
    return now - CPseudoResManager::ServerTimeOffset();
}

void CPseudoResFile::DisposeContents()
{
    ForgetNames();
    for (int32_t t = 0; t < fMap.TypeCount(); ++t)
        for (const MapRecord& rec : fMap.TypeAt(t).records)
            if (rec.contents) DisposeHandle(rec.contents);
    fMap.ClearMap();
}

// The page table, bitmaps and map a committed header names, checked
// against each other; `left` receives the units nothing claims.
OSErr CPseudoResFile::LoadCommitted(const ContainerHeader& h, uint64_t physical, int32_t swapFlag, uint32_t openTime,
                                    BitmapPages* bitmaps, ResourceMap* map, UnclaimedUnits* left)
{
    const uint32_t pages = PagesFor(h.logicalEnd);
    std::vector<uint8_t> tableBytes(4ull * pages);
    OSErr err = fFork.ReadAt(h.pageTableOffset, tableBytes.data(), uint32_t(tableBytes.size()));
    if (err != noErr) return err;
    std::vector<uint32_t> table(pages);
    for (uint32_t p = 0; p < pages; ++p) {
        MapWordsToHost(&tableBytes[4 * p], 4, swapFlag);
        table[p] = ReadBE32(&tableBytes[4 * p]);
    }
    err = bitmaps->Load(fFork, physical, h.logicalEnd, std::move(table));
    if (err != noErr) return err;

    std::vector<uint8_t> mapBytes(h.mapLength);
    err = fFork.ReadAt(h.mapOffset, mapBytes.data(), h.mapLength);
    if (err != noErr) return kResBadMap;
    err = map->Decode(mapBytes.data(), h.mapLength, swapFlag, openTime);
    if (err != noErr) return err;
    err = CheckUnits(*bitmaps, h.pageTableOffset, h.mapOffset, h.mapLength, *map, nullptr, nullptr, left);
    return err == noErr ? noErr : kResNotContainer;
}

OSErr CPseudoResFile::OpenContainer(bool acceptMarked)
{
    uint32_t openTime = 0;
    GetDateTime(&openTime);
    OSErr err = fFork.OpenRealFile(fSpec, !fReadOnly);
    if (err != noErr) return err;
    uint64_t physical = 0;
    err = fFork.PhysicalSize(&physical);
    if (err != noErr) return err;
    if (physical < kHeaderSize) return kResNotContainer;

    uint8_t bytes[kHeaderSize];
    err = fFork.ReadAt(0, bytes, kHeaderSize);
    if (err != noErr) return err;
    std::memcpy(fOpenedHeader, bytes, kHeaderSize);
    int32_t swapFlag = kBigEndianFile;
    if (!IsContainerMagic(ReadBE32(bytes))) {
        swapFlag = kLittleEndianFile;
        HeaderToHost(bytes, swapFlag);
    }
    ContainerHeader h = ContainerHeader::FromBlockRes(bytes);
    if (!IsContainerMagic(h.magic)) return kResNotContainer;

    // Every place the header names must lie inside the file.
    const uint32_t pages = PagesFor(h.logicalEnd);
    const uint64_t tableEnd = uint64_t(h.pageTableOffset) + 4ull * pages;
    const bool headerSound =
        h.logicalEnd % kUnitSize == 0 && h.logicalEnd >= 2 * kUnitSize && pages >= 1 && pages <= kMaxPages &&
        h.pageTableOffset >= kUnitSize && h.pageTableOffset % 4 == 0 && tableEnd <= physical &&
        (h.pageTableOffset != kFirstPageTableOffset || pages <= kFirstPageTableBytes / 4) &&
        h.mapOffset >= kUnitSize && h.mapLength >= kEmptyMapLength &&
        uint64_t(h.mapOffset) + h.mapLength <= physical;
    if (!headerSound) return kResNotContainer;

    const bool marked = (h.flags & kFlagOpenForWriting) != 0;
    if (marked && !acceptMarked) return h.magic == kMagicFirst ? kResMarkedOpenOld : kResNotContainer;

    UnclaimedUnits left;
    err = LoadCommitted(h, physical, swapFlag, openTime, &fBitmaps, &fMap, &left);
    if (err != noErr) return err;

    fSwapFlag = swapFlag;
    fBigEndian = swapFlag == kBigEndianFile;
    fMagic = h.magic;
    fMapOffset = h.mapOffset;
    fPageTableOffset = h.pageTableOffset;
    fMapLength = h.mapLength;
    RecoverRoom(left);
    fMarkedAtOpen = marked;
    fDiskHeader = h;
    // The open mark comes with the first commit: a file opened, read and
    // closed without a change keeps every byte and its time stamp.
    fRestoreOpenedHeader = !marked;
    return noErr;
}

bool CPseudoResFile::Init(bool acceptMarked)
{
    Fail(kResNotContainer);
    DisposeContents();
    fBitmaps.Clear();
    fLocal = true;
    OSErr err = kResMemFull;
    try {
        err = OpenContainer(acceptMarked);
    } catch (...) {
        err = kResMemFull;
    }
    if (err != noErr) {
        fFork.Close();
        fBitmaps.Clear();
        fMap.ClearMap();
        Fail(err);
        return false;
    }
    CPseudoResManager::ResFileCreated(this);
    Fail(noErr);
    return true;
}

OSErr CPseudoResFile::WriteNewFile()
{
    std::vector<uint8_t> file(kNewFileSize, 0);
    WriteBE32(&file[0], kMagicNew);
    WriteBE32(&file[4], kNewLogicalEnd);
    WriteBE32(&file[8], kNewMapOffset);
    WriteBE32(&file[12], kFirstPageTableOffset);
    WriteBE32(&file[16], kEmptyMapLength);
    WriteBE32(&file[kFirstPageTableOffset], kNewPageZeroOffset);
    fBitmaps.InitNew();
    const auto& page = fBitmaps.Pages()[0].bits;
    std::memcpy(&file[kNewPageZeroOffset], page.data(), kPageBytes);
    // The spare copy of page 0 past the logical end.
    std::memcpy(&file[kNewLogicalEnd], page.data(), kPageBytes);
    OSErr err = fFork.WriteAt(0, file.data(), kNewFileSize, kNewLogicalEnd);
    if (err == noErr) err = fFork.Flush();
    return err;
}

bool CPseudoResFile::Create(OSType creator, OSType fileType)
{
    OSErr err = FSpCreate(fSpec, creator, fileType, 0);
    if (err == dupFNErr) {
        if (Init(true)) return true;
        Fail(kResExists);
        return false;
    }
    if (err != noErr) {
        Fail(err);
        return false;
    }
    DisposeContents();
    // From here on a failure of any kind takes the new file away again.
    try {
        err = fFork.OpenRealFile(fSpec, true);
        if (err == noErr && !fFork.IsWritable()) err = wrPermErr;
        if (err == noErr) err = WriteNewFile();
    } catch (...) {
        err = kResMemFull;
    }
    if (err != noErr) {
        fFork.Close();
        fBitmaps.Clear();
        fMap.ClearMap();
        FSpDelete(fSpec);
        Fail(err);
        return false;
    }
    fSwapFlag = kBigEndianFile;
    fBigEndian = fLocal = true;
    fMagic = kMagicNew;
    fMapOffset = kNewMapOffset;
    fPageTableOffset = kFirstPageTableOffset;
    fMapLength = kEmptyMapLength;
    fMapArea = MapAreaFor(kEmptyMapLength);
    fNamesOffset = fNamesRoom = 0;
    fMarkedAtOpen = false;
    fDiskHeader = ContainerHeader{kMagicNew, kNewLogicalEnd, kNewMapOffset, kFirstPageTableOffset,
                                  kEmptyMapLength, 0, 0};
    // The new file's header is what a held close puts back.
    fCommittedSinceOpen = true;
    CPseudoResManager::ResFileCreated(this);
    Fail(noErr);
    return true;
}

OSErr CPseudoResFile::WriteHeader(uint32_t flags, bool forGood)
{
    ContainerHeader h = fDiskHeader;
    h.flags = flags;
    uint8_t bytes[kHeaderSize];
    h.ToBlockRes(bytes);
    HeaderToFile(bytes, fSwapFlag);
    OSErr err = forGood ? fFork.WriteForGood(0, bytes, kHeaderSize, fBitmaps.LogicalEnd())
                        : fFork.WriteAt(0, bytes, kHeaderSize, fBitmaps.LogicalEnd());
    if (err == noErr) {
        fDiskHeader.flags = flags;
        fDiskHeader.flagsMarker = kFlagsMarker;
    }
    return err;
}

OSErr CPseudoResFile::MarkOpen()
{
    if (fDiskHeader.flags & kFlagOpenForWriting) return noErr;
    OSErr err = WriteHeader(kFlagOpenForWriting, true);
    if (err == noErr) err = fFork.Flush();
    return err;
}

namespace {

uint32_t StampKey(const MapRecord& rec) { return (rec.attributes & kAttrKeyVariant) ? rec.stamp * 5 : rec.stamp; }

uint64_t HeldKeyOf(ResType type, int16_t id) { return uint64_t(type) << 16 | uint16_t(id); }

}  // namespace

uint32_t CPseudoResFile::ScrambleKey(ResType type, const MapRecord& rec) const
{
    if (fComponentMgr) {
        uint32_t key = fComponentMgr->GetKey(type, rec.id);
        if (key != 0) return key;
    }
    return StampKey(rec);
}

uint32_t CPseudoResFile::CommittedKey(ResType type, const MapRecord& rec) const
{
    const auto it = fHeldKeys.find(HeldKeyOf(type, rec.id));
    if (it == fHeldKeys.end()) return ScrambleKey(type, rec);
    return it->second != 0 ? it->second : StampKey(rec);
}

std::unordered_map<uint64_t, uint32_t> CPseudoResFile::CurrentKeys()
{
    std::unordered_map<uint64_t, uint32_t> keys;
    for (int32_t t = 0; t < fMap.TypeCount(); ++t) {
        const ResType type = fMap.TypeAt(t).type;
        for (const MapRecord& rec : fMap.TypeAt(t).records)
            if (rec.attributes & kAttrEnciphered)
                keys.emplace(HeldKeyOf(type, rec.id), fComponentMgr ? fComponentMgr->GetKey(type, rec.id) : 0);
    }
    return keys;
}

// The 8-byte header of a record's block, in the file's byte order.
void CPseudoResFile::BlockHeader(ResType type, int16_t id, uint8_t* header) const
{
    WriteBE16(&header[0], kBlockMarker);
    WriteBE32(&header[2], type);
    WriteBE16(&header[6], uint16_t(id));
    MapWordsToFile(&header[0], 2, fSwapFlag);
    MapWordsToFile(&header[2], 4, fSwapFlag);
    MapWordsToFile(&header[6], 2, fSwapFlag);
}

bool CPseudoResFile::PutOffCommit()
{
    if (fDropOwed) {
        Fail(kResAdrift);
        return false;
    }
    fCommitPutOff = true;
    Fail(noErr);
    return true;
}

bool CPseudoResFile::UpdateResNoMap()
{
    if (fHeld) return PutOffCommit();
    return Guarded<bool>(false, [&]() -> bool {
        // A server-backed file sends every change at once: nothing waits here.
        if (!fLocal) {
            Fail(noErr);
            return true;
        }
        if (!fFork.IsOpen()) {
            Fail(kResNoFile);
            return false;
        }
        if (!fFork.IsWritable()) {
            Fail(wrPermErr);
            return false;
        }
        // A file moved or replaced behind the program's back takes no
        // change: its first write looks, before anything is written, and
        // fails the commit.
        const container::ContainerFork::PlaceLook look(fFork);
        if (OSErr err = MarkOpen(); err != noErr) {
            fCommitFailed = true;
            Fail(err);
            return false;
        }
        if (OSErr err = WriteNames(); err != noErr) {
            fCommitFailed = true;
            Fail(err);
            return false;
        }
        // Every changed record gets its place first; then the blocks go out
        // in order of their places, gathered where they follow one another.
        BlockWriter writer;
        std::vector<std::pair<int32_t, int32_t>> placed;
        for (int32_t t = 0; t < fMap.TypeCount(); ++t) {
            if (!fMap.TypeAt(t).edited) continue;
            for (int32_t r = 0; r < int32_t(fMap.TypeAt(t).records.size()); ++r) {
                const MapRecord& rec = fMap.At(t, r);
                if (!(rec.attributes & kAttrChanged)) continue;
                if (!rec.contents) {
                    fMap.Edit(t, r).attributes &= uint16_t(~kAttrChanged);
                    continue;
                }
                // A block the committed map reaches, or one too small for
                // contents resized behind the store's back, gets a new place.
                const uint64_t need = uint64_t(GetHandleSize(rec.contents)) + kBlockHeaderSize;
                OSErr err = need > kMaxPages * uint64_t(kBytesPerPage) ? dskFulErr : Replace(t, r, uint32_t(need));
                if (err != noErr) {
                    fCommitFailed = true;
                    Fail(err);
                    return false;
                }
                const MapRecord& at = fMap.At(t, r);
                // Copy on write: a committed block is never overwritten.
                assert(fBitmaps.IsFresh(at.offset, at.length));
                BlockWriter::Block block;
                block.offset = at.offset;
                block.size = uint32_t(need - kBlockHeaderSize);
                block.tag = int32_t(placed.size());
                // Contents are converted or scrambled on a copy; the
                // caller's stay as they are.
                block.staged = fSwapFlag != kBigEndianFile || (at.attributes & kAttrEnciphered);
                BlockHeader(fMap.TypeAt(t).type, at.id, block.header);
                placed.emplace_back(t, r);
                writer.Add(block);
            }
        }
        const OSErr err = writer.WriteAll(
            fFork, fBitmaps.LogicalEnd(),
            [&](int32_t tag) -> const void* {
                return *fMap.At(placed[size_t(tag)].first, placed[size_t(tag)].second).contents;
            },
            [&](int32_t tag, uint8_t* out) {
                const auto [t, r] = placed[size_t(tag)];
                const ResType type = fMap.TypeAt(t).type;
                const MapRecord& rec = fMap.At(t, r);
                const uint32_t size = uint32_t(GetHandleSize(rec.contents));
                std::memcpy(out, *rec.contents, size);
                ContentsToFile(type, out, int32_t(size), fSwapFlag);
                if (rec.attributes & kAttrEnciphered) AdjustSwapRes(out, size, ScrambleKey(type, rec));
            },
            [&](int32_t tag) {
                fMap.Edit(placed[size_t(tag)].first, placed[size_t(tag)].second).attributes &= uint16_t(~kAttrChanged);
            });
        if (err != noErr) {
            fCommitFailed = true;
            Fail(err);
            return false;
        }
        fMap.NoteNoneChanged();
        Fail(noErr);
        return true;
    });
}

bool CPseudoResFile::IsNamesRecord(int32_t t, int32_t r) const
{
    return fMap.TypeAt(t).type == kNamesResType && fMap.At(t, r).id == kNamesResId;
}

uint32_t CPseudoResFile::PlaceBytes(int32_t t, int32_t r) const
{
    const MapRecord& rec = fMap.At(t, r);
    if (rec.length != 0 && IsNamesRecord(t, r) && rec.offset == fNamesOffset && fNamesRoom > rec.length)
        return fNamesRoom;
    return rec.length;
}

void CPseudoResFile::FreeRecordPlace(int32_t t, int32_t r)
{
    const MapRecord& rec = fMap.At(t, r);
    fBitmaps.FreePlace(rec.offset, PlaceBytes(t, r));
    if (IsNamesRecord(t, r)) fNamesOffset = fNamesRoom = 0;
}

namespace {

// The room of a place of `used` bytes (claimed already) at `offset`: each
// doubling from the exact place up to the room such a place is given, and
// on while the units stay unclaimed (a place shrunk within its room). The
// units taken are claimed.
uint32_t RoomAt(UnclaimedUnits& left, uint32_t offset, uint32_t used, uint32_t exact)
{
    uint32_t room = exact;
    for (uint32_t next = GrowRoom(used); next > room; next = room * 2) {
        if (next > (uint32_t(1) << 30) || !left.TakeIfAll(uint64_t(offset) + room, next - room)) break;
        room = next;
    }
    return room;
}

}  // namespace

void CPseudoResFile::RecoverRoom(UnclaimedUnits& left)
{
    // The room beyond a place is its own when it is free of every other
    // claim. A file written otherwise keeps its exact places.
    fMapArea = RoomAt(left, fMapOffset, fMapLength, MapAreaFor(fMapLength));
    fNamesOffset = fNamesRoom = 0;
    int32_t t, r;
    if (!fMap.FindID(kNamesResType, kNamesResId, true, &t, &r)) return;
    const MapRecord& names = fMap.At(t, r);
    if (names.length == 0) return;
    const uint32_t block = uint32_t(RoundUp(names.length, kUnitSize));
    const uint32_t room = RoomAt(left, names.offset, names.length, block);
    if (room > block) {
        fNamesOffset = names.offset;
        fNamesRoom = room;
    }
}

// Writes the page-table entries a committed header does not read: all of
// them in a table that moved since the last commit, else those of the
// pages added since (the entries of existing pages never change).
OSErr CPseudoResFile::WritePageTable()
{
    const auto& table = fBitmaps.Table();
    const size_t from = fPageTableOffset == fDiskHeader.pageTableOffset
                            ? std::min<size_t>(PagesFor(fDiskHeader.logicalEnd), table.size())
                            : 0;
    if (from == table.size()) return noErr;
    std::vector<uint8_t> bytes(4 * (table.size() - from));
    for (size_t p = from; p < table.size(); ++p) {
        WriteBE32(&bytes[4 * (p - from)], table[p]);
        MapWordsToFile(&bytes[4 * (p - from)], 4, fSwapFlag);
    }
    return fFork.WriteAt(fPageTableOffset + 4 * from, bytes.data(), uint32_t(bytes.size()), fBitmaps.LogicalEnd());
}

bool CPseudoResFile::WriteMap()
{
    return Guarded<bool>(false, [&]() -> bool {
        if (!fMapWritingEnabled) return true;
        assert(fBitmaps.IsFresh(fMapOffset, fMapArea));
        std::vector<uint8_t> bytes = fMap.Encode(fSwapFlag);
        OSErr err = fFork.WriteAt(fMapOffset, bytes.data(), uint32_t(bytes.size()), fBitmaps.LogicalEnd());
        if (err != noErr) {
            Fail(err);
            return false;
        }
        fMap.changed = false;
        return true;
    });
}

// What the header about to be written reaches must not be given up: the
// units given up are cleared once that header is on disk.
bool CPseudoResFile::ReachesNothingFreed() const
{
    if (fBitmaps.TestLiberePlace(fMapOffset, fMapArea)) return false;
    if (fBitmaps.TestLiberePlace(fPageTableOffset, fPageTableOffset == kFirstPageTableOffset ? kFirstPageTableBytes
                                                                                          : kMovedPageTableBytes))
        return false;
    for (uint32_t offset : fBitmaps.Table())
        if (fBitmaps.TestLiberePlace(offset, kPageBytes)) return false;
    for (int32_t t = 0; t < fMap.TypeCount(); ++t)
        for (const MapRecord& rec : fMap.TypeAt(t).records)
            if (fBitmaps.TestLiberePlace(rec.offset, rec.length)) return false;
    return true;
}

// How a commit survives a crash. Assumed of the disk: writes issued before
// a flush (fdatasync) are on it when the flush returns, writes issued after
// a flush may land in any order and in part, and a 512-byte sector is
// written whole (the header's 36 bytes lie in sector 0).
//  (1) UpdateResNoMap put the open mark on the disk and wrote every
//      changed block to units allocated since the last commit; no byte the
//      committed header reaches was touched.
//  (2) The map, when it changed, goes to such units too; the old area is
//      only given up.
//  (3) The page table moves to a new area when it must, else only entries
//      past the committed page count are written.
//  (4) Dirty bitmap pages are written in place. Until (7) bits are only
//      set, never cleared, so any mix of old and new sectors still marks
//      every unit the committed map uses: a crash leaks space, never
//      loses it.
//  (5) Flush: all the new header will reach is on the disk.
//  (6) The header, in place, then a flush. A crash before the header is on
//      the disk leaves the previous commit; after it, the new one.
//  (7) Only now are the units given up cleared, in memory, and the pages
//      holding them written (a crash there leaks space only).
// A failure before (6) leaves the disk at the previous commit and the
// commit can be tried again. A failure in (6) may or may not have put the
// new header on the disk: from then on nothing allocated so far is
// rewritten and nothing given up is reused until a later commit succeeds.
OSErr CPseudoResFile::CommitAll()
{
    if (fMap.changed && fMapWritingEnabled) {
        const uint32_t length = fMap.CalcMapLen();
        // A place from an earlier failed attempt is still unreached and may
        // be written again while the map fits it; else the map moves to a
        // place with room to grow, most often the one the commit before
        // last gave up.
        if (length > fMapArea || !fBitmaps.IsFresh(fMapOffset, fMapArea)) {
            const uint32_t area = GrowRoom(length);
            uint32_t place = 0;
            OSErr err = fBitmaps.FindPlace(area, &place);
            if (err != noErr) return err;
            fBitmaps.FreePlace(fMapOffset, fMapArea);
            fMapOffset = place;
            fMapArea = area;
        }
        fMapLength = length;
        if (!WriteMap()) return CPseudoResManager::LastError();
    }
    if (fBitmaps.TableChanged() && fPageTableOffset == kFirstPageTableOffset &&
        fBitmaps.PageCount() >= kPageTableMoveAt) {
        uint32_t place = 0;
        OSErr err = fBitmaps.FindPlace(kMovedPageTableBytes, &place);
        if (err != noErr) return err;
        fBitmaps.FreePlace(kFirstPageTableOffset, kFirstPageTableBytes);
        fPageTableOffset = place;
        fBitmaps.NoteTableChanged();
    }
    OSErr err = WritePageTable();
    if (err == noErr) err = fBitmaps.WriteDirtyPages(fFork);
    if (err == noErr) err = fFork.Flush();
    if (err != noErr) return err;

    assert(ReachesNothingFreed());
    ContainerHeader previous = fDiskHeader;
    fDiskHeader = ContainerHeader{fMagic, fBitmaps.LogicalEnd(), fMapOffset, fPageTableOffset, fMapLength,
                                  kFlagOpenForWriting, kFlagsMarker};
    fRestoreOpenedHeader = false;
    err = WriteHeader(kFlagOpenForWriting);
    if (err == noErr) err = fFork.Flush();
    if (err != noErr) {
        fDiskHeader = previous;
        fBitmaps.ForgetFresh();
        return err;
    }
    fCommittedSinceOpen = true;
    changelanding::Note(true);
    fBitmaps.MarkTableWritten();
    fBitmaps.ReleaseFreed();
    // The cleared bits are written now or with the next commit.
    fBitmaps.WriteDirtyPages(fFork);
    return noErr;
}

bool CPseudoResFile::HasUncommitted() const
{
    // Pages still dirty after a commit hold the units it gave up, which
    // failed to reach the disk then: the next commit, or the close, writes
    // them.
    if (fCommitPutOff || fCommitFailed || fNamesAhead || fMap.changed || fBitmaps.TableChanged() || fBitmaps.AnyDirty())
        return true;
    for (int32_t t = 0; t < fMap.TypeCount(); ++t) {
        if (!fMap.TypeAt(t).edited) continue;
        for (const MapRecord& rec : fMap.TypeAt(t).records)
            if ((rec.attributes & kAttrChanged) && rec.contents) return true;
    }
    return false;
}

void CPseudoResFile::ReleaseUncommitted()
{
    if (!fHeld) return;
    // A server keeps no changes for a later commit: what did not reach it goes.
    if (!fLocal) DropHeldChange();
    fHeld = false;
    fDropOwed = false;
    fCommitFailed = fCommitFailed || fCommitPutOff;
    fCommitPutOff = false;
    fFork.EndUndo();
    fHeldKeys.clear();
}

bool CPseudoResFile::Hold(bool hold)
{
    if (hold && !SettleDrop()) return false;
    if (hold || !fHeld) {
        // What the file holds on disk now is what a drop goes back to, and
        // the keys its enciphered blocks were written with.
        if (hold && !fHeld && fLocal) {
            std::unordered_map<uint64_t, uint32_t> keys = CurrentKeys();
            fFork.StartUndo();
            fHeldKeys = std::move(keys);
        }
        fHeld = hold || fHeld;
        Fail(noErr);
        return true;
    }
    fHeld = false;
    fDropOwed = false;
    // A server's file sends what it held whether a commit was asked or not.
    if (!fCommitPutOff && fServerHeld.empty()) {
        fFork.EndUndo();
        fHeldKeys.clear();
        Fail(noErr);
        return true;
    }
    if (!UpdateRes()) {
        fHeld = true;
        return false;
    }
    fCommitPutOff = false;
    fFork.EndUndo();
    fHeldKeys.clear();
    return true;
}

bool CPseudoResFile::UpdateRes()
{
    if (fHeld) return PutOffCommit();
    // A commit that fails leaves the change it was to land off the disk.
    const bool done = Guarded<bool>(false, [&]() -> bool {
        if (!fLocal) {
            // The writes a change held go now; only the cache of fetched
            // contents is kept on disk.
            if (!SendHeldChange()) return false;
            if (fLocalCache && !fLocalCache->UpdateRes()) return false;
            Fail(noErr);
            return true;
        }
        // Nothing to commit writes nothing, not even the open mark.
        if (!HasUncommitted() && fMagic == fDiskHeader.magic && !fMarkedAtOpen) {
            Fail(noErr);
            return true;
        }
        // One look at the file's place for the whole commit, and one
        // after it: a commit that went into files taken from the names
        // meanwhile is said.
        container::ContainerFork::PlaceLook look(fFork);
        if (!UpdateResNoMap()) return false;
        OSErr err = CommitAll();
        fCommitFailed = err != noErr;
        if (err == noErr) err = look.End();
        Fail(err);
        return err == noErr;
    });
    if (!done) changelanding::Note(false);
    return done;
}

bool CPseudoResFile::Close(bool update)
{
    if (fLocalCache) {
        fLocalCache->Close(update);
        fLocalCache = nullptr;
    }
    bool ok = true;
    OSErr err = noErr;
    if (fLocal && fFork.IsOpen()) {
        if (update && !fHeld) {
            ok = UpdateRes();
            err = CPseudoResManager::LastError();
        }
        // A failed commit leaves the open mark, so the next open knows. A
        // held file gets back what its last commit wrote: the header it had
        // at opening, a mark found there too, when no commit of this session
        // reached the disk; else that commit's header, its mark cleared.
        if (fHeld) fFork.RollBack();
        const bool touched = fFork.Written() || fMarkedAtOpen;
        if ((fHeld || (ok && !fCommitFailed)) && fFork.IsWritable() && !fReadOnly && touched) {
            const bool opened = fRestoreOpenedHeader || (fHeld && !fCommittedSinceOpen);
            err = opened ? fFork.WriteAt(0, fOpenedHeader, kHeaderSize, fBitmaps.LogicalEnd()) : WriteHeader(0);
            if (err == noErr) err = fFork.Flush();
            ok = err == noErr;
        }
        fFork.Close();
    }
    fBitmaps.Clear();
    DisposeContents();
    if (fCustomFile) {
        CPseudoResFile* custom = fCustomFile;
        fCustomFile = nullptr;
        custom->Close(update);
    }
    delete this;
    CPseudoResManager::SetLastError(err);
    return ok;
}

void CPseudoResFile::upgrade(uint32_t magic)
{
    // The word reaches the disk with the next commit's header, never before:
    // written in place it would change the header the last commit stands
    // on, and a change dropped or cut short would keep it.
    fMagic = magic;
}

bool CPseudoResFile::HasGoodBitsTable(ResProgressProc progress, void* data)
{
    return Guarded<bool>(false, [&]() -> bool {
        OSErr err = CheckUnits(fBitmaps, fPageTableOffset, fMapOffset, fMapLength, fMap, progress, data);
        Fail(err);
        return err == noErr;
    });
}

bool CPseudoResFile::IsLocal() { return fLocal; }

int32_t CPseudoResFile::FindType(ResType type) { return fMap.FindType(type) + 1; }
