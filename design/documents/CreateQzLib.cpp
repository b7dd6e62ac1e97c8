// A new, empty document: the container with the resources every reader
// expects, and the companion stamped with the running program's version.
// Both are made under names of their own and take the document's name
// together once complete (DocumentPairs): a creation that fails or is
// killed part-way leaves nothing at the name, and its leftovers go with
// the next creation there.
#include "design/documents/CreateQzLib.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "design/documents/DocResources.h"
#include "design/documents/DocumentPairs.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "design/objects/TableDescriptions.h"
#include "kernel/collation/CaseAndSearch.h"
#include "kernel/prefs/UPrefs.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

using platform::FourCC;
using platform::Handle;

namespace {

constexpr int32_t kParamSize = 3648;

// Parameter record 'PRQz' 0 of a new document, big-endian:
//  off  size  value
//   0    2    0 tables
//   2    1    0x11
//   3    1    0 (flag bits)
//   4    1    15 format level
//   5    1    15
//  10    2    4444
//  12   32    four rectangles 0, 0, -1, -1
//  44    4    54000
//  58    8    rectangle 0, 0, -1, -1
//  68    2    80
//  70    1    1
//  72    6    1 each
//  78         255 table entries of 14 bytes, empty
std::vector<uint8_t> NewParamRecord()
{
    std::vector<uint8_t> p(kParamSize, 0);
    p[2] = 0x11;
    p[4] = kCurrentLevel;
    p[5] = kCurrentLevel;
    platform::WriteBE16(&p[10], 4444);
    auto emptyRect = [&](size_t at) {
        platform::WriteBE16(&p[at + 4], 0xFFFF);
        platform::WriteBE16(&p[at + 6], 0xFFFF);
    };
    for (size_t at : {12, 20, 28, 36, 58}) emptyRect(at);
    platform::WriteBE32(&p[44], 54000);
    platform::WriteBE16(&p[68], 80);
    p[70] = 1;
    for (size_t i = 72; i <= 77; ++i) p[i] = 1;
    return p;
}

// Adds a new resource to the current container.
int16_t Add(platform::ResType type, int16_t id, const std::vector<uint8_t>& bytes)
{
    Handle h = nullptr;
    if (platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())) != 0) return platform::memFullErr;
    if (!xaddres(h, type, id)) {
        platform::DisposeHandle(h);
        return reserr ? reserr : platform::addResFailed;
    }
    return 0;
}

int16_t Commit(int16_t container) { return updateres(container) ? 0 : (reserr ? reserr : platform::ioErr); }

// The content of the new container, committed after the table names and
// at the end.
int16_t FillContainer(int16_t container)
{
    int16_t err = Add(FourCC("PRQz"), 0, NewParamRecord());
    if (!err) err = Add(FourCC("WNQz"), 0, {0, 0});
    if (!err) err = Commit(container);
    if (!err) err = Add(FourCC("TPQz"), 0, {0, 0});
    if (!err) err = Add(FourCC("LIBA"), 0, {0, 0});
    if (!err) err = Add(FourCC("LEQz"), 0, std::vector<uint8_t>(50, 0));
    if (!err) err = Add(FourCC("LiHe"), 0, {0, 0});
    uint8_t empty[4];
    EmptyScrambledTable(empty);
    const std::vector<uint8_t> table(empty, empty + 4);
    if (!err) err = Add(FourCC("PAQz"), 0, table);
    if (!err) err = Add(FourCC("PAQz"), 1, table);
    if (!err) err = Commit(container);
    return err;
}

// The companion's 'INQz' 0: a copy of the application's 'INQz' 1.
int16_t StampCompanion(int16_t companion)
{
    const int16_t saved = platform::CurResFile();
    if (G_MainResFile > 0) platform::UseResFile(G_MainResFile);
    Handle version = platform::Get1Resource(FourCC("INQz"), 1);
    platform::UseResFile(companion);
    int16_t err = 0;
    if (version && platform::HandToHand(&version) == 0) {
        static const unsigned char noName[1] = {0};
        platform::AddResource(version, FourCC("INQz"), 0, noName);
        err = platform::ResError();
        if (err) platform::DisposeHandle(version);
        else platform::WriteResource(version);
    }
    platform::UseResFile(saved);
    return err;
}

