// A VResourceFile over one open file of the platform resource manager: the
// application's own resources, the preferences file, older documents.
//
// Each operation makes its file current for the call and restores the
// previous current file before returning. On a file whose reference number
// is -1 every operation is a no-op answering 0, null, false or an empty
// string (Save answers 401); the handle operations work on the handle alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/foundation/VStack.h"

// Save's answer for a file that is not valid.
constexpr int16_t kResFileNotValid = 401;

class VMacResFile : public VResourceFile {
public:
    explicit VMacResFile(int16_t refNum);
    // Saves a valid file; closes it when close on destruction is set.
    ~VMacResFile() override;

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
    bool IsValid() const override { return fRefNum != -1; }
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

    // Look-ups through the whole chain of open files rather than this one.
    void SetSearchChain(bool searchChain) { fSearchChain = searchChain; }
    bool GetSearchChain() const { return fSearchChain; }
    void SetCloseOnDestruction(bool close) { fCloseOnDestruction = close; }
    bool GetCloseOnDestruction() const { return fCloseOnDestruction; }
    int16_t GetRefNum() const { return fRefNum; }

    // The ids, names and types behind the lists, in index order.
    std::vector<int16_t> CollectResourceIDs(uint32_t type);
    std::vector<std::string> CollectResourceNames(uint32_t type);
    std::vector<uint32_t> CollectKinds();

private:
    char** LookUp(uint32_t type, int16_t id);
    char** LookUpNamed(uint32_t type, const uint8_t* name);
    char** LookUpIndexed(uint32_t type, int16_t index);
    // Forgets the string list GetString keeps when it is this handle.
    void Forget(char** handle);

    bool fSearchChain = false;
    int16_t fRefNum;
    VWordStack fSavedFiles;
    bool fCloseOnDestruction = false;
};

// Makes its saved reference number the current resource file again when
// it goes out of scope.
class StResFileSetter {
public:
    // Keeps the current file; with a reference number also makes it current.
    StResFileSetter();
    explicit StResFileSetter(int16_t refNum);
    ~StResFileSetter();
    StResFileSetter(const StResFileSetter&) = delete;
    StResFileSetter& operator=(const StResFileSetter&) = delete;

private:
    int16_t fSaved;
};
