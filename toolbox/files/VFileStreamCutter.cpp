#include "toolbox/files/VFileStreamCutter.h"

#include <cstdio>

#include "toolbox/files/PartDialogHooks.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileStream.h"
#include "toolbox/files/VFolder.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

constexpr uint32_t kPartMarker = platform::FourCC("VFSC");
constexpr uint32_t kPartHeaderSize = 12;
constexpr uint32_t kDefaultMaxPart = 0x80000000;
constexpr char16_t kFirstPartTag[] = u".part001";
constexpr size_t kFirstPartTagLength = 8;

std::u16string Units(const VString& s) { return s.GetCFString(); }

VText TextOf(const std::u16string& units)
{
    VText text;
    text.SetNull(false);
    text.FromCFString(units);
    return text;
}

bool EndsWith(const std::u16string& s, const std::u16string& tail)
{
    return !tail.empty() && s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Drops ".part001" (any case) when it ends the text: a reader given the
// first part by its numbered name names the others from the plain base.
void DropFirstPartTag(std::u16string& s)
{
    if (s.size() < kFirstPartTagLength) return;
    const size_t at = s.size() - kFirstPartTagLength;
    for (size_t i = 0; i < kFirstPartTagLength; ++i) {
        char16_t c = s[at + i];
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
        if (c != kFirstPartTag[i]) return;
    }
    s.erase(at);
}

std::u16string PartTag(uint32_t number)
{
    char tag[16];
    std::snprintf(tag, sizeof tag, ".part%03u", number);
    return std::u16string(tag, tag + std::char_traits<char>::length(tag));
}

int32_t RandomArchiveId()
{
    const uint32_t high = uint16_t(VSystem::Random(-32768, 32767));
    const uint32_t low = uint16_t(VSystem::Random(-32768, 32767));
    return int32_t(high << 16 | low);
}

}  // namespace

VFileStreamCutter::VFileStreamCutter(VFile* firstFile, uint32_t maxPartSize)
    : fFirstFile(firstFile), fFile(firstFile), fArchiveId(RandomArchiveId()),
      fMaxPartSize(maxPartSize == 0 ? kDefaultMaxPart : maxPartSize)
{
    // A part must carry at least one byte behind its header, or writing
    // would make empty parts without end.
    if (fMaxPartSize <= kPartHeaderSize) fMaxPartSize = kPartHeaderSize + 1;
    if (!firstFile) return;
    VText full;
    firstFile->GetFullPath(full);
    fFullPath = Units(full);
    VText extension;
    firstFile->GetExtension(extension);
    fExtension = Units(extension);
    // Only the trailing extension is the extension: "a.zip.d:Arch.zip"
    // keeps its folder's name whole.
    fBasePath = fFullPath;
    if (EndsWith(fBasePath, fExtension)) fBasePath.erase(fBasePath.size() - fExtension.size());
    VText name;
    firstFile->GetName(name);
    fBaseName = Units(name);
    if (EndsWith(fBaseName, fExtension)) fBaseName.erase(fBaseName.size() - fExtension.size());
}

VFileStreamCutter::~VFileStreamCutter()
{
    delete fPartStream;
    DropCurrentFile();
}

void VFileStreamCutter::DropCurrentFile()
{
    if (fFile != fFirstFile) delete fFile;
    fFile = nullptr;
}

void VFileStreamCutter::KeepPartStreamError()
{
    if (!fPartStream) return;
    VFileErrorStack& errors = fPartStream->GetFileErrorStack();
    if (VFileError* last = errors.GetFileError(errors.GetCount())) fErrorStack.Add(*last);
}

void VFileStreamCutter::_GetArchiveName(VString& result, bool shortForm)
{
    if (fCallBack) {
        VText basePath = TextOf(fBasePath), baseName = TextOf(fBaseName), extension = TextOf(fExtension);
        fCallBack(basePath, baseName, extension, result, fPartNumber, shortForm);
        return;
    }
    std::u16string name;
    if (fPartNumber != 1)
        name = fBasePath + PartTag(fPartNumber) + fExtension;
    else if (shortForm)
        name = fBaseName + kFirstPartTag + fExtension;
    else
        name = fBasePath + fExtension;
    result.SetNull(false);
    result.FromCFString(name);
}

// --- reading -------------------------------------------------------------------

