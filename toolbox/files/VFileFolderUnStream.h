// Unpacks a folder archive into a destination folder. The archive is one
// byte sequence carried by the part-file splitter, in two sections.
//
// Header, in a compression stream laid on the splitter (big-endian;
// 'SFFV' makes it little-endian):
//   4  'VFFS'                        other: 220
//   4  format version, 2             other: 220
//   1  compressed flag (not 0: the content is compressed)
//   4  redundancy group size n (0: none)
//   4  interlacing stride n (0: none)
//   4  file count
//   per file: path (32-bit count, 32-bit character set, the characters and
//   a zero; over 4096 characters: 220), creator, type, data fork size,
//   resource fork size (4 bytes each)
// Content, behind the header's last block, through interlacing, then
// redundancy, then compression as the header says: per file 'File' and
// the data fork, then, when it has one, 'File' and the resource fork.
//
// Paths read "./name/name": a path of any other form, or with a name that
// is empty, ".", "..", or holds ':' or a zero, is refused (220) and its
// bytes skipped; so is a path that would pass through a symbolic link.
// A file is written beside its target under a temporary name and renamed
// over it once both forks are whole: a failed entry leaves the old file as
// it was. The first failure is the result; a failed file does not stop the
// files after it, damaged archive data does.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolbox/foundation/VFileError.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VText.h"

class VFile;
class VFileStreamCutter;
class VStream;

enum ProgressCallBackAction : int16_t { kProgressStart = 0, kProgressStep = 1, kProgressEnd = 2 };
// (action, bytes done, total, stop): setting stop ends the reading (218).
using ProgressCallBack = std::function<void(ProgressCallBackAction, uint64_t, uint64_t, bool&)>;

constexpr uint32_t kMaxArchivePathLength = 4096;

class VFileFolderUnStream : public VObject {
public:
    VFileFolderUnStream();
    ~VFileFolderUnStream() override;
    VFileFolderUnStream(const VFileFolderUnStream&) = delete;
    VFileFolderUnStream& operator=(const VFileFolderUnStream&) = delete;

    int16_t SetProgressCallBack(ProgressCallBack callback);
    // Ends the caller's path with ':' and makes the folder (208 when it
    // cannot be made). Without a destination the archive is only checked.
    int16_t SetDestinationFolder(VString& path);
    int16_t SetInputFile(VString& path);
    // Reads the file list, then extracts the files; the first failure.
    int16_t Proceed();
    int16_t ProceedFileList();
    int16_t ProceedSelectedFile();

    VFileErrorStack& GetFileErrorStack() { return fErrorStack; }
    int32_t GetFileCount() const { return int32_t(fEntries.size()); }
    uint64_t GetTotal() const { return fTotal; }
    uint64_t GetDone() const { return fDone; }

private:
    struct Entry {
        std::u16string path;  // the full colon path; empty: passed over
        bool refused = false;
        uint32_t creator = 0;
        uint32_t type = 0;
        uint32_t dataSize = 0;
        uint32_t resourceSize = 0;
    };

    int16_t ReadHeader(VStream* header);
    int16_t ReadPath(VStream* header, Entry& entry);
    // "./a/b" under the destination, or false when it must be refused.
    bool MapPath(const std::u16string& archivePath, std::u16string& mapped) const;
    bool PassesThroughLink(const std::u16string& mapped) const;
    int16_t ReadForkMarker(VStream* content);
    // Reads size bytes of the content, writing them to the file when given.
    // *writeErr takes a failure of the file; the result is the content's.
    int16_t CopyFork(VStream* content, uint32_t size, VFile* file, int16_t* writeErr);
    // One entry whose forks go to disk; the result is the content's error.
    int16_t ExtractEntry(VStream* content, const Entry& entry);
    int16_t SkipEntry(VStream* content, const Entry& entry);
    bool CallBack(ProgressCallBackAction action, uint64_t done, uint64_t total);
    void Note(int16_t code);
    void KeepLastError(VFileErrorStack& errors);

    std::u16string fDestination;
    VFile* fArchive = nullptr;
    bool fOwnsArchive = false;
    std::vector<Entry> fEntries;
    int8_t fCompressed = 0;
    uint32_t fRedundancy = 0;
    uint32_t fInterlacing = 0;
    uint32_t fFileCount = 0;
    VFileStreamCutter* fSplitter = nullptr;
    ProgressCallBack fCallBack;
    uint64_t fDone = 0;
    uint64_t fTotal = 0;
    bool fWriteResourceForks = true;
    int32_t fVersion = 2;
    int16_t fFirstError = 0;
    std::vector<uint8_t> fCopyBuffer;
    VFileErrorStack fErrorStack;
};
