// The toolbox's editable text field: a frame that owns one native editor
// and keeps it at the frame's place in the window. It turns the toolbox's
// property bits into the editor's, applies styles to all text or to the
// selection, routes edit commands, keys, mouse, focus and drops, and builds
// the drag image of selected text. Its static DrawTextBox draws a string in
// a rectangle, aligned and cut with "..." when asked, through two shared
// hidden frames.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/views/NativeTextEditMac.h"
#include "toolbox/views/VDragDropProperties.h"
#include "toolbox/views/VFrame.h"

class VIntlMgr;
class VRect;
class VString;
class VText;

// Property bits: bit 2^k is native property k + 1 for k = 1 to 17, 2^18 is
// visibility, 2^19 to 2^23 are native properties 19 to 23.
using ENTE_properties = int32_t;
enum : int32_t {
    kEnteMultiline = 0x1,
    kEnteVScrollBar = 0x2,
    kEnteVAutoScroll = 0x4,
    kEnteHScrollBar = 0x8,
    kEnteHAutoScroll = 0x10,
    kEnteLeftScroll = 0x20,
    kEnteTransparent = 0x40,
    kEnteWantReturn = 0x80,
    kEnteRightToLeft = 0x100,
    kEntePassword = 0x200,
    kEnteReadOnly = 0x400,
    kEnteSunken = 0x800,
    kEnteTabbable = 0x1000,
    kEnteKeepSelection = 0x4000,
    kEnteAutoURL = 0x8000,
    kEntePrintVarFrame = 0x10000,
    kEnteEnabled = 0x20000,
    kEnteVisible = 0x40000,
    kEnteWordWrap = 0x80000,
    kEnteKept = 0x100000,
    kEnteMultiStyle = 0x200000,
    kEnteDragDrop = 0x400000,
    kEnteNoRedraw = 0x800000,
};
// 0 all text, 1 the selection.
using ENTE_selection = int16_t;
constexpr ENTE_selection kEnteAllText = 0;
constexpr ENTE_selection kEnteSelection = 1;
// 0 default, 1 left, 2 right, 3 centre.
using ENTE_justification = int16_t;

// The font id that shows a field's text as bullets.
constexpr int16_t kPasswordFontID = 102;

// What the frame's drop handler receives.
class VFrameTextEditDropInfo {
public:
    VFrameTextEditDropInfo() = default;
    virtual ~VFrameTextEditDropInfo() { delete[] fBytes; }
    VFrameTextEditDropInfo(const VFrameTextEditDropInfo&) = delete;
    VFrameTextEditDropInfo& operator=(const VFrameTextEditDropInfo&) = delete;

    int32_t fOffset = -1;         // the character offset under the drop point
    uint8_t* fBytes = nullptr;    // the dropped bytes, two zero bytes after them
    int32_t fLength = 0;          // without the two zeros
    NativeTypeText fKind = 0;
    bool fSameEditor = false;
    uint8_t fInfo[3] = {};        // from the drop's information
};

class VFrameTextEdit;
using VFrameTextEditDropHandler = int32_t (*)(VFrameTextEdit* frame, VFrameTextEditDropInfo& info, void* data);

class VFrameTextEdit : public VFrame {
public:
    // The point is not used.
    VFrameTextEdit(VView* parent, ENTE_properties properties, const VRect* rect, const VPoint* point = nullptr);
    ~VFrameTextEdit() override;

    NativeTextEditMac* GetEditor() const { return fEditor; }

    // --- the frame's slots ---
    void SetPos(int32_t x, int32_t y, RedrawMode mode) override;
    void SetSize(int32_t w, int32_t h, RedrawMode mode) override;
    // The editor follows the frame when a scrolled parent scrolls too.
    void UpdateCoords(bool parentScrolled) override;
    void DoPaint(VPainter* painter) override;
    // 0 when the editor took the key, 1 for keys it leaves (Tab and Return
    // of single-line fields, Escape, command keys...).
    int32_t DoKey(VKeySwitch& key) override;
    void DoCompositionDone() override { fChanged = true; }
    void DoLoseFocus(VFrame* newFocus) override;
    void DoTakeFocus() override;
    void DoIdle(bool) override;
    bool DoLeftMouse(VClic& clic) override;
    void DoHiliteDrop(VDragDropDragger* dragger, const VPoint& p, DropHiliteAction action,
                      DragDropInfo& info) override;
    bool CanAcceptDrop(VDragDropDragger* dragger, const VPoint& p) override;
    void DoDrop(VDragDropDragger* dragger, const VPoint& p, DragDropInfo& info) override;
    VDragDropProperties* GetDragDropProperties() override { return &fDragDropProperties; }

