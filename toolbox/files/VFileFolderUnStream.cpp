#include "toolbox/files/VFileFolderUnStream.h"

#include <filesystem>
#include <new>

#include "platform/files/ColonPath.h"
#include "platform/files/FileSpec.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/VCompressStream.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileStreamCutter.h"
#include "toolbox/files/VFolder.h"
#include "toolbox/files/VInterlacingStream.h"
#include "toolbox/files/VRedundancyStream.h"

namespace {

constexpr uint32_t kListMarker = platform::FourCC("VFFS");
constexpr uint32_t kForkMarker = platform::FourCC("File");
constexpr uint32_t kCopyPiece = 32768;

VText TextOf(const std::u16string& units)
{
    VText text;
    text.SetNull(false);
    text.FromCFString(units);
    return text;
}

std::string PosixOf(const std::u16string& colon)
{
    std::string posix;
    if (platform::ColonPathToPosix(ToUtf8(TextOf(colon)), &posix) != 0) return std::string();
    return posix;
}

}  // namespace

VFileFolderUnStream::VFileFolderUnStream() = default;

VFileFolderUnStream::~VFileFolderUnStream()
{
    delete fSplitter;
    if (fOwnsArchive) delete fArchive;
}

int16_t VFileFolderUnStream::SetProgressCallBack(ProgressCallBack callback)
{
    fCallBack = std::move(callback);
    return 0;
}

int16_t VFileFolderUnStream::SetDestinationFolder(VString& path)
{
    if (path.GetLength() == 0 || path.GetChar(path.GetLength()) != u':') path.AppendUniChar(u':');
    fDestination = path.GetCFString();
    int16_t err = 0;
    VFolder* folder = VFolder::CreateRecursive(path, &err);
    if (!folder) return kFileErrMissing;
    delete folder;
    return 0;
}

int16_t VFileFolderUnStream::SetInputFile(VString& path)
{
    if (fOwnsArchive) delete fArchive;
    fArchive = new VFile(path);
    fOwnsArchive = fArchive != nullptr;
    return fArchive ? 0 : kFileErrMemory;
}

int16_t VFileFolderUnStream::Proceed()
{
    // Nothing thrown inside may leave the reader: memory running out is a code.
    try {
        int16_t err = ProceedFileList();
        if (err == 0) err = ProceedSelectedFile();
        return err;
    } catch (const std::bad_alloc&) {
        return kFileErrMemory;
    }
}

void VFileFolderUnStream::Note(int16_t code)
{
    if (fFirstError == 0) fFirstError = code;
}

void VFileFolderUnStream::KeepLastError(VFileErrorStack& errors)
{
    if (VFileError* last = errors.GetFileError(errors.GetCount())) fErrorStack.Add(*last);
}

bool VFileFolderUnStream::CallBack(ProgressCallBackAction action, uint64_t done, uint64_t total)
{
    if (!fCallBack) return false;
    bool stop = false;
    fCallBack(action, done, total, stop);
    return stop;
}

// --- the file list ---------------------------------------------------------------

bool VFileFolderUnStream::MapPath(const std::u16string& archivePath, std::u16string& mapped) const
{
    if (archivePath.size() < 3 || archivePath.compare(0, 2, u"./") != 0) return false;
    std::u16string result = fDestination;
    size_t start = 2;
    while (true) {
        const size_t end = archivePath.find(u'/', start);
        const std::u16string name = archivePath.substr(start, end == std::u16string::npos ? end : end - start);
        if (name.empty() || name == u"." || name == u".." || name.find(u':') != std::u16string::npos ||
            name.find(u'\0') != std::u16string::npos)
            return false;
        result += name;
        if (end == std::u16string::npos) break;
        result += u':';
        start = end + 1;
    }
    mapped = result;
    return true;
}

int16_t VFileFolderUnStream::ReadPath(VStream* header, Entry& entry)
{
    int32_t count = 0;
    if (const int16_t err = header->GetLong(count); err != 0) return err;
    if (count <= 0) return 0;  // an empty path: the entry is passed over
    if (uint32_t(count) > kMaxArchivePathLength) return kArchiveErrBadData;
    int32_t set = 0;
    if (const int16_t err = header->GetLong(set); err != 0) return err;
    if (set != kCharSetMac && set != kCharSetAnsi && set != kCharSetUnicode) return kArchiveErrBadData;
    VText path;
    path.SetNull(false);
    int32_t units = count + 1;
    if (set == kCharSetUnicode) {
        std::vector<uint16_t> chars(size_t(count) + 1);
        if (const int16_t err = header->GetWords(chars.data(), &units); err != 0) return err;
        path.FromUniBlock(reinterpret_cast<const char16_t*>(chars.data()), 0, count);
    } else {
        std::vector<uint8_t> bytes(size_t(count) + 1);
        if (const int16_t err = header->GetBytes(bytes.data(), &units); err != 0) return err;
        path.FromBlock(bytes.data(), 0, count, set);
    }
    const std::u16string archivePath = path.GetCFString();
    if (!MapPath(archivePath, entry.path)) {
        entry.path.clear();
        entry.refused = true;
    }
    return 0;
}

