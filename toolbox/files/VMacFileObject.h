// The platform part of a file or folder, and the only place where the file
// classes call the platform's file service. A part is either on disk,
// holding the reference of an existing item, or pending, holding the parent
// folder and the name of an item still to be made.
//
// Names given to and answered by a part are colon-path names (a POSIX ':'
// reads as '/'), converted to the UTF-8 of Linux names through the one
// colon-path mapping; they are never cut to a length-prefixed string.
#pragma once

#include <cstdint>

#include "platform/files/FileTypes.h"
#include "toolbox/files/FileCodes.h"
#include "toolbox/foundation/VFileError.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VText.h"

class VFolder;

// The toolbox code of a platform code. With a stack, a failure is also
// recorded there as "OSErr =" and the platform code.
int16_t MapFileError(int16_t osErr, VFileErrorStack* stack = nullptr);
// Records a platform failure in the stack as MapFileError does.
void RecordFileError(int16_t osErr, int16_t toolboxErr, VFileErrorStack* stack);

// The full colon path of an item (its folder's path and its name when it
// does not exist); answers 0 or the platform code, clearing the path on failure.
int16_t MAC_FSSpecToFullPath(const platform::FSSpec& fileSpec, VString& path);

class VFileObject_Mac : public VObject {
public:
    VFileObject_Mac();
    ~VFileObject_Mac() override;
    VFileObject_Mac(const VFileObject_Mac&) = delete;
    VFileObject_Mac& operator=(const VFileObject_Mac&) = delete;

    // From a colon path: on disk when the item exists, pending when its
    // folder does, else no place (-3).
    virtual int16_t Init(const VString& path);
    // The item `name` in the folder: on disk or pending; 208 when the
    // folder is not on disk.
    virtual int16_t Init(const VFolder& folder, const VString& name);
    virtual int16_t Init(const platform::FSSpec& fileSpec);
    virtual int16_t Init(const platform::FSRef& ref);
    // Adds the mode bits (add) or replaces the mode.
    virtual int16_t SetPermissions(uint16_t mode, bool add);
    virtual int16_t GetPermissions(uint16_t* mode);
    virtual int16_t _Create();
    virtual int16_t _Delete();
    virtual int16_t _Rename(const VString& name);
    virtual VObject* _GetOwner();

    // Copies the other part (its parent and name too).
    int16_t Init(const VFileObject_Mac& other);

    // Whether the item exists; a pending part whose item appeared turns on
    // disk, an on-disk part whose item vanished turns pending.
    virtual bool CheckIfExists(bool* isFolder = nullptr);
    bool IsOnDisk() const { return fOnDisk; }
    bool GetFSRef(platform::FSRef* ref) const;
    // The item's FSSpec, whether or not it exists; -43 when it has no place.
    int16_t GetFSSpec(platform::FSSpec* fileSpec) const;
    int16_t GetName(VString& name) const;
    VFolder* GetParent() const;
    bool GetHFSPath(VText& path) const;
    bool GetUnixPath(VText& path) const;

    static bool FSRefToHFSPath(const platform::FSRef& ref, VString& path);
    static bool FSRefToUnixPath(const platform::FSRef& ref, VString& path);
    static bool FSSpecToFSRef(const platform::FSSpec& fileSpec, platform::FSRef* ref);
    static bool FSSpecToUnixPath(const platform::FSSpec& fileSpec, VString& path);
    static bool FSSpecToHFSPath(const platform::FSSpec& fileSpec, VString& path);
    static bool HFSPathToFSRef(const VString& path, platform::FSRef* ref, bool* isFolder = nullptr);
    // A colon path to the reference of an existing item; the volume and
    // directory arguments are not used.
    static bool MAC_GetFSRefFromPath(int16_t vRefNum, int32_t dirID, const uint8_t* pPath, platform::FSRef* ref,
                                     bool* isFolder);

protected:
    void ClearPending();
    // Turns on disk with the reference.
    void SetOnDisk(const platform::FSRef& ref);
    // Turns pending in the folder (copied) under the name.
    void SetPending(const platform::FSSpec& folder, const std::string& posixName);
    // The item's POSIX name from a toolbox name; false when Linux cannot take it.
    static bool PosixName(const VString& name, std::string* posixName);

    VText* fName = nullptr;
    VFolder* fParent = nullptr;
    platform::FSRef fRef;
    bool fOnDisk = false;
};
