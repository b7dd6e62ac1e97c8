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
#include <vector>

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
    // The items every dialog of a choice shares: item 3 the source's full
    // name after its prefix, item 4 what the code means; the default button
    // framed.
    virtual void DrawEditDialog(platform::DialogRecord* dialog);
    // The copy that the choice asks for: true when the source joined the
    // transfer list. *err is -108 when memory ran out. What the source uses
    // is then gathered by MakeDfltCopy, which also visits the sub-list.
    virtual bool DfltCopy(TMainDoc* dest, ObjListHdl* transfer, C_ListHdl list, int16_t* err);
    virtual void C_Update(TConflict* parent, bool quiet);
    // Appends the record's lines to an exported conflict list
    // (transfer/dialogs/ConflictExport.h).
    virtual int16_t Export(std::vector<uint8_t>* out);
    void MajVis();
    virtual void DoMajVis();
    // Carries out the choice the user has just picked (a rename, a link,
    // a copy); true when the conflicts changed. The base has nothing to do.
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
    // Where AddC_List put the record: its list and 0-based place there.
    C_ListRec* fList = nullptr;
    int32_t fPlace = 0;

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
    // Then the records of its sub-list, shown or not.
    int16_t Export(std::vector<uint8_t>* out) override;
    void DoMajVis() override;
    // Rename (1) and copy (9); true for a copy.
    bool Edit(ObjListHdl* transfer, C_ListHdl list, TMainDoc* source, TMainDoc* dest) override;
    // The rename dialog (600): true when the user confirmed a name that no
    // object of the source's kind bears in the destination.
    virtual void Draw_GetNewNameDialog(platform::DialogRecord* dialog);
    virtual bool GetNewNameDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest);

    C_ListHdl fSubList = nullptr;
    unsigned char fNewName[34] = {};
};

// Tables and subtables.
class TFileConflict : public TRConflict {
public:
    void C_Update(TConflict* parent, bool quiet) override;
    // Rename, link to a table (8), copy; then the members follow. True.
    bool Edit(ObjListHdl* transfer, C_ListHdl list, TMainDoc* source, TMainDoc* dest) override;
    virtual void Draw_FileLinkDialog(platform::DialogRecord* dialog);
    // The link dialogs (601) answer true for OK, which sets the record's
    // destination to the object chosen (possibly none).
    virtual bool FileLinkDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest);
};

// Fields. Its two link slots come in this order.
class TCritConflict : public TRConflict {
public:
    void C_Update(TConflict* parent, bool quiet) override;
    // Link to a field of the parent's destination table (8), copy with
    // its table (12); then the members follow. True.
    bool Edit(ObjListHdl* transfer, C_ListHdl list, TMainDoc* source, TMainDoc* dest) override;
    virtual bool CritLinkDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest);
    virtual void Draw_CritLinkDialog(platform::DialogRecord* dialog);
};

// Forms.
class TLayOutConflict : public TRConflict {
public:
    void C_Update(TConflict* parent, bool quiet) override;
    // Rename, link to a form of the parent's destination table (8), copy;
    // true for a copy.
    bool Edit(ObjListHdl* transfer, C_ListHdl list, TMainDoc* source, TMainDoc* dest) override;
    virtual void Draw_LayOutLinkDialog(platform::DialogRecord* dialog);
    virtual bool LayOutLinkDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest);
};

// Menu bars.
class TMBarConflict : public TRConflict {
public:
    // Link to a menu bar (8), copy; true for a copy.
    bool Edit(ObjListHdl* transfer, C_ListHdl list, TMainDoc* source, TMainDoc* dest) override;
    virtual void Draw_MBarLinkDialog(platform::DialogRecord* dialog);
    virtual bool MBarLinkDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest);
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