int16_t VFileFolderUnStream::ReadHeader(VStream* header)
{
    uint8_t marker[4];
    uint32_t count = 4;
    int16_t err = header->GetData(marker, &count);
    if (err != 0) return err;
    const int32_t form = MatchMarker(marker, kListMarker);
    if (form == 0) return kArchiveErrBadData;
    if (form == 2) header->SetCpuKind(kCpuSelectIntel, kCpuUnchanged);
    int32_t version = 0;
    if ((err = header->GetLong(version)) != 0) return err;
    if (version != fVersion) return kArchiveErrBadData;
    char flag = 0;
    header->GetByte(flag);
    fCompressed = int8_t(flag);
    header->GetLong(fRedundancy);
    header->GetLong(fInterlacing);
    if ((err = header->GetLong(fFileCount)) != 0) return err;
    // The count is not trusted for room: entries are taken as they come.
    for (uint32_t i = 0; i < fFileCount; ++i) {
        Entry entry;
        if ((err = ReadPath(header, entry)) != 0) return err;
        header->GetLong(entry.creator);
        header->GetLong(entry.type);
        header->GetLong(entry.dataSize);
        if ((err = header->GetLong(entry.resourceSize)) != 0) return err;
        if (entry.refused) Note(kArchiveErrBadData);
        fTotal += entry.dataSize;
        fEntries.push_back(entry);
    }
    return 0;
}

int16_t VFileFolderUnStream::ProceedFileList()
{
    fEntries.clear();
    fTotal = fDone = 0;
    fFirstError = 0;
    if (!fArchive) return kFileErrMemory;
    if (!fArchive->Exists()) return kFileErrMissing;
    delete fSplitter;
    fSplitter = new VFileStreamCutter(fArchive, 0x80000000);
    if (!fSplitter) return kFileErrMemory;
    VCompressStream* header = new VCompressStream(fSplitter, 0);
    if (!header) return kFileErrMemory;
    int16_t err = header->OpenReading();
    if (err == 0) {
        err = ReadHeader(header);
        // A list that ends on a full block has an empty block behind it,
        // which belongs to the list, not to the content.
        if (err == 0) err = header->ReadEmptyTail();
        const int16_t closed = header->CloseReading();
        if (err == 0) err = closed;
    }
    delete header;
    if (err != 0) KeepLastError(fArchive->GetFileErrorStack());
    return err;
}

// --- the files -------------------------------------------------------------------

bool VFileFolderUnStream::PassesThroughLink(const std::u16string& mapped) const
{
    // Every folder between the destination and the file must be a real one.
    size_t at = fDestination.size();
    while (true) {
        const size_t colon = mapped.find(u':', at);
        if (colon == std::u16string::npos) return false;
        const std::string posix = PosixOf(mapped.substr(0, colon));
        if (posix.empty()) return true;
        std::error_code ec;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(posix, ec))) return true;
        at = colon + 1;
    }
}

int16_t VFileFolderUnStream::ReadForkMarker(VStream* content)
{
    uint8_t marker[4];
    uint32_t count = 4;
    int16_t err = content->GetData(marker, &count);
    if (err == 0 && count < 4) err = kStreamEndOfData;
    if (err != 0) return err;
    const int32_t form = MatchMarker(marker, kForkMarker);
    if (form == 0) return kArchiveErrBadData;
    if (form == 2) content->SetCpuKind(kCpuSelectIntel, kCpuUnchanged);
    return 0;
}

int16_t VFileFolderUnStream::CopyFork(VStream* content, uint32_t size, VFile* file, int16_t* writeErr)
{
    uint32_t piece = kCopyPiece;
    while (size > 0) {
        if (piece > size) piece = size;
        uint32_t n = piece;
        int16_t err = content->GetData(fCopyBuffer.data(), &n);
        if (err == 0 && n == 0) err = kStreamEndOfData;
        fDone += n;
        if (err != 0) return err;
        if (file && *writeErr == 0) *writeErr = file->PutData(fCopyBuffer.data(), n);
        if (CallBack(kProgressStep, fDone, fTotal)) return kFileErrCancelled;
        size -= n;
        piece = n;
    }
    return 0;
}

int16_t VFileFolderUnStream::SkipEntry(VStream* content, const Entry& entry)
{
    int16_t unused = 0;
    int16_t err = CopyFork(content, entry.dataSize, nullptr, &unused);
    if (err == 0 && entry.resourceSize != 0) err = ReadForkMarker(content);
    if (err == 0 && entry.resourceSize != 0) err = CopyFork(content, entry.resourceSize, nullptr, &unused);
    return err;
}

