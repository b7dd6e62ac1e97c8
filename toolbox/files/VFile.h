// A file named by its colon path, with its Finder type and creator, an open
// status (FileCodes.h) and an error stack that records every failed
// platform call.
#pragma once

#include "toolbox/files/VMacFile.h"
#include "toolbox/files/VPath.h"
#include "toolbox/foundation/VFileError.h"

class VFileStream;

class VFile : public VPath {
public:
    // A kind of 0 reads the type and creator from the file on disk.
    explicit VFile(const VString& path, uint32_t kind = 0, uint32_t creator = 0, int32_t userValue = 0);
    VFile(const VFolder& folder, const VString& name, uint32_t kind = 0, uint32_t creator = 0,
          int32_t userValue = 0);
    explicit VFile(const platform::FSSpec& fileSpec, uint32_t kind = 0, uint32_t creator = 0);
    explicit VFile(const platform::FSRef& ref, uint32_t kind = 0, uint32_t creator = 0);
    // Closes an open fork without flushing; an attached writer is not destroyed.
    ~VFile() override;
    VFile(const VFile&) = delete;

    bool Exists() override;
    int16_t GetFullPath(VText& path) override;
    VFolder* GetParent() override;
    bool IsAFolder() const override { return false; }
    int16_t MAC_GetFSSpec(platform::FSSpec& fileSpec) override;
    int16_t GetUnixPath(VText& path) override;
    int16_t MakeWritableByAll() override;
    bool IsWritableByAll() override;

    // Reads *count bytes at the mark; *count becomes the number read (200
    // when short).
    virtual int16_t GetData(void* buffer, uint32_t* count);
    virtual int16_t PutData(const void* buffer, uint32_t count);
    // At a position; count becomes 0 on any failure.
    virtual int16_t GetData(void* buffer, uint32_t& count, uint32_t position);
    virtual int16_t PutDataFix(const void* buffer, uint32_t count, uint32_t position);
    int16_t GetDataFix(void* buffer, uint32_t count, uint32_t position);

    int16_t Open(FileAccess access, bool resourceFork = false);
    int16_t Close(bool mustBeOpen = false);
    // Makes the file (replacing an existing one when asked) and leaves it
    // open for reading and writing.
    int16_t Create(bool replace);
    int16_t Delete();
    int16_t Rename(const VString& newName);
    int16_t SetPos(uint32_t position);
    int16_t SetSize(uint32_t size);
    // 0xFFFFFFFF for a missing file, and for one too large to say (the
    // failure is recorded as fileBoundsErr).
    uint32_t GetSize(ForkType fork = kDataFork);

    bool IsTemplate() const;
    // The link's target, a new file or folder owned by the caller, or null.
    VPath* ResolveAlias();
    bool IsAliasFile();
    int16_t SetPermissions(uint16_t mode);

    // Attaches the one stream writing this file (null detaches); 202 when
    // another one is attached.
    int16_t SetWriter(VFileStream* writer);
    VFileStream* GetWriter() const { return fWriter; }

    uint32_t GetKind() const { return fKind; }
    uint32_t GetCreator() const { return fCreator; }
    void SetKind(uint32_t kind) { fKind = kind; }
    void SetCreator(uint32_t creator) { fCreator = creator; }
    int32_t GetUserValue() const { return fUserValue; }
    VFileErrorStack& GetFileErrorStack() { return fErrorStack; }
    VFile_Mac& MAC_GetFile() { return fMac; }

private:
    void Setup(uint32_t kind, uint32_t creator);
    void PathFromPlatform();

    uint32_t fKind = 0;
    uint32_t fCreator = 0;
    VFileStream* fWriter = nullptr;
    int32_t fUserValue = 0;
    VFileErrorStack fErrorStack;
    VFile_Mac fMac;
};
