// The common base of files and folders: an item named by its full colon
// path (Vol:Folder:File; a folder's path ends with ':'), with a cached
// status (FileCodes.h). Nothing here throws; operations answer toolbox codes.
#pragma once

#include <cstdint>

#include "platform/files/FileTypes.h"
#include "toolbox/files/FileCodes.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VText.h"

class VFolder;

class VPath : public VObject {
public:
    VPath();
    VPath(const VPath& source);
    VPath(const uint8_t* cPath, CharSet set);
    // The folder's path followed by the name.
    VPath(const VFolder& folder, const VString& name);
    explicit VPath(const VString& path);
    ~VPath() override;
    VPath& operator=(const VPath&) = delete;

    virtual bool Exists() = 0;
    // Something stands at the path, but of the other kind.
    virtual bool ExistsButIsBad();
    virtual int16_t GetName(VString& name);
    virtual int16_t GetFullPath(VText& path) = 0;
    // A new folder owned by the caller, or null.
    virtual VFolder* GetParent() = 0;
    virtual bool IsAFolder() const = 0;
    virtual bool KeepExtension() const;
    virtual int16_t MAC_GetFSSpec(platform::FSSpec& fileSpec) = 0;
    virtual int16_t GetUnixPath(VText& path) = 0;
    virtual int16_t MakeWritableByAll() = 0;
    virtual bool IsWritableByAll() = 0;

    const VText& GetPath() const { return fPath; }
    void BuildPath(const VString& path);
    // The path as a C string of at most size bytes (with its terminator) in
    // Mac Roman (0), Windows ANSI (1) or UTF-8 (3).
    void BuildPath(uint8_t* buffer, int32_t size, CharSet set) const;
    // Asks Exists first while the status is unknown.
    int32_t GetStatus();
    // ".txt" for Vol:Doc.txt; empty for a folder and for a name without '.'.
    void GetExtension(VString& extension);
    // The name, with the extension text after a '.' when one is set.
    void GetFileNameWithExtention(VString& name);

    // The path without its last name (format: the separator); empty when
    // the path holds no separator but a trailing or leading one.
    static void GetParentPath(const VString& path, VText& parent, PathFormat format);
    // The last name: File for Vol:Folder:File, Folder for Vol:Folder:.
    static void GetTargetName(const VString& path, VString& name);

protected:
    int32_t fStatus = kPathUnknown;
    VText fPath;
    VText fExtension;
};

// The name after the last ':'; with ignoreTrailingColon a final ':' is
// dropped first. `unused` is kept for the callers' sake.
void NameFromFullPath(const VString& path, VString& name, int32_t unused, bool ignoreTrailingColon);
