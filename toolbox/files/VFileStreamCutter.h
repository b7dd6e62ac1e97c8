// One logical byte sequence carried across numbered part files, none
// larger than a maximum size. Each part opens with a 12-byte header:
//  off size
//   0   4   'VFSC' ('CSFV': the two numbers behind it are little-endian)
//   4   4   archive id, the same in every part       other: 220
//   8   4   part number, 1 for the first part        other: 220
// Part n is named base path + ".part%03d" + extension; data that fits one
// part keeps the first file's plain name. A part that is not where it is
// expected is asked for (PartDialogHooks.h); a cancelled question is 208.
// Closing and reopening in the same direction resumes where it stopped.
#pragma once

#include <string>

#include "toolbox/files/VSequentialStream.h"
#include "toolbox/foundation/VText.h"

class VFile;
class VFileStream;

// (base path, base name, extension, result, part number, flag): names a
// part into result; at opening for reading (part 0) it may adjust the first
// three from the opened file's path given in result.
using CutterNameCallBack = void (*)(VString& basePath, VString& baseName, VString& extension, VString& result,
                                    uint32_t partNumber, bool flag);

class VFileStreamCutter : public VSequentialStream {
public:
    // The first file stays the caller's. A maximum of 0 means 0x80000000.
    VFileStreamCutter(VFile* firstFile, uint32_t maxPartSize);
    ~VFileStreamCutter() override;

    void SetCallBack(CutterNameCallBack callback) { fCallBack = callback; }

    int16_t OpenReading() override;
    int16_t OpenWriting() override;
    int16_t CloseReading() override;
    int16_t CloseWriting(uint8_t setSize) override;
    int16_t PutData(const void* data, uint32_t length) override;
    int16_t GetData(void* buffer, uint32_t* length) override;

    // The current part's name: short form for part 1 is the numbered name
    // (base name + ".part001" + extension), long form its own full path.
    virtual void _GetArchiveName(VString& result, bool shortForm);

    int32_t GetArchiveId() const { return fArchiveId; }
    uint32_t GetPartNumber() const { return fPartNumber; }

private:
    int16_t ReadPartHeader();
    // Closes the finished part and opens the next one for reading.
    int16_t NextPartForReading();
    // Renames part 1, then creates and opens the next part for writing.
    int16_t NextPartForWriting();
    int16_t RenameFirstPart();
    void DropCurrentFile();
    void KeepPartStreamError();

    VFile* fFirstFile;
    VFile* fFile;
    VFileStream* fPartStream = nullptr;
    uint32_t fKind = 0;
    uint32_t fCreator = 0;
    std::u16string fFullPath;
    std::u16string fBasePath;
    std::u16string fBaseName;
    std::u16string fExtension;
    int32_t fArchiveId;
    uint32_t fPartNumber = 1;
    uint32_t fMaxPartSize;
    uint32_t fUsed = 0;
    // Where the last close left the stream, to resume there.
    std::u16string fClosedPath;
    int16_t fClosedDirection = 0;
    uint32_t fClosedPos = 0;
    CutterNameCallBack fCallBack = nullptr;
};