void Remove(const platform::FSSpec& fileSpec)
{
    platform::FSpDelete(fileSpec);
}

int16_t Create(const platform::FSSpec& document, uint8_t isLibrary)
{
    // 1. A name that cannot take the extension is refused before anything
    // is made.
    platform::FSSpec documentCompanion, fileSpec, companionSpec;
    if (!CompanionSpec(document, &documentCompanion) || !MadePair(document, &fileSpec, &companionSpec))
        return platform::bdNamErr;
    // The name held to the end. What a killed creation left goes first;
    // an existing document is never filled over.
    PairLock lock;
    if (const int16_t err = lock.Take(document)) return err;
    if (const int16_t err = FinishPair(document)) return err;
    if (platform::FSpExists(document) || platform::FSpExists(documentCompanion)) return platform::dupFNErr;
    const platform::OSType creator = isLibrary ? FourCC("QzA6") : FourCC("Qz06");
    const platform::OSType type = isLibrary ? FourCC("QzLB") : FourCC("BAS5");

    const int16_t previousContainer = xcurres();
    const int16_t previousNumber = numresfalse;
    auto restore = [&] {
        if (previousNumber > 0) UseQzRes(previousNumber);
        else if (previousContainer > 0) useres(previousContainer);
        numresfalse = previousNumber;
    };

    // 2.
    int16_t container = createres(fileSpec, creator, type);
    if (!container) {
        const int16_t err = reserr ? reserr : platform::ioErr;
        Remove(fileSpec);
        restore();
        return err;
    }
    updateres(container);
    closeres(container, false);
    container = openres(fileSpec, false);
    if (reserr || !container) {
        const int16_t err = reserr ? reserr : platform::ioErr;
        if (container) closeres(container, false);
        Remove(fileSpec);
        Remove(companionSpec);
        restore();
        return err;
    }

    // 3.
    platform::FSpCreateResFile(companionSpec, creator, type, -1);
    int16_t err = platform::ResError();
    if (err) {
        closeres(container, false);
        Remove(fileSpec);
        Remove(companionSpec);  // it may have been made before the failure
        restore();
        return err;
    }

    // 4.
    const int16_t savedRes = platform::CurResFile();
    if (G_MainResFile > 0) platform::UseResFile(G_MainResFile);
    UseQzRes(container);
    const int16_t companion = platform::FSpOpenResFile(companionSpec, platform::fsRdWrPerm);
    err = companion == -1 ? platform::ResError() : StampCompanion(companion);

    // 5, 6.
    if (!err) {
        hparam = xget1res(FourCC("PRQz"), 0);
        err = FillContainer(container);
        hparam = nullptr;
    }
    if (!err) err = SetPrefLong(FourCC("wvar"), -1, 1);

    // 7.
    if (!err) err = Commit(container);
    const bool closed = closeres(container, !err);
    if (!err && !closed) err = reserr ? reserr : platform::ioErr;
    if (companion != -1) {
        platform::CloseResFile(companion);
        if (!err) err = platform::ResError();
    }
    platform::UseResFile(savedRes);
    restore();
    if (!err) err = ReplacePair(document);
    if (err) {
        Remove(fileSpec);
        Remove(companionSpec);
    }
    return err;
}

}  // namespace

int16_t CreateQzLib(const platform::FSSpec& fileSpec, uint8_t isLibrary)
{
    try {
        return Create(fileSpec, isLibrary);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}

void copytruncate(const unsigned char* source, unsigned char* dest, int16_t maxLength)
{
    // Only what is kept is copied: `dest` may be no larger than that.
    const uint8_t kept = uint8_t(std::clamp<int32_t>(maxLength, 0, source[0]));
    std::memmove(dest + 1, source + 1, kept);
    dest[0] = kept;
    truncate(dest, kept);
}
