// The panes of the browser windows. The pane base places a pane by percent
// of its window, draws it with a saved and restored port state and gives
// it split bars on its top and left edges. The object list pane adds a
// list of design objects with a header, filters, keys and the object
// commands; the main list fills its rows from the whole document, kind
// after kind, with groups and tables that open to show their members.
//
// The classes keep the names the rest of the system knows them by; they
// live in the namespace `browser` because the application's abstract pane
// (::TPlan) is their root.
#pragma once

#include <cstdint>
#include <vector>

#include "app/appl/AppObjects.h"
#include "app/longlist/LongList.h"
#include "design/objects/ObjList.h"
#include "design/objects/OutputOptions.h"
#include "platform/files/FileTypes.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

class TMainDoc;
class TObjQz;
struct WaitParamRec;

namespace browser {

// The rectangle `percent` (0 to 100 each) describes inside `bounds`.
void SizedRect(platform::Rect* out, const platform::Rect* bounds, const platform::Rect* percent);

class TPlan : public ::TPlan {
public:
    bool IsMember(int16_t n) const override { return n == 0; }
    int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                    int32_t length) override;
    virtual void InitDraw();
    virtual void RestoreDraw();
    void Dispose() override;
    void MakeActive() override;
    void MakeInActive() override;
    virtual void WDrawControls() {}
    virtual void WHiliteControls(bool on) { (void)on; }
    virtual void WKillControls() {}
    // The bars on the pane's left and top edges (browser/SplitDrags.cpp).
    virtual void DragHSplit(platform::Point where, const platform::Rect& bar);
    virtual void DragVSplit(platform::Point where, const platform::Rect& bar);
    void Resize() override;
    virtual void DrawSelect(bool on);
    void DeSelectPlane() override;
    void SelectPlane() override;
    void update() override;
    virtual void DragCellSelect(bool on) { (void)on; }
    bool DragCell(platform::Point globalWhere) override;
    // A global point in the coordinates of the pane's window (it has one).
    platform::Point ToLocal(platform::Point global) const;
    bool Click(platform::Point where, int16_t clicks) override;
    virtual void GetSplitRect(platform::Rect* leftBar, platform::Rect* topBar) const;
    virtual platform::Rect GetWRect() const;
    bool Idle() override;
    void UpdateAll() override { update(); }

    // The window's port bounds (empty without a window).
    platform::Rect PortBounds() const;
    // The document of the pane's window, when it is a structure or library.
    TMainDoc* Doc() const;

    platform::Rect fLayout{0, 0, 100, 100};
    platform::Rect fRect{0, 0, 0, 0};
    int16_t fDepth = 0;
    platform::RgnHandle fSavedClip = nullptr;
    platform::PenState fSavedPen{};
    bool fHilited = false;
    // The last click fell on a split bar: no later handler takes it.
    bool fBarHit = false;
};

// A filter id: a record of the preferences, or one of the pseudo filters.
enum : int16_t { kSearchFilter = -1, kTitledFilter = -2, kNarrowedFilter = -3, kDefaultFilter = 128 };