int16_t VFileStreamCutter::OpenReading()
{
    fError = 0;
    if (fState != kStreamClosed) return kStreamAlreadyOpen;
    if (fBasePath.empty()) return kFileErrMissing;
    const bool resume = fClosedDirection == kStreamReading && fFile && Units(fFile->GetPath()) == fClosedPath;
    if (!resume) {
        // A fresh reading starts at the first part.
        DropCurrentFile();
        fFile = fFirstFile;
        fPartNumber = 1;
        fUsed = 0;
    }
    if (!fFile) return kFileErrMemory;
    if (!fFile->Exists()) return kFileErrMissing;
    fPartStream = new VFileStream(fFile);
    if (!fPartStream) return kFileErrMemory;
    if (const int16_t err = fPartStream->OpenReading(); err != 0) {
        delete fPartStream;
        fPartStream = nullptr;
        return err;
    }
    if (resume) fPartStream->SetPos(fClosedPos);
    fState = kStreamReading;
    if (resume) return 0;
    if (fCallBack) {
        VText basePath = TextOf(fBasePath), baseName = TextOf(fBaseName), extension = TextOf(fExtension);
        VText opened = TextOf(Units(fFile->GetPath()));
        fCallBack(basePath, baseName, extension, opened, 0, false);
        fBasePath = Units(basePath);
        fBaseName = Units(baseName);
        fExtension = Units(extension);
    } else {
        DropFirstPartTag(fBasePath);
        DropFirstPartTag(fBaseName);
    }
    return 0;
}

int16_t VFileStreamCutter::ReadPartHeader()
{
    uint8_t marker[4];
    uint32_t count = 4;
    int16_t err = fPartStream->GetData(marker, &count);
    if (err == 0 && count < 4) err = kStreamEndOfData;
    if (err != 0) return err;
    const int32_t match = MatchMarker(marker, kPartMarker);
    if (match == 2) fPartStream->SetCpuKind(kCpuSelectIntel, kCpuUnchanged);
    int32_t id = 0;
    uint32_t number = 0;
    fPartStream->GetLong(id);
    if ((err = fPartStream->GetLong(number)) != 0) return err;
    if (match == 0) return kArchiveErrBadData;
    if (fPartNumber == 1)
        fArchiveId = id;
    else if (id != fArchiveId)
        return kArchiveErrBadData;
    if (number != fPartNumber) return kArchiveErrBadData;
    fUsed = kPartHeaderSize;
    return 0;
}

int16_t VFileStreamCutter::NextPartForReading()
{
    if (fPartStream) {
        fPartStream->CloseReading();
        delete fPartStream;
        fPartStream = nullptr;
    }
    DropCurrentFile();
    ++fPartNumber;
    fUsed = 0;
    VText name;
    _GetArchiveName(name, false);
    fFile = new VFile(name);
    if (!fFile) return kFileErrMemory;
    if (!fFile->Exists()) {
        VText expected;
        fFile->GetFileNameWithExtention(expected);
        VFile* chosen = LocateMissingPart(expected);
        if (!chosen) return kFileErrMissing;
        delete fFile;
        fFile = chosen;
    }
    fPartStream = new VFileStream(fFile);
    if (!fPartStream) return kFileErrMemory;
    if (const int16_t err = fPartStream->OpenReading(); err != 0) {
        KeepPartStreamError();
        delete fPartStream;
        fPartStream = nullptr;
        return err;
    }
    return 0;
}

int16_t VFileStreamCutter::GetData(void* buffer, uint32_t* length)
{
    const uint32_t wanted = *length;
    *length = 0;
    if (const int16_t err = DirectionError(kStreamReading); err != 0) return err;
    // Damage stays; a missing part or a short read may be tried again.
    if (fError == kArchiveErrBadData) return fError;
    fError = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t delivered = 0;
    while (delivered < wanted && fError == 0) {
        if (!fPartStream) {
            // The part asked for last time was not found: ask again.
            --fPartNumber;
            fError = NextPartForReading();
            continue;
        }
        if (fUsed == 0) {
            fError = ReadPartHeader();
            continue;
        }
        const uint32_t size = fPartStream->GetSize();
        const uint32_t left = size > fUsed ? size - fUsed : 0;
        const uint32_t want = wanted - delivered;
        uint32_t n = left < want ? left : want;
        if (n != 0) {
            const int16_t err = fPartStream->GetData(out + delivered, &n);
            delivered += n;
            fUsed += n;
            if (err != 0) {
                fError = err;
                break;
            }
        }
        if (left < want) fError = NextPartForReading();
    }
    *length = delivered;
    return fError;
}

int16_t VFileStreamCutter::CloseReading()
{
    fError = 0;
    if (fState == kStreamClosed) return kStreamNotOpen;
    if (fState == kStreamWriting) return kStreamOpenForWriting;
    fClosedPath = fFile ? Units(fFile->GetPath()) : std::u16string();
    fClosedDirection = kStreamReading;
    fClosedPos = 0;
    int16_t result = 0;
    if (fPartStream) {
        fClosedPos = uint32_t(fPartStream->GetPos());
        result = fPartStream->CloseReading();
        delete fPartStream;
        fPartStream = nullptr;
    }
    fState = kStreamClosed;
    return result;
}

// --- writing -------------------------------------------------------------------