int16_t VFileFolderUnStream::ExtractEntry(VStream* content, const Entry& entry)
{
    if (PassesThroughLink(entry.path)) {
        Note(kArchiveErrBadData);
        return SkipEntry(content, entry);
    }
    VText parentPath;
    VPath::GetParentPath(TextOf(entry.path), parentPath, kPathColon);
    int16_t folderErr = 0;
    VFolder* folder = VFolder::CreateRecursive(parentPath, &folderErr);
    if (!folder) {
        Note(folderErr != 0 ? folderErr : kFileErrMissing);
        return SkipEntry(content, entry);
    }
    delete folder;

    // The bytes go to a new file beside the target first.
    std::u16string parent = parentPath.GetCFString();
    if (parent.empty() || parent.back() != u':') parent.push_back(u':');
    VFile* temp = nullptr;
    for (uint32_t attempt = 1; attempt < 1000 && !temp; ++attempt) {
        const std::string name = ".qz-unpack-" + std::to_string(attempt);
        const std::u16string tempPath = parent + std::u16string(name.begin(), name.end());
        temp = new VFile(TextOf(tempPath), entry.type, entry.creator);
        if (!temp) break;
        // Never the target itself, nor any item already there.
        if (tempPath == entry.path || temp->Exists()) {
            delete temp;
            temp = nullptr;
        }
    }
    if (!temp) {
        Note(kFileErrMemory);
        return SkipEntry(content, entry);
    }
    temp->SetKind(entry.type);
    temp->SetCreator(entry.creator);
    int16_t writeErr = temp->Create(false);
    if (writeErr == 0) writeErr = temp->Close();
    int16_t err = 0;
    if (writeErr == 0) {
        writeErr = temp->Open(kAccessWrite, false);
        err = CopyFork(content, entry.dataSize, writeErr == 0 ? temp : nullptr, &writeErr);
        const int16_t closed = temp->Close();
        if (writeErr == 0) writeErr = closed;
    } else {
        err = CopyFork(content, entry.dataSize, nullptr, &writeErr);
    }
    if (err == 0 && entry.resourceSize != 0) {
        err = ReadForkMarker(content);
        if (err == 0) {
            const bool write = writeErr == 0 && fWriteResourceForks;
            if (write) writeErr = temp->Open(kAccessWrite, true);
            err = CopyFork(content, entry.resourceSize, write && writeErr == 0 ? temp : nullptr, &writeErr);
            if (write) {
                const int16_t closed = temp->Close();
                if (writeErr == 0) writeErr = closed;
            }
        }
    }
    if (err == 0 && writeErr == 0) {
        VFile target(TextOf(entry.path));
        platform::FSSpec from, to;
        temp->MAC_GetFSSpec(from);
        target.MAC_GetFSSpec(to);
        const platform::OSErr renamed = platform::FSpRenameOver(from, to);
        if (renamed != 0) writeErr = renamed == platform::dskFulErr ? kFileErrDiskFull : kFileErrOther;
    }
    if (err != 0 || writeErr != 0) {
        KeepLastError(content->GetFileErrorStack());
        KeepLastError(temp->GetFileErrorStack());
        temp->Close();
        if (temp->Exists()) temp->Delete();
        Note(writeErr != 0 ? writeErr : err);
    }
    delete temp;
    return err;
}

int16_t VFileFolderUnStream::ProceedSelectedFile()
{
    const bool skipMode = fDestination.empty();
    int16_t err = 0;
    if (!fSplitter) return kStreamNotOpen;
    // The content streams, bottom first; deleted topmost first.
    std::vector<VStream*> stack;
    VStream* top = fSplitter;
    if (fInterlacing != 0) stack.push_back(top = new VInterlacingStream(top, fInterlacing));
    if (top && fRedundancy != 0) stack.push_back(top = new VRedundancyStream(top, fRedundancy));
    if (top && fCompressed != 0) stack.push_back(top = new VCompressStream(top, 0));
    if (!top) err = kFileErrMemory;

    if (err == 0 && CallBack(kProgressStart, 0, 0)) err = kFileErrCancelled;
    if (err == 0) err = top->OpenReading();
    if (err == 0) {
        fCopyBuffer.assign(kCopyPiece, 0);
        for (const Entry& entry : fEntries) {
            err = ReadForkMarker(top);
            if (err != 0) break;
            if (skipMode || entry.path.empty())
                err = SkipEntry(top, entry);
            else
                err = ExtractEntry(top, entry);
            if (err != 0) break;
        }
        const int16_t closed = top->CloseReading();
        if (err == 0 && fFirstError == 0) err = closed;
        fCopyBuffer.clear();
        fCopyBuffer.shrink_to_fit();
    }
    if (err != 0 && top) KeepLastError(top->GetFileErrorStack());
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) delete *it;
    delete fSplitter;
    fSplitter = nullptr;
    if (CallBack(kProgressEnd, 0, 0) && err == 0) err = kFileErrCancelled;
    // The first failure wins: a later read does not clear a disk-full.
    if (fFirstError != 0 && err != kFileErrCancelled) return fFirstError;
    return err;
}
