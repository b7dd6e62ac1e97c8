// The platform part of a file: fork access, Finder information and links.
// Every platform failure is mapped and recorded in the owner's error stack.
#pragma once

#include "toolbox/files/VMacFileObject.h"

class VFile;
class VPath;

class VFile_Mac : public VFileObject_Mac {
public:
    explicit VFile_Mac(VFile* owner);
    // Closes an open fork (without flushing).
    ~VFile_Mac() override;

    int16_t _Create() override;
    VObject* _GetOwner() override;
    // A link is a file of its own (an alias file), whatever it points to.
    bool CheckIfExists(bool* isFolder = nullptr) override;

    void SetFileErrorStack(VFileErrorStack* stack) { fErrorStack = stack; }
    int16_t CreateAsDataFile(bool open);
    // Makes the file under a temporary name in the same folder, opens it for
    // reading and writing and renames it over the existing file, so the old
    // file stays whole until the new one is in place; 210 when it cannot.
    int16_t CreateOver();
    int16_t Rename(const VString& name, VText* newPath = nullptr);
    int16_t Delete() { return _Delete(); }

    int16_t Open(FileAccess access, bool resourceFork);
    int16_t Close();
    int16_t Flush();
    int16_t GetData(void* buffer, uint32_t* count);
    int16_t PutData(const void* buffer, uint32_t count);
    int16_t SetPos(int64_t position, bool fromStart);
    int16_t GetSize(ForkType fork, int64_t* size);
    int16_t SetSize(int64_t size);
    int16_t ReadKindAndCreator(uint32_t* kind, uint32_t* creator);
    bool IsAliasFile();
    // The link's target as a new file or folder owned by the caller; null
    // for a broken link.
    VPath* ResolveAlias();

    int16_t GetForkRefNum() const { return fForkRef; }
    // Records a failure of our own making (an item too large, ...).
    int16_t Fail(int16_t osErr) { return MapFileError(osErr, fErrorStack); }

private:
    VFile* fOwner;
    int16_t fForkRef = 0;
    VFileErrorStack* fErrorStack = nullptr;
};