int16_t VFileStreamCutter::OpenWriting()
{
    fError = 0;
    if (fState != kStreamClosed) return kStreamAlreadyOpen;
    if (fBasePath.empty()) return kFileErrMissing;
    if (!fFile) return kFileErrMemory;
    if (fClosedDirection == kStreamWriting && Units(fFile->GetPath()) == fClosedPath) {
        fPartStream = new VFileStream(fFile);
        if (!fPartStream) return kFileErrMemory;
        int16_t err = fPartStream->OpenWriting();
        if (err == 0) err = fPartStream->SetPos(fPartStream->GetSize());
        if (err != 0) {
            delete fPartStream;
            fPartStream = nullptr;
            return err;
        }
        fState = kStreamWriting;
        return 0;
    }
    fFile->SetKind(fKind);
    fFile->SetCreator(fCreator);
    const int16_t created = fFile->Create(true);
    if (!fFile->Exists()) return created != 0 ? created : kFileErrMissing;
    fFile->Close();
    fPartNumber = 1;
    fUsed = 0;
    fPartStream = new VFileStream(fFile);
    if (!fPartStream) return kFileErrMemory;
    if (const int16_t err = fPartStream->OpenWriting(); err != 0) {
        delete fPartStream;
        fPartStream = nullptr;
        return err;
    }
    fState = kStreamWriting;
    return 0;
}

int16_t VFileStreamCutter::RenameFirstPart()
{
    VText shortName;
    _GetArchiveName(shortName, true);
    VFolder* parent = fFile->GetParent();
    if (!parent) return kFileErrMemory;
    VText folderPath;
    parent->GetFullPath(folderPath);
    delete parent;
    std::u16string target = Units(folderPath);
    if (target.empty() || target.back() != u':') target.push_back(u':');
    target += Units(shortName);
    VFile existing(TextOf(target));
    if (existing.Exists()) existing.Delete();
    if (const int16_t err = fFile->Rename(shortName); err != 0) return err;
    fFullPath = Units(fFile->GetPath());
    return 0;
}

int16_t VFileStreamCutter::NextPartForWriting()
{
    if (fPartNumber == 1) {
        if (const int16_t err = RenameFirstPart(); err != 0) return err;
    } else {
        DropCurrentFile();
    }
    delete fPartStream;
    fPartStream = nullptr;
    ++fPartNumber;
    VText name;
    _GetArchiveName(name, false);
    DropCurrentFile();
    fFile = new VFile(name, fKind, fCreator);
    if (!fFile) return kFileErrMemory;
    fFile->SetKind(fKind);
    fFile->SetCreator(fCreator);
    if (const int16_t err = fFile->Create(true); err != 0) {
        --fPartNumber;
        fState = kStreamClosed;
        return err;
    }
    fFile->Close();
    fPartStream = new VFileStream(fFile);
    if (!fPartStream) return kFileErrMemory;
    if (const int16_t err = fPartStream->OpenWriting(); err != 0) return err;
    fUsed = 0;
    return 0;
}

int16_t VFileStreamCutter::PutData(const void* data, uint32_t length)
{
    if (const int16_t err = DirectionError(kStreamWriting); err != 0) return err;
    if (fError != 0) return fError;
    auto* in = static_cast<const uint8_t*>(data);
    while (length > 0 && fError == 0) {
        if (fUsed == 0) {
            fPartStream->PutLong(int32_t(kPartMarker));
            fPartStream->PutLong(fArchiveId);
            fError = fPartStream->PutLong(int32_t(fPartNumber));
            fUsed = kPartHeaderSize;
            continue;
        }
        if (uint64_t(length) + fUsed >= fMaxPartSize) {
            const uint32_t n = fMaxPartSize - fUsed;
            fError = fPartStream->PutData(in, n);
            if (fError != 0) break;
            in += n;
            length -= n;
            fUsed = fMaxPartSize;
            fError = fPartStream->CloseWriting(1);
            if (fError != 0) break;
            fError = NextPartForWriting();
        } else {
            fError = fPartStream->PutData(in, length);
            if (fError == 0) fUsed += length;
            length = 0;
        }
    }
    if (fError != 0) KeepPartStreamError();
    return fError;
}

int16_t VFileStreamCutter::CloseWriting(uint8_t)
{
    const int16_t pending = fError;
    fError = 0;
    if (fState == kStreamClosed) return pending != 0 ? pending : kStreamNotOpen;
    if (fState == kStreamReading) return kStreamOpenForReading;
    fClosedPath = fFile ? Units(fFile->GetPath()) : std::u16string();
    fClosedDirection = kStreamWriting;
    int16_t result = 0;
    if (fPartStream) {
        result = fPartStream->CloseWriting(1);
        delete fPartStream;
        fPartStream = nullptr;
    }
    fState = kStreamClosed;
    // A failed write is not turned into a successful close.
    return pending != 0 ? pending : result;
}
