// The toolbox's abstract resource file: resources named by a four-character
// type and a 16-bit id, with an optional name, plus string look-up in 'STR#'
// lists. VMacResFile implements it over the platform resource manager; the
// host's design resource file implements it over the host entry.
//
// The order of the virtual operations is part of the interface: every
// implementation fills the same slots.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VString.h"

class VArrayLong;
class VArrayWord;
class VArrayString;

// Converts a resource's contents between byte orders (flag, resource type,
// value, data); installed by subclasses that need it.
using SwapResourceProcPtr = bool (*)(uint8_t flag, uint32_t type, int32_t value, void* data);

class VResourceFile : public VObject {
public:
    VResourceFile();
    ~VResourceFile() override;
    VResourceFile(const VResourceFile&) = delete;
    VResourceFile& operator=(const VResourceFile&) = delete;

    // Adds a resource holding a copy of size bytes of data (zero-filled
    // when data is null) under the name (none when null). Id -1 picks a
    // free id; an existing resource of that id is replaced. The id, or -1.
    virtual int16_t CreateResource(uint32_t type, int16_t id, const VString* name, const void* data,
                                   int32_t size) = 0;
    // CreateResource with the handle's bytes; the handle is disposed and
    // the caller's reference cleared.
    virtual int16_t AddResource(char**& handle, uint32_t type, int16_t id, const VString* name);
    virtual bool DeleteResource(uint32_t type, const VString& name) = 0;
    virtual bool DeleteResource(uint32_t type, int16_t id) = 0;
    virtual bool DeleteResource(char** handle) = 0;
    // *loaded, when given, is cleared.
    virtual char** GetResource(uint32_t type, int16_t id, uint8_t* loaded = nullptr) = 0;
    // A name that is the decimal text of a number names that id.
    virtual char** GetResource(uint32_t type, const VString& name, uint8_t* loaded = nullptr) = 0;
    // -1 when there is no such resource.
    virtual int16_t GetResourceID(uint32_t type, const VString& name) = 0;
    virtual int16_t GetResourceID(uint32_t type, const char* name) = 0;
    virtual int16_t GetResourceID(uint32_t type, const uint8_t* name) = 0;
    virtual int16_t GetResourceID(uint32_t type, int16_t index) = 0;
    virtual int16_t GetResourceID(char** handle) = 0;
    // New lists owned by the caller; null when there is nothing to list.
    virtual VArrayLong* GetKindsList() = 0;
    virtual int16_t GetUniqueID(uint32_t type) = 0;
    virtual VArrayString* GetResourceListNames(uint32_t type) = 0;
    virtual VArrayWord* GetResourceListIDs(uint32_t type) = 0;
    virtual void ReleaseResource(char** handle) = 0;
    virtual void ReleaseResource(uint32_t type, int16_t id) = 0;
    // Writes the changes; 0, the error, or 401 when the file is not valid.
    virtual int16_t Save() = 0;
    // 1-based index.
    virtual char** GetResourceByIndex(uint32_t type, int16_t index, uint8_t* loaded = nullptr) = 0;
    // Empty when the resource is missing.
    virtual void GetResourceName(VString& name, char** handle) = 0;
    virtual void GetResourceName(VString& name, uint32_t type, int16_t id) = 0;
    virtual bool IsValid() const = 0;
    virtual int16_t CountResources(uint32_t type) = 0;
    // Reloads a purged resource and locks it; its data.
    virtual char* LockResHandle(char** handle) = 0;
    virtual void UnlockResHandle(char** handle) = 0;
    virtual int32_t GetResHandleSize(char** handle) = 0;
    // Whether the handle now holds at least size bytes.
    virtual bool SetResHandleSize(char** handle, int32_t size) = 0;
    // The resource's handle as an ordinary handle of the caller; null on error.
    virtual char** DetachResHandle(char** handle) = 0;
    virtual void SaveResource(char** handle) = 0;
    virtual char** GetResource(uint32_t type, const uint8_t* name, uint8_t* loaded = nullptr) = 0;
    virtual char** GetResource(uint32_t type, const char* name, uint8_t* loaded = nullptr) = 0;
    // The size on disk; 0 when missing.
    virtual int32_t GetResourceSize(uint32_t type, int16_t id) = 0;
    // Removes every resource of the type; whether all removals succeeded.
    virtual bool DeleteResources(uint32_t type) = 0;
    virtual void SetResourceName(uint32_t type, int16_t id, const VString& name) = 0;
    virtual bool ResourceExists(uint32_t type, int16_t id) = 0;
    // Make this file the default one and back; nothing here.
    virtual void SaveAndSetDefault();
    virtual void RestoreDefault();
    virtual CharSet GetCharSet() const = 0;
    // Installs the procedure; answers the previous one.
    virtual SwapResourceProcPtr SetSwapResourceProc(SwapResourceProcPtr proc);

    // The index-th string (1-based) of 'STR#' listId, Mac Roman; empty when
    // the list or the item is missing. Index 0 or less reads 'STR ' listId.
    // The last list read stays loaded, so walking one list loads it once.
    void GetString(VString& result, int16_t listId, int16_t index);
    // ":n,m" is GetString(n, m), ":n" GetString(n, 0); any text not opening
    // with ':' is the result itself, in the file's character set.
    void MakeString(VString& result, const uint8_t* text);

    // The list GetString keeps loaded (null when none) and its id (-1).
    char** GetCachedStringList() const { return fCachedList; }
    int16_t GetCachedStringListID() const { return fCachedListID; }

protected:
    // For subclasses that close or reload the file under the cache.
    void ForgetCachedStringList();

    SwapResourceProcPtr fSwapProc = nullptr;

private:
    char** fCachedList = nullptr;
    int16_t fCachedListID = -1;
};

// The toolbox resource file, the application's own resources; null until
// start-up sets it. Not owned here.
extern VResourceFile* gResFile;