class TRefPlane : public TPlan {
public:
    bool IsMember(int16_t n) const override { return n == 1 || TPlan::IsMember(n); }
    int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                    int32_t length) override;
    void Dispose() override;
    // A command of the table (RunCommand), after which what follows the
    // highlighted rows is brought in line with them.
    int16_t Do_Func(int16_t command) override;
    int16_t RunCommand(int16_t command);
    void MakeActive() override;
    void MakeInActive() override;
    void Resize() override;
    void DrawSelect(bool on) override;
    void SelectPlane() override;
    void DeSelectPlane() override;
    void update() override;
    bool Click(platform::Point where, int16_t clicks) override;
    void key(const platform::EventRecord& event) override;
    bool Idle() override;
    void UpdateAll() override;
    void RazAll(platform::Handle list, bool flag) override;
    void UpdateList() override;
    void SetFilter(int16_t id) override { fFilter = id; }
    int16_t GetFilter() const override { return fFilter; }
    platform::Handle GetList() override { return reinterpret_cast<platform::Handle>(fList); }
    void SetDfltFilter(int16_t id) override;
    void AddMenuFilter(int16_t id) override;
    void ShowObject(TObjQz* obj) override;
    void SelectObj(TObjQz* obj) override;
    void DelObjMsg(TObjQz* obj) override;
    // Copies the selected rows' objects into `doc` (browser/TransferDrop.h);
    // option 1 brings what they use along.
    int16_t MoveQzObj(TDocument* doc, int16_t option) override;
    // The component commands 110-115 over the selected rows
    // (browser/TransferDrop.h hands them to the transfer layer).
    virtual void M_New();
    virtual void M_Properties();
    virtual void M_Generate();
    virtual void M_Delete();
    virtual void M_Install();
    virtual void M_UnInstall();

    virtual void SelectAll();
    virtual void SetGroupFunc(TObjQz* group, int16_t mode, bool enable);
    virtual void SwitchOpen(TObjQz* table);
    virtual void SwitchList(TObjQz* group, int32_t row);
    virtual void SwitchCellState(int32_t row) { (void)row; }
    virtual void GetBox(platform::Rect* list, platform::Rect* header, platform::Rect* popUp) const;
    virtual void FilterList(platform::Handle filter, bool exclude);
    virtual void MoreFilter(int16_t id, bool exclude);
    virtual void Edit();
    virtual void DelDoc();
    virtual void EditDoc();
    virtual void DeleteObj();
    virtual void SeltoList();
    // The text commands (browser/TRefPlaneText.cpp): the current row's
    // object renamed (51); a text (76) or a command's calls (78) replaced
    // in the selected objects; every row's literal texts moved into a
    // string list (50) and back (77). Each answers 0 or an error the
    // window is still to show.
    virtual int16_t Replace();
    virtual int16_t ReplaceTxt();
    virtual int16_t ReplaceCmd();
    virtual int16_t TxtToStr();
    virtual int16_t StrToTxt();
    // The naming commands only the main list offers (58, 59, 75).
    virtual void Prefix() {}
    virtual void Sel_Replace() {}
    virtual void ScaleLayout() {}
    // The group commands (browser/TRefPlaneGroups.cpp): an empty group
    // (71), a group of the selected objects (70) or of those with what they
    // use (72), the selected group taken apart (73); the selected rows
    // dropped on row `cell` of `target`, a pane of the same document.
    virtual void NewGroup();
    virtual void MakeGroup();
    virtual void FullGroup();
    virtual void UnGroup();
    virtual void GroupQzObj(::TPlan* target, int32_t cell);
    // Make Group and Full Group: the group made of `objects` under the
    // wait dialog (`waitCount` steps), then selected; a failure is shown.
    void GroupAndSelect(TMainDoc* doc, const unsigned char* name, const std::vector<TObjQz*>& objects,
                        bool takeFromGroups, int32_t waitCount);
    // Commands 10 (print) and 7 (export) on the rows (browser/output/).
    int16_t Output(bool print) override;
    // The older format's section of the objects of `kind`; *failed names
    // the object whose own output failed.
    int16_t SaveObjList(int16_t file, int16_t kind, WaitParamRec* wait, TObjQz** failed);
    int16_t ExportList(TMainDoc* doc, const platform::FSSpec& destination, OutPutParmRec* parms);
    // Command 53: the criteria dialog, then SearchRows with its record.
    int16_t Search() override;
    // The rows narrowed by `record` (shownOnly) or made of the whole
    // document with it, flat; the wait's maximum is the work counted.
    void SearchRows(platform::Handle record, bool shownOnly, WaitParamRec* wait);
    int16_t PrintList(TMainDoc* doc, OutPutParmRec* parms);

    // The header's text: pane title, separator, filter title, row count.
    void HeaderText(unsigned char* out) const;
    // A pop-up choice (1-based item of the filter menu) with the modifiers
    // held at the click.
    void ChooseFilter(int16_t item, uint16_t modifiers);
    // Shows the object in the linked preview.
    void ShowInPreview(TObjQz* obj);
    // Makes `row` the only selected row, scrolled into view, and so the
    // current row (keys).
    void MoveCurrent(int32_t row);
    // Makes `first` the first visible row, within the list's bounds.
    void ScrollTo(int32_t first);

    // The record of the current filter: none for the pseudo filters and for
    // an id the preferences do not hold.
    platform::Handle CurrentRecord() const;
    // The current row: the one highlighted row, -1 when none or several
    // are. Its object is the current object, null when there is no current
    // row: what the single-object commands act on.
    int32_t CurrentRow() const;
    TObjQz* CurrentObject() const;
    // Brings what depends on the highlighted rows in line with them, once
    // they or the rows may have changed: here the commands on the current
    // object, when this pane is its window's current pane.
    virtual void FollowSelection();
    // The document's read-only state (clear without a document).
    bool ReadOnly() const;

    bool fDoubleClick = false;
    // The last click went on as a plain click on the rows (not on a
    // triangle, nor a drop).
    bool fRowClick = false;
    uint32_t fLastKey = 0;
    unsigned char fTypeAhead[16] = {};
    platform::Handle fSource = nullptr;
    LongListHandle fList = nullptr;
    int16_t fMenuCount = 0;
    int16_t fPrevFilter = kDefaultFilter;
    int16_t fFilter = kDefaultFilter;
    unsigned char fTitle[16] = {};
    unsigned char fFilterTitle[81] = {};
    platform::Handle fFilterMenu = nullptr;
    bool fNarrowing = false;
    // The preview link (a window number, or a pane when it is 0).
    int16_t fPreviewNumber = 0;
    ::TPlan* fPreview = nullptr;
};