    // --- its own slots ---
    // The number of characters.
    virtual int32_t GetText(VString& text, int32_t from = 0, int32_t to = -1);
    virtual void DoCut();
    virtual void DoCopy();
    virtual void DoPaste();
    virtual void DoUndo();
    virtual bool CanUndo();
    virtual void DoRedo();
    virtual bool CanRedo();
    virtual void Clear(bool all);
    // Inserts text at offset and selects it; moved within this frame
    // (first flag set, third clear), the selection goes first.
    virtual void DropData(const VText& text, int32_t offset, bool moved, bool second, bool fromOther, bool fourth);
    virtual void DoMouse(VClic& clic);
    virtual void DoActivate(bool on);
    virtual void DoAdjustCursor();
    // The selected text as seen in the field, in a new 32-bit offscreen
    // world the caller disposes of; null without a selection or memory.
    virtual platform::GWorldPtr BuildImageForDrag();
    virtual void _SetText(const VString& text, bool replaceSelection);

    // --- properties ---
    void SetProperty(ENTE_properties property, int32_t value);
    int32_t GetProperty(ENTE_properties property) const;
    ENTE_properties GetProperties() const;
    static int32_t _ConvertToNativeFlags(ENTE_properties properties);

    // --- styles ---
    void SetFont(int16_t fontID, ENTE_selection selection);
    void SetFontSize(int32_t size, ENTE_selection selection);
    void SetBold(bool on, ENTE_selection selection);
    void SetItalic(bool on, ENTE_selection selection);
    void SetUnderLine(bool on, ENTE_selection selection);
    void SetStrikeOut(bool on, ENTE_selection selection);
    void SetTextColor(const platform::RGBColor& color, ENTE_selection selection);
    void SetTextColor(int32_t color, ENTE_selection selection);
    // 1 when the range is mixed (value untouched), else 0 with the value.
    int32_t GetBold(int16_t& value, ENTE_selection selection) const;
    int32_t GetItalic(int16_t& value, ENTE_selection selection) const;
    int32_t GetUnderLine(int16_t& value, ENTE_selection selection) const;
    void SetJustification(ENTE_justification justification, ENTE_selection selection);
    void _SetJustification(ENTE_justification justification, ENTE_selection selection);
    ENTE_justification GetJustification() const;

    // --- text ---
    void SetText(const VString& text, bool replaceSelection = false) { _SetText(text, replaceSelection); }
    void Select(int32_t start, int32_t end);
    void GetSelection(int32_t& start, int32_t& end) const;
    void GetTextBoxSize(int32_t& width, int32_t& height, const VString* text, bool = false);
    void SetDialect(DialectCode dialect);
    bool IsChanged() const { return fChanged; }
    void SetChanged(bool changed) { fChanged = changed; }
    void SetDropHandler(VFrameTextEditDropHandler handler, void* data)
    {
        fDropHandler = handler;
        fDropHandlerData = data;
    }
    // Draws the text (the frame's own when null) in rect without entering
    // edit mode.
    void Draw(VPainter* painter, const VRect& rect, bool printing, const VString* text);

    // --- text boxes (VFrameTextEditBox.cpp) ---
    static void InitDrawTextBox();
    // The shared frame of that kind, null before InitDrawTextBox.
    static VFrameTextEdit* GetDrawTextBox(bool multiline)
    {
        return multiline ? sFrameTextEditMultiline : sFrameTextEditSingle;
    }
    static void DrawTextBox(VPainter* painter, const VString& text, AlignStyle hAlign, AlignStyle vAlign,
                            const VRect& rect, bool ellipsis, bool printing, bool oneLine, VIntlMgr* intl,
                            bool = false);
    // Cuts the text to the longest prefix that fits with "..." in width.
    static void _GetElipsedText(VString& text, int32_t width, int16_t font);
    // Forgets the shared frames (tests).
    static void DisposeDrawTextBox();

    // The editor's drop callback: fills the drop information and asks the
    // frame's drop handler.
    static int32_t myNativeTextEditDropCallBack(NativeTextEditMac* editor, const uint8_t* bytes, int32_t length,
                                                NativeTypeText kind, const VPoint& point, bool same,
                                                DragDropInfo& info, void* frame);

protected:
    void _CreateMultiline(bool multiline);
    // The frame's rectangle in window coordinates.
    platform::Rect WindowRect() const;
    void MakeEditor(ENTE_properties properties);

    NativeTextEditMac* fEditor = nullptr;
    int32_t fSavedTransparent = 0;
    bool fChanged = false;
    VFrameTextEditDropHandler fDropHandler = nullptr;
    void* fDropHandlerData = nullptr;
    int32_t fUnused = 0;
    ENTE_justification fJustification = 0;
    VDragDropProperties fDragDropProperties;
    platform::WindowRef fParentWindow = nullptr;
    VIntlMgr* fIntlMgr = nullptr;
    // Password echo switched on by the password font, not by the owner.
    bool fPasswordFromFont = false;

    static VFrameTextEdit* sFrameTextEditSingle;
    static VFrameTextEdit* sFrameTextEditMultiline;
    static VFrameTextEdit* sFrameTextEdit;
};
