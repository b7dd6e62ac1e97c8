// A structure or library document as the design objects see it: its
// per-kind object lists, its store files, its name. The document's own
// behaviour (opening, saving, windows) is built on this class elsewhere.
#pragma once

#include <cstdint>

#include "app/AppObjects.h"

struct TypeListRec;
class TObjQz;
class IModuleManager;  // the component manager's interface

class TMainDoc : public TDocument {
public:
    bool IsMember(int16_t classNumber) const override { return classNumber == 2 || TDocument::IsMember(classNumber); }
    // Told before an object leaves the document, so that panes showing it
    // can let go of it.
    virtual void DelObjMsg(TObjQz* obj) { (void)obj; }

    TypeListRec* fTypeList = nullptr;
    IModuleManager* fModuleManager = nullptr;  // null until components are read
    int16_t fRsrFile = -1;                     // the companion resource file
    int16_t fDataFile = -1;                    // the compiler declaration file, open for reading
    // The name is the document's own (TDocument::fName).
};
