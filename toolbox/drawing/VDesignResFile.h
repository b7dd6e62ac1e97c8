// The host's design resources as a VResourceFile: every operation goes
// through the host entry or the host's resource hooks. On a file whose
// design reference is -1 (the host named none) every operation is a no-op
// with its neutral answer (0, null, false; -1 from CreateResource, 401 from
// Save).
#pragma once

#include <cstdint>

#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/foundation/HostParm.h"
#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VStack.h"

// Selectors of the host entry sent by the design file.
constexpr int16_t kSelDesignCreateResource = -310;
constexpr int16_t kSelDesignReleaseResource = -314;
constexpr int16_t kSelDesignDetachResHandle = -315;
constexpr int16_t kSelDesignSaveResource = -316;
constexpr int16_t kSelDesignLockResHandle = -322;
constexpr int16_t kSelDesignResLoad = -323;
constexpr int16_t kSelDesignGetKindsList = -326;
constexpr int16_t kSelDesignCloseFile = -343;
constexpr int16_t kSelDesignOpenFile = -347;
constexpr int16_t kSelDesignSave = -348;
constexpr int16_t kSelDesignSetDefault = -384;
constexpr int16_t kSelDesignUniqueID = -392;
constexpr int16_t kSelDesignReleaseHeld = -439;

// The host's resource hooks (a block and a flag, always 1). This host
// serves none of them: each leaves the block as it is.
void V_CountResources(parm* block, uint8_t flag);
void V_GetResourceInfo(parm* block, uint8_t flag);
void V_SetResourceName(parm* block, uint8_t flag);
void V_DeleteResource(parm* block, uint8_t flag);
void V_GetResource(parm* block, uint8_t flag);
void V_GetIndexedResource(parm* block, uint8_t flag);
void V_GetResourceIDsList(parm* block, uint8_t flag);
void V_GetResourceNamesList(parm* block, uint8_t flag);

class VDesignResFile : public VResourceFile {
public:
    // Asks the host for its design file and second file.
    VDesignResFile();
    ~VDesignResFile() override;

    int16_t CreateResource(uint32_t type, int16_t id, const VString* name, const void* data,
                           int32_t size) override;
    using VResourceFile::AddResource;
    bool DeleteResource(uint32_t type, const VString& name) override;
    bool DeleteResource(uint32_t type, int16_t id) override;
    bool DeleteResource(char** handle) override;
    char** GetResource(uint32_t type, int16_t id, uint8_t* loaded = nullptr) override;
    char** GetResource(uint32_t type, const VString& name, uint8_t* loaded = nullptr) override;
    int16_t GetResourceID(uint32_t type, const VString& name) override;
    int16_t GetResourceID(uint32_t type, const char* name) override;
    int16_t GetResourceID(uint32_t type, const uint8_t* name) override;
    int16_t GetResourceID(uint32_t type, int16_t index) override;
    int16_t GetResourceID(char** handle) override;
    VArrayLong* GetKindsList() override;
    int16_t GetUniqueID(uint32_t type) override;
    VArrayString* GetResourceListNames(uint32_t type) override;
    VArrayWord* GetResourceListIDs(uint32_t type) override;
    void ReleaseResource(char** handle) override;
    void ReleaseResource(uint32_t type, int16_t id) override;
    int16_t Save() override;
    char** GetResourceByIndex(uint32_t type, int16_t index, uint8_t* loaded = nullptr) override;
    void GetResourceName(VString& name, char** handle) override;
    void GetResourceName(VString& name, uint32_t type, int16_t id) override;
    bool IsValid() const override { return fDesignRef != -1 && fSecondRef != -1; }
    int16_t CountResources(uint32_t type) override;
    char* LockResHandle(char** handle) override;
    void UnlockResHandle(char** handle) override;
    int32_t GetResHandleSize(char** handle) override;
    bool SetResHandleSize(char** handle, int32_t size) override;
    char** DetachResHandle(char** handle) override;
    void SaveResource(char** handle) override;
    char** GetResource(uint32_t type, const uint8_t* name, uint8_t* loaded = nullptr) override;
    char** GetResource(uint32_t type, const char* name, uint8_t* loaded = nullptr) override;
    int32_t GetResourceSize(uint32_t type, int16_t id) override;
    bool DeleteResources(uint32_t type) override;
    void SetResourceName(uint32_t type, int16_t id, const VString& name) override;
    bool ResourceExists(uint32_t type, int16_t id) override;
    void SaveAndSetDefault() override;
    void RestoreDefault() override;
    CharSet GetCharSet() const override { return kCharSetMac; }

    int16_t GetDesignRef() const { return fDesignRef; }
    int16_t GetSecondRef() const { return fSecondRef; }
    int32_t CountHeldHandles() const { return fHeld.GetCount(); }

private:
    bool NoFile() const { return fDesignRef == -1; }
    // A block addressed to the design file.
    parm Block() const;
    // Fetches through a hook; records a handle loaded for a caller who
    // asked whether it was loaded before.
    char** Fetch(parm& block, void (*hook)(parm*, uint8_t), uint8_t* loaded);
    char** FetchNamed(uint32_t type, const uint8_t* name, uint8_t* loaded);
    int16_t IDFromInfo(parm& block);
    void Forget(char** handle);
    platform::Handle IDList(uint32_t type);

    VWordStack fDefaults;
    int16_t fDesignRef = -1;
    int16_t fSecondRef = -1;
    bool fOpenedItself = false;
    VArrayListOf<char**> fHeld;
};
