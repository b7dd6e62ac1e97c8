// The platform part of a folder: creation, special folders and directory ids.
#pragma once

#include "toolbox/files/VMacFileObject.h"

class VFolder_Mac : public VFileObject_Mac {
public:
    explicit VFolder_Mac(VFolder* owner);
    ~VFolder_Mac() override;

    using VFileObject_Mac::Init;
    virtual int16_t Init(eFolderKind kind);
    // The folder with that id on that volume, or the item `name` in it; the
    // name is kept whole. A name opening with ':' is a path relative to the
    // folder (":Sub:Folder:", "::" climbing one level); one holding ':'
    // elsewhere is a full path.
    virtual int16_t Init(int16_t vRefNum, int32_t dirID, const VString& name);

    int16_t _Create() override;
    VObject* _GetOwner() override;

    // Both answers may be null; with resolveAlias a link is followed first
    // and must lead to a folder (-50).
    int16_t GetDirectoryID(int32_t* dirID, int16_t* vRefNum, bool resolveAlias);

private:
    VFolder* fOwner;
};
