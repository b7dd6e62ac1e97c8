// Structure and library documents. A structure document opens the
// structure's files, has its objects read into per-kind lists, shows them in
// browser windows and keeps the structure's general documentation. A
// library document is one the program makes itself: it lives in a working
// file beside the preferences file until the user saves it somewhere.
//
// The document functions of the design layer (opening, reading, creating
// and copying documents) are reached through DocHooks (app/documents/DocHooks.h).
#pragma once

#include <cstdint>
#include <functional>

#include "app/appl/AppObjects.h"
#include "platform/textedit/TextEdit.h"

struct TypeListRec;
class TObjQz;
class IModuleManager;  // the component manager's interface
class TRefWindow;

class TMainDoc : public TDocument {
public:
    bool IsMember(int16_t classNumber) const override { return classNumber == 2 || TDocument::IsMember(classNumber); }
    int16_t InitDocument(const unsigned char* name, TAppl* appl) override;
    int16_t Dispose() override;
    int16_t Read(const platform::FSSpec& fileSpec, bool remote, bool flag) override;
    void MakeActive() override;
    void MakeInActive() override;
    void IdleDoc() override;
    int16_t Do_If_MyFunc(int16_t command) override;

    virtual int16_t OpenFile(const platform::FSSpec& fileSpec);
    virtual int16_t ReadFile(bool flag);
    virtual void CloseFile();
    // 1001 when an editor refused to close.
    virtual int16_t CloseDocumetation();
    // The document read again from its files, every window letting go of
    // the objects first. The editors close before (1001 when one refuses),
    // unless `rebindEditors` is given: then they stay open, and it is
    // called once the read has made the objects, to point each editor at
    // its own (design/objects/OpenEditors.h).
    virtual int16_t Reparse(const std::function<void()>& rebindEditors = nullptr);

    // Browser windows and the fan-out of display changes to them.
    virtual int16_t CountRefWindow() const;
    virtual TRefWindow* GetRefWindow() const;
    void RenumberRefWindows() override;
    int16_t NewRefWindow(platform::Rect* rect, int16_t visible, int16_t kind, int16_t filter, int16_t posted) override;
    virtual int16_t GetLinkWindow(TRefWindow* window, TRefWindow** linked, int16_t kind);
    virtual void DisplayObj(TRefWindow* window, TObjQz* obj, int16_t kind);
    virtual void SelectObj(TRefWindow* window, TObjQz* obj, int16_t kind);
    virtual void SelectObj(TObjQz* obj);
    virtual void SetCalledList(TRefWindow* window, TObjQz* obj, int16_t kind);
    virtual void SetCallingList(TRefWindow* window, TObjQz* obj, int16_t kind);
    virtual void UpdateOthers();
    virtual void UpdateList();
    void UpdateAll() override;
    virtual void UpdateDisplay();
    virtual void RazAll(platform::Handle list, bool flag);
    // Told before an object leaves the document, so that panes showing it
    // can let go of it.
    virtual void DelObjMsg(TObjQz* obj);

    // General documentation, its printing and export.
    virtual int16_t SaveHeader(int16_t refNum, bool raw);
    virtual void PrintHeader();
    virtual void PrintFooter();
    virtual void BreakPage();
    virtual int16_t WriteDoc(platform::TEHandle text);
    virtual int16_t ReadDoc(platform::TEHandle text, int16_t* state, bool* newText);
    virtual platform::Handle LockDoc(bool* lockedByOther);
    virtual void UnLockDoc();
    virtual int16_t PrintDoc();
    virtual int16_t SaveDoc(int16_t refNum);
    virtual bool IsDataBase() const { return true; }

    TypeListRec* fTypeList = nullptr;
    IModuleManager* fModuleManager = nullptr;  // null until components are read
    // The files OpenQzB answers: the companion resource file, the store
    // container (fResFile, which UseQzRes makes current), a third resource
    // file and the data file (the compiler declaration file the reader
    // opens); -1 when not open.
    int16_t fRsrFile = -1;
    int16_t fOtherFile = -1;
    int16_t fDataFile = -1;
    unsigned char fPassword[16]{};        // what OpenQzB accepted (15 characters at most)
    bool fCompilerDirty = false;          // string lists moved or plug-ins changed
    bool fBusy = false;                   // Reparse is running
    int32_t fPlugInDocFile = -1;          // plug-in documentation's file
    // The name is the document's own (TDocument::fName).

protected:
    // Closes the windows that are not browser windows until none is left.
    int16_t CloseOtherWindows();
    // The browser windows' title: path name, name and, with a number, the
    // separator and the number.
    void RefWindowTitle(unsigned char* title, int16_t number) const;
};

class TLibDoc : public TMainDoc {
public:
    bool IsMember(int16_t classNumber) const override { return classNumber == 3 || TMainDoc::IsMember(classNumber); }
    int16_t InitDocument(const unsigned char* name, TAppl* appl) override;
    int16_t Dispose() override;
    void SetWasModif() override;
    int16_t Write() override;
    void MakeActive() override;
    void MakeInActive() override;
    bool IsModuleDoc() const override { return fComponent; }
    int16_t OpenFile(const platform::FSSpec& fileSpec) override;
    int16_t ReadFile(bool flag) override;
    void CloseFile() override;
    bool IsDataBase() const override { return !fLibrary; }

    virtual int16_t InitFile();
    virtual void DelFile();
    // Opens a file of the program's own making, which no read follows: a
    // new working file, a saved copy, the working file again.
    int16_t OpenUnread(const platform::FSSpec& fileSpec);

    bool fLibrary = true;             // saved as an object library (else a structure)
    bool fComponent = false;          // saved as a component
    platform::Str255 fWorkName{};     // not empty: the document lives in its working file
    int16_t fUntitled = 0;            // the number of its untitled name
};

// The companion resource file of a document file (resources/Companion.h);
// an empty file record, naming no file, for a name that cannot have one.
platform::FSSpec CompanionSpec(const platform::FSSpec& fileSpec);
// `name` with the three-character extension `ext` in place of its own
// (appended when it has none).
std::string SetExtension(const std::string& name, const char* ext);
