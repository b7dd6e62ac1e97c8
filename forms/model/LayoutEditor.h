// The form model: one form in memory, read from its 'FOQz' resource, with
// its properties (LayoutInfo), its pages of form objects, the current page,
// its look and what showing it needs. The structure documents make one to
// convert, scale, preview and copy a form; a short-lived one renders
// another form (an inherited form, a subform).
//
// Pages: the page table (PageTable.h) holds each page's chain; the chain of
// the current page lives in fFirst and fLast and is written back into the
// table (StoreCurrentPage) before the table is used as a whole. Page 0
// holds the objects shown on every page.
//
// The form objects reach their model through the hook table of
// forms/objects/FormModelHooks.h: InstallFormModelHooks fills it (the
// program at start-up; a model also fills an empty table when it is made).
// Drawing (previews, the inherited form's picture) is in forms/drawing
// (FormPreview); copying to the scrap is here (LayoutCopy.cpp), its picture
// asked of the preview proc.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "forms/kernel/KernelForm.h"
#include "forms/layout/LayoutInfo.h"
#include "forms/layout/FormContainer.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/textedit/TextEdit.h"
#include "platform/windows/Windows.h"
#include "toolbox/foundation/VObject.h"

class LayoutObject;
class VI_Handler;
class VScrap;

// The open form models.
extern int32_t gNbEditors;

// DoCopy's answer when the copy restriction refused.
constexpr int16_t kCopyRefused = 1;

// InsertObject's "after the last object".
inline LayoutObject* const kAfterLastObject = reinterpret_cast<LayoutObject*>(intptr_t(-1));

class LayoutEditor : public VObject {
public:
    // The form `formId` of resource file `resFile` (0: the structure's own,
    // else the current one); `secondId` 0 reports the form id as the form's
    // number.
    LayoutEditor(int16_t formId, int16_t secondId, int16_t resFile);
    ~LayoutEditor() override;
    LayoutEditor(const LayoutEditor&) = delete;
    LayoutEditor& operator=(const LayoutEditor&) = delete;

    // Reads the form (chunk file; paged flat layout, byte 13; the oldest
    // flat layout) and sets the access flags. True when it read whole; a
    // flat form that did not is left one empty page, a chunk file without
    // pages.
    bool ReadLayout();
    // Writes the form into h (the current page stored first, the entry
    // order sorted again when asked); false at the first error.
    bool PackFormat(platform::Handle h, bool resort);
    void SetCritRoot(platform::Handle tableFields) { fTableFields = tableFields; }
    platform::Handle CritRoot() const { return fTableFields; }

    // Pages. -1 asks the user (string list 679, item 2; the current page as
    // default; cancel changes nothing); a page past the last is the last,
    // a negative one page 1. The flag is not used.
    void GotoPage(int16_t page, int16_t flag);
    // The first object of the page (-1: the current one); outside the table
    // "Page is invalid!" shows (once until another model reports) and the
    // answer is null.
    LayoutObject* GetFirstOfPage(int16_t page);
    // Objects counted with groups opened: of every page, or of one page
    // (past the last: the last; negative: page 1).
    int32_t CountObjects();
    int32_t CountPageObjects(int16_t page);
    // Into the current page's chain after `after` (kAfterLastObject: at the
    // end; null: at the head), or out of it (the object is not deleted).
    void InsertObject(LayoutObject* object, LayoutObject* after);
    void RemoveObject(LayoutObject* object);
    // Every page and object deleted; first, last and current page 0.
    void DestroyPages();
    int16_t LastPage() const;
    int16_t CurrentPage() const { return fCurrentPage; }
    LayoutObject* FirstObject() const { return fFirst; }
    // The table with the current page's chain written back.
    platform::Handle Pages();

    // The entry order: fields, entry variables, subforms, list boxes and
    // groups holding any, sorted by rows (tops within 4 pixels) then left
    // edges; of every page, or of the selected objects of the current page.
    void TriZone(bool selectedOnly);

    // The form's size: the size object's far corner, or the horizontal and
    // vertical sizes, or the largest page (640 x 480 without objects), each
    // sum held to 32767. A page's objects count up to `reach` each way; one
    // that lies wholly at or past it does not count at all.
    void MakeLimits(VisitedForms* visited, int16_t reach = 32767);
    void GetPageDimensions(int16_t* width, int16_t* height, LayoutObject* first, VisitedForms* visited,
                           int16_t reach = 32767);
    int16_t FormWidth() const { return fFormWidth; }
    int16_t FormHeight() const { return fFormHeight; }

    // Every object of every page scaled, and the horizontal and vertical
    // sizes (value x percent / 100, toward zero).
    void Brz_DoScale(int16_t percent, uint8_t flag);

