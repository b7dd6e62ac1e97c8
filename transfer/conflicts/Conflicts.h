// Conflict records: what one source object (or a member or used object of
// it) meets in the destination document, and how the copy will treat it.
// A record keeps the source, its destination counterpart (or null), the
// conflict code, the choice and the record it is chained under; the
// records that can hold members (TRConflict and below) keep a sub-list of
// chained records and the name the copy will bear.
//
// Records are made only by RecordConflict, ChainConflict and RecordC_Ref
// (ConflictRecording.h), owned by the list they are appended to and ended
// by Dispose, which frees the record (and, for TRConflict, its sub-list
// with its records first).
//
// Class numbers answered by IsMember: TConflict 0 (as TObject), TRConflict
// and every class below it also 1, the mark of a record that can hold a
// sub-list.
#pragma once

#include <cstdint>

#include "app/appl/AppObjects.h"
#include "design/objects/ObjList.h"
#include "platform/core/MacTypes.h"
#include "transfer/conflicts/ConflictList.h"

class TMainDoc;
class TObjQz;

class TConflict : public TObject {
public:
    // The slots in the order the conflict dialogs rely on.
    bool IsMember(int16_t classNumber) const override { return TObject::IsMember(classNumber); }
    virtual bool IsLayOutCopie() { return false; }
    virtual void init(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice);
    virtual void Dispose();
    // The items every conflict dialog shares; drawn by the dialogs' own code.
    virtual void DrawEditDialog(platform::DialogRecord* dialog) { (void)dialog; }
    // The copy that the choice asks for: true when the source joined the
    // transfer list. *err is -108 when memory ran out. What the source uses
    // is then gathered by MakeDfltCopy, which also visits the sub-list.
    virtual bool DfltCopy(TMainDoc* dest, ObjListHdl* transfer, C_ListHdl list, int16_t* err);
    virtual void C_Update(TConflict* parent, bool quiet);
    // The record's lines in an exported conflict list; written by the
    // conflict dialog's export.
    virtual int16_t Export(int16_t file) { (void)file; return 0; }
    void MajVis();
    virtual void DoMajVis();
    // The choice's own dialog: the base has none.
    virtual bool Edit(ObjListHdl* transfer, C_ListHdl list, TMainDoc* source, TMainDoc* dest)
    {
        (void)transfer, (void)list, (void)source, (void)dest;
        return false;
    }

    TObjQz* fSource = nullptr;
    TObjQz* fDest = nullptr;
    int16_t fCode = 0;
    int16_t fPrevChoice = 0;
    int16_t fChoice = 0;
    TConflict* fParent = nullptr;
    bool fVisible = true;
    bool fClicked = false;

protected:
    // Visibility by the record's own (code, choice) alone.
    bool OwnVisibility() const;
};

class TRConflict : public TConflict {
public:
    bool IsMember(int16_t classNumber) const override { return classNumber == 1 || TConflict::IsMember(classNumber); }
    bool IsLayOutCopie() override;
    void init(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice) override;
    void Dispose() override;
    int16_t Export(int16_t file) override { (void)file; return 0; }
    void DoMajVis() override;
    bool Edit(ObjListHdl* transfer, C_ListHdl list, TMainDoc* source, TMainDoc* dest) override
    {
        (void)transfer, (void)list, (void)source, (void)dest;
        return false;
    }
    // The rename dialog and its drawing, built with the conflict dialogs.
    virtual void Draw_GetNewNameDialog(platform::DialogRecord* dialog) { (void)dialog; }
    virtual bool GetNewNameDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest)
    {
        (void)list, (void)source, (void)dest;
        return false;
    }

    C_ListHdl fSubList = nullptr;
    unsigned char fNewName[34] = {};
};

// Tables and subtables.
class TFileConflict : public TRConflict {
public:
    void C_Update(TConflict* parent, bool quiet) override;
    virtual void Draw_FileLinkDialog(platform::DialogRecord* dialog) { (void)dialog; }
    virtual bool FileLinkDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest)
    {
        (void)list, (void)source, (void)dest;
        return false;
    }
};

// Fields. Its two link slots come in this order.
class TCritConflict : public TRConflict {
public:
    void C_Update(TConflict* parent, bool quiet) override;
    virtual bool CritLinkDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest)
    {
        (void)list, (void)source, (void)dest;
        return false;
    }
    virtual void Draw_CritLinkDialog(platform::DialogRecord* dialog) { (void)dialog; }
};

// Forms.
class TLayOutConflict : public TRConflict {
public:
    void C_Update(TConflict* parent, bool quiet) override;
    virtual void Draw_LayOutLinkDialog(platform::DialogRecord* dialog) { (void)dialog; }
    virtual bool LayOutLinkDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest)
    {
        (void)list, (void)source, (void)dest;
        return false;
    }
};

// Menu bars.
class TMBarConflict : public TRConflict {
public:
    virtual void Draw_MBarLinkDialog(platform::DialogRecord* dialog) { (void)dialog; }
    virtual bool MBarLinkDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest)
    {
        (void)list, (void)source, (void)dest;
        return false;
    }
};

// Classes that differ from TRConflict only by identity.
class TGroupConflict : public TRConflict {};
class TProcConflict : public TRConflict {};
class TListConflict : public TRConflict {};
class TBalloonConflict : public TRConflict {};
class TStrConflict : public TRConflict {};
class TExtConflict : public TRConflict {};
class TPackConflict : public TRConflict {};

namespace transfer {

// The destination's subtable that follows `destTable` (before the next
// table) and whose definition equals the subtable `sub`'s; null for none.
TObjQz* SearchEqualSubFile(TObjQz* destTable, TObjQz* sub);
// The field of `destTable` (before the next table, subtables and their
// fields left out) with the name and type code of `field`; null for none.
TObjQz* SearchEqualCrit(TObjQz* destTable, TObjQz* field);

}  // namespace transfer