class TLstPlane : public TRefPlane {
public:
    bool IsMember(int16_t n) const override { return n == 2 || TRefPlane::IsMember(n); }
    int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                    int32_t length) override;
    void RazAll(platform::Handle list, bool flag) override;
    void SetList(platform::Handle filter, platform::Handle list) override;
    void SwitchCellState(int32_t row) override;
    void SetLinks(int16_t usesNumber, ::TPlan* uses, int16_t usedByNumber, ::TPlan* usedBy, int16_t previewNumber,
                  ::TPlan* preview) override;
    void ShowObject(TObjQz* obj) override;
    void SelectObj(TObjQz* obj) override;
    void DelObjMsg(TObjQz* obj) override;
    // The where-used and uses panes show the current object's links (none
    // without one), and the menus follow the highlighted rows.
    void FollowSelection() override;
    bool Click(platform::Point where, int16_t clicks) override;
    void UpdateAll() override;
    void DeSelectPlane() override;
    void SelectPlane() override;
    void CopyList(platform::Handle list) override;
    // A prefix put in front of the selected objects' names (58), a text
    // replaced inside them (59), the selected forms scaled (75)
    // (browser/TLstPlaneNames.cpp).
    void Prefix() override;
    void Sel_Replace() override;
    void ScaleLayout() override;
    // Rows of another document dragged over the list make it the drop
    // target (G_Plane), its list highlighted (grey when read-only); rows
    // of the same document make the group row under the mouse the target
    // (G_Cell), unless the drop would put a group inside itself.
    void DragCellSelect(bool on) override;
    bool DragCell(platform::Point globalWhere) override;
    // The group row under the mouse highlighted as the target of rows of
    // the same document (G_Cell), or the highlight taken away.
    void DragRowSelect(bool on);
    // The list scrolled one row up (-1) or down (1) during a drag.
    void ScrollOneRow(int32_t step);

    virtual void DisableMenu();
    virtual void EnableMenu();

    // Whether the last rebuild stopped before its end (Stop, memory).
    bool fCutShort = false;
    int16_t fListNumber = 0;
    int16_t fUsedByNumber = 0;
    int16_t fUsesNumber = 0;
    ::TPlan* fUsedBy = nullptr;
    ::TPlan* fUses = nullptr;
    // The object whose links the where-used and uses panes were last
    // given, null once they were emptied.
    TObjQz* fShown = nullptr;

private:
    void EmptyLinked();
    void FillLinked(TObjQz* obj);
    // The rows changed: draws them, the header and the filter pop-up anew
    // and brings the menus in line.
    void ShowNewRows();
};

// The display order of the kinds in the main list, ended by -1.
struct TypeNum {
    int16_t kinds[29];
    int16_t index = 1;
    TypeNum();
    // The next kind, -1 at the end.
    int16_t Next();
};

// Selection predicates over a list whose rows hold design objects.
bool SelectionGroupable(LongListHandle list);
bool SelectionModulable(LongListHandle list);
bool SelectionPrefixable(LongListHandle list);
bool SelectionDoc(LongListHandle list);
bool SelectionX_able(LongListHandle list);
bool Selection_StrList(LongListHandle list);
bool Selection_Proc(LongListHandle list);
bool Selection_Layout(LongListHandle list);
bool Selection_TxtReplace(LongListHandle list);
bool Selection_ModuleProject(LongListHandle list);
bool Selection_Module(LongListHandle list);
// The first row holding `obj`, -1 when none.
int32_t GetCellData(const TObjQz* obj, LongListHandle list);

// The drawing procedure of the main list's rows (list definition 1001).
void ListProcIdProc(int16_t message, bool selected, const platform::Rect* cell, int32_t row, int32_t dataOffset,
                    LongListHandle list);
// The text of a row (without the id and member count), and its italic
// prefix (a local variable's owner).
void RowText(TObjQz* obj, unsigned char* prefix, unsigned char* text);

// The pane of a 'WNDD' kind: 0 the main list, others a plain pane for now.
::TPlan* MakeRefPlane(int16_t kind);
// Fills the application's pane and long-list hooks.
void InstallBrowserPanes();

// The menu commands, as the panes last set them: each call also reaches the
// application's menus, where a command without an item is left out.
void EnableFunc(int16_t command);
void DisableFunc(int16_t command);
bool CommandEnabled(int16_t command);

// The text of a row as drawn after its prefix: the kind's text, the id
// when ids are shown, a group's member count.
void DisplayText(TObjQz* obj, const unsigned char* text, unsigned char* out);

// Set while a filter chosen from a pop-up is applied.
extern bool G_Pop;
// Set while the group row under dragged rows refuses them.
extern bool G_SelfGroup;
extern bool G_ObjInGroup;

}  // namespace browser