    // Drawing (forms/drawing/FormPreview.cpp). The inherited form's picture
    // is built once (xLoadBaseForm; nothing for a form already in `visited`,
    // which then holds it) and drawn behind the form with its frame moved by
    // (dh, dv); its size is 0 x 0 without one. BuildPreview records the
    // current page in its look (FormPreview.h's display types), each side
    // held to 4000; null when memory runs out.
    void xLoadBaseForm(VisitedForms* visited);
    void GetBaseFormSize(int16_t* width, int16_t* height);
    void DrawBaseForm(int16_t dh, int16_t dv);
    platform::Handle BuildPreview(int16_t displayType, VisitedForms* visited);

    // Form coordinates to the window's.
    int16_t FormToScreen(int16_t c, bool horizontal);
    platform::Point FormToScreen(platform::Point p);

    // Copies the selected objects of the current page, or all of them, to
    // `scrap` (null: the system clipboard, emptied first): 'OBQz' the
    // objects as a FORM 'OBJS', 'PICT' their picture (system clipboard
    // only, when a preview proc is installed), 'ObLQ' `copyRecord` (16
    // bytes) or this form's source record. An active text editor of the
    // form takes the copy instead. False when nothing was put: the copy
    // restriction refused (alert list 809, item 2), a chunk could not be
    // written (fCopyError -36) or a method could not be read (the store's
    // error); the clipboard is then as it was.
    bool DoCopy(bool allObjects, VScrap* scrap, const uint8_t* copyRecord);

    // Access after ReadLayout.
    bool LockObtained() const { return fLockObtained != 0; }
    bool EditableByVersion() const { return fEditableByVersion != 0; }
    bool MayModify() const { return fMayModify != 0; }

    // Methods renamed with their variables (id, new name), for the owner.
    const std::vector<std::pair<int16_t, std::string>>& RenamedMethods() const { return fRenamedMethods; }

    // --- the form-object seam (FormModelHooks.h) ------------------------------
    bool EachObjectChain(bool (*visit)(LayoutObject* first, void* context), void* context);
    int16_t MethodFile() const;
    void RenameObjectMethod(int16_t methodId, const unsigned char* name);
    void MarkChanged() { fChanged = 1; }
    bool Changed() const { return fChanged != 0; }

    int16_t fSecondId;
    int16_t fFormId;
    int16_t fResFile;
    platform::Handle fTableFields = nullptr;  // not owned
    LayoutObject* fFirst = nullptr;
    LayoutObject* fLast = nullptr;
    platform::WindowRef fWindow = nullptr;
    int16_t fScrollH = 0, fScrollV = 0;
    int16_t fFormWidth = 0, fFormHeight = 0;
    int16_t fCurrentPage = 0;
    int16_t fOffset = 0;
    platform::Handle fPages = nullptr;
    platform::Rect fContentRect{};
    LayoutObject* fObjectList = nullptr;  // objects outside the pages
    int16_t fLookNumber = 0;
    VI_Handler* fLookHandler = nullptr;
    platform::TEHandle fTextEditor = nullptr;  // not owned
    uint8_t fTextEditorActive = 0;
    int32_t fCounters[kNamingCounters] = {};
    LayoutInfo fInfo;
    uint8_t fLockObtained = 0, fEditableByVersion = 0, fMayModify = 0;
    uint8_t fOverride = 0;
    uint8_t fCopyRestriction = 0;  // refuse to copy objects with object methods
    int16_t fCopyError = 0;        // of the last DoCopy; kCopyRefused by the restriction
    platform::Handle fBaseFormPicture = nullptr;  // owned
    double fZoom = 1.0;
    platform::Handle fPrintRecord = nullptr;      // owned
    platform::Handle fWork = nullptr;             // owned

private:
    void StoreCurrentPage();
    void LoadCurrentPage();
    // The chain of a page, the current one as it stands now.
    LayoutObject* ChainOf(int32_t page);
    // Reads the flat layouts; false when a record did not fit.
    bool ReadFlat(char* data, int32_t size, bool paged);
    void EmptyOnePage();

    uint8_t fChanged = 0;
    std::vector<std::pair<int16_t, std::string>> fRenamedMethods;
};

// The picture of a page (-1: the current one) or of its selected objects
// (their union moved to 0, 0), with page 0 and the inherited form when
// `background`; null when there is nothing to draw. The form drawing
// installs it; without it copies carry no picture.
using FormPreviewProc = platform::Handle (*)(LayoutEditor* model, int16_t page, bool selectedOnly, bool background);
void SetFormPreviewProc(FormPreviewProc proc);
FormPreviewProc GetFormPreviewProc();

// Fills FormModelHooks with the models' answers.
void InstallFormModelHooks();
// Asks for a page number: false on cancel. The prompt is item 2 of the
// application's string list 679.
bool AskPageNumber(int16_t current, int16_t* page);
