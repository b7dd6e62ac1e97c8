// A folder named by its colon path (always ending with ':').
#pragma once

#include "toolbox/files/VMacFolder.h"
#include "toolbox/files/VPath.h"


class VFolder : public VPath {
public:
    VFolder(const uint8_t* cPath, CharSet set);
    explicit VFolder(const VString& path);
    VFolder(const VFolder& source);
    explicit VFolder(const platform::FSRef& ref);
    // With volume and directory both 0 the name is the folder's path;
    // otherwise the item of that name in that directory (the directory
    // itself for an empty name), or the folder a relative path (":Sub:")
    // leads to from there. The name is Mac Roman, length-prefixed.
    VFolder(int16_t vRefNum, int32_t dirID, const uint8_t* pName = nullptr);
    // The same with a toolbox string, kept whole.
    VFolder(int16_t vRefNum, int32_t dirID, const VString& name);
    explicit VFolder(eFolderKind kind);
    ~VFolder() override;

    bool Exists() override;
    int16_t GetName(VString& name) override;
    int16_t GetFullPath(VText& path) override;
    VFolder* GetParent() override;
    bool IsAFolder() const override { return true; }
    int16_t MAC_GetFSSpec(platform::FSSpec& fileSpec) override;
    int16_t GetUnixPath(VText& path) override;
    int16_t MakeWritableByAll() override;
    bool IsWritableByAll() override;

    int16_t GetDirectoryID(int32_t* dirID, int16_t* vRefNum, bool resolveAlias = false);
    // A new folder for the item `name` inside this one; nothing is made on disk.
    VFolder* GetSubFolder(const VString& name) const;
    int16_t Create(bool replace);
    // Deletes every item inside (and inside sub-folders when recursive);
    // links are removed, never followed.
    int16_t DeleteContents(bool recursive);
    // Deletes the contents, then, unless keepFolder, the folder itself.
    int16_t Destroy(bool keepFolder);
    // Makes every missing folder of the path; the last one for the caller,
    // or null with the code in *err (when given).
    static VFolder* CreateRecursive(const VString& path, int16_t* err = nullptr);

    VFolder_Mac& MAC_GetFolder() { return fMac; }
    const VFolder_Mac& MAC_GetFolder() const { return fMac; }

private:
    VFolder(const VFolder& parent, const VString& name);
    void EndPathWithColon();
    void PathFromPlatform();

    VFolder_Mac fMac;
};
