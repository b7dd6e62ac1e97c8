// The editor under every editable text field: one object of the platform's
// multilingual text editor, in a window or without one (then it only
// measures and draws text boxes). It keeps the text in UTF-16 and offers
// numbered properties, styles of the selection or of all text,
// justification, the clipboard, undo, keys, focus, metrics and drops.
#pragma once

#include <cstdint>

#include "platform/textedit/MultilingualText.h"
#include "platform/textedit/UnicodeTextBox.h"
#include "toolbox/views/VFrame.h"

class VDragDropDragger;
class VKeySwitch;
class VPoint;
class VText;

// Creation flags: bit 2^k switches native property k at creation.
enum : int32_t {
    kNativeMultiline = 0x2,
    kNativeVScrollBar = 0x4,
    kNativeVAutoScroll = 0x8,
    kNativeHScrollBar = 0x10,
    kNativeHAutoScroll = 0x20,
    kNativeTransparent = 0x80,
    kNativeWantReturn = 0x100,
    kNativePassword = 0x400,
    kNativeReadOnly = 0x800,
    kNativeTabbable = 0x2000,
    kNativeEnabled = 0x40000,
    kNativeWordWrap = 0x80000,
    kNativeMultiStyle = 0x200000,
    kNativeDragDrop = 0x400000,
    kNativeNoRedraw = 0x800000,
};

// The native property numbers.
enum NativeProperty : int16_t {
    kPropMultiline = 1,
    kPropVScrollBar = 2,
    kPropVAutoScroll = 3,
    kPropHScrollBar = 4,
    kPropHAutoScroll = 5,
    kPropLeftScroll = 6,
    kPropTransparent = 7,
    kPropWantReturn = 8,
    kPropRTL = 9,
    kPropPassword = 10,
    kPropReadOnly = 11,
    kPropSunken = 12,
    kPropTabbable = 13,
    kPropNoHideSelection = 15,
    kPropAutoURLDetect = 16,
    kPropPrintVarFrame = 17,
    kPropEnable = 18,
    kPropWordWrap = 19,
    kPropKept = 20,
    kPropMultiStyle = 21,
    kPropDragDrop = 22,
    kPropNoRedraw = 23,
};

// The kinds of dropped text.
using NativeTypeText = int16_t;
constexpr NativeTypeText kNativeTextUnicode = 2;  // UTF-16 as the drag holds it (big-endian)
constexpr NativeTypeText kNativeTextMac = 3;      // Mac Roman

// UTF-16 text handed over: a byte count and a handle.
struct NativeBlob {
    int32_t size = 0;
    platform::Handle handle = nullptr;
};

// The continuous attributes of the selection, or of all text when `all`
// (the selection is put back); fills `attributes` as the engine does.
platform::TXNContinuousFlags ContinuousAttributes(platform::TXNObject o, bool all,
                                                  platform::TXNTypeAttributes* attributes, platform::ItemCount count);

class NativeTextEditMac;
// Called with the dropped bytes (two zero bytes follow them), their kind,
// the point (window coordinates), whether the drag came from this editor,
// the drop's information and the callback data.
using NativeDropCallBack = int32_t (*)(NativeTextEditMac* editor, const uint8_t* bytes, int32_t length,
                                       NativeTypeText kind, const VPoint& point, bool same, DragDropInfo& info,
                                       void* data);

class NativeTextEditMac {
public:
    static constexpr int32_t kMaxTextLength = 32000;

    // With a null window the editor only measures and draws text boxes. The
    // two trailing longs are not used.
    NativeTextEditMac(const platform::Rect& view, platform::WindowRef window, int32_t flags, int32_t = 0,
                      int32_t = 0);
    ~NativeTextEditMac();
    NativeTextEditMac(const NativeTextEditMac&) = delete;
    NativeTextEditMac& operator=(const NativeTextEditMac&) = delete;

    platform::TXNObject GetObject() const { return fObject; }
    platform::WindowRef GetWindow() const { return fWindow; }

    // --- geometry ---
    // Moves view and destination by the same deltas.
    void Move(const platform::Rect& view);
    void GetViewRect(platform::Rect& view) const { view = fViewRect; }
    // Without text: the destination's size; with text: the size a text box
    // of it takes in the current view width.
    void GetTextBoxSize(int32_t& width, int32_t& height, const VText* text);

    // --- drawing (NativeTextEditDraw.cpp) ---
    void Update(platform::CGrafPtr port);
    void Draw(platform::CGrafPtr port, const platform::Rect& box, const platform::Rect* clip, const VText* text,
              bool printing);
    void Print(platform::CGrafPtr port, const platform::Rect& box, const platform::Rect* clip, const VText* text)
    {
        Draw(port, box, clip, text, true);
    }
    // Rebuilds the text-box style when a style changed since.
    void UpdateStyle(bool drawing);
    // Draws (draw set) or measures the text (own text when null) in box;
    // a measure leaves the text's bounds in box.
    void _DrawTextBox(platform::Rect& box, const VText* text, bool draw, bool printing);

    // --- events ---
    void Activate(bool on) { SetFocus(on); }
    void DoMouse(const platform::EventRecord& event);
    void DoAdjustCursor();
    // True when the editor took the key; keys it leaves go on to the focus
    // manager and the window.
    bool DoKey(VKeySwitch& key);
    void DoIdle() {}
    void SetFocus(bool on);
    bool HasFocus() const { return fFocused; }

    // --- editing ---
    void DoCut();
    void DoCopy();
    void DoPaste();
    void Select(int32_t start, int32_t end);
    void GetSelection(int32_t& start, int32_t& end) const;
    void Clear(bool all);
    void DoUndo();
    bool CanUndo() const;
    void DoRedo();
    bool CanRedo() const;

    // --- styles (NativeTextEditStyles.cpp) ---
    void SetTextSelectionColor(int32_t color);
    void SetTextSelectionBold(bool on) { SetSelectionFace(1, on); }
    void SetTextSelectionItalic(bool on) { SetSelectionFace(2, on); }
    void SetTextSelectionUnderLine(bool on) { SetSelectionFace(4, on); }
    void SetTextSelectionStrikeOut(bool) { fStyleUpToDate = false; }
    int16_t GetTextSelectionBold() const { return GetFace(1, false); }
    int16_t GetTextSelectionItalic() const { return GetFace(2, false); }
    int16_t GetTextSelectionUnderLine() const { return GetFace(4, false); }
    // name null, size -1, charset -1: not changed.
    void SetTextSelectionFont(const char* name, int32_t size, int32_t charset) { SetFont(name, size, charset, false); }
    void SetAllTextColor(int32_t color);
    int32_t GetAllTextColor() const;
    void SetAllTextBold(bool on) { SetAllFace(1, on); }
    void SetAllTextItalic(bool on) { SetAllFace(2, on); }
    void SetAllTextUnderLine(bool on) { SetAllFace(4, on); }
    void SetAllTextStrikeOut(bool) { fStyleUpToDate = false; }
    int16_t GetAllTextBold() const { return GetFace(1, true); }
    int16_t GetAllTextItalic() const { return GetFace(2, true); }
    int16_t GetAllTextUnderLine() const { return GetFace(4, true); }
    void SetAllTextFont(const char* name, int32_t size, int32_t charset) { SetFont(name, size, charset, true); }
    // name: room for 256 bytes (a C string).
    void GetAllTextFont(char* name, int32_t* size, int32_t* charset) const;

    // --- properties ---
    // 1 for a number outside 1..23 and for 14 (nothing changes), else 0.
    int32_t SetProperty(int32_t property, int32_t value);
    int32_t GetProperty(int32_t property) const;
    void Enable(bool on);
    bool GetEnable() const;
    void SetVisible(bool visible);
    bool GetVisible() const { return fVisible; }
    void SetNoRedraw(bool on);
    bool GetNoRedraw() const { return fNoRedraw; }
    void SetReadOnly(bool on);
    bool GetReadOnly() const;
    void SetBackColor(int32_t color);
    int32_t GetBackColor() const { return fBackColor; }
    void SetJustification(int16_t justification, bool selectionOnly);
    int16_t GetJustification() const;

    // --- text ---
    void SetUnicode(const NativeBlob& blob, bool replaceSelection);
    void SetUnicode(const char16_t* text, int32_t count, bool replaceSelection);
    // Fills the caller's handle with [from, to) (to -1: the end), sizing it
    // to the range; -108 when it cannot grow, else 0.
    int16_t GetUnicode(NativeBlob* blob, int32_t from, int32_t to) const;
    // 2 bytes, 3 characters, 4 characters capped at 32000; other kinds 0.
    int32_t GetTextLen(int32_t kind) const;
    // Convenience for the owner: [from, to) as UTF-16 (to -1: the end).
    std::u16string GetText(int32_t from = 0, int32_t to = -1) const;

    // --- metrics ---
    // Points are relative to the view's top left; -1 outside the text.
    int32_t GetCharOffsetFromPos(int32_t x, int32_t y);
    void GetPosFromCharOffset(int32_t offset, int32_t& x, int32_t& y);
    int32_t GetLineCount();
    void GetLineMetrics(int32_t line, int32_t& width, int32_t& height);
    int32_t GetFirstVisibleCharOffset();
    void ScrollToSelection(bool toEnd, bool horizontal, bool vertical);

    // --- drops (NativeTextEditDrops.cpp) ---
    NativeDropCallBack SetDropCallBack(NativeDropCallBack callback, void* data);
    void* GetDropCallBackData() const { return fDropData; }
    void DoHiliteDrop(VDragDropDragger* dragger, const VPoint& point, DropHiliteAction action, DragDropInfo& info);
    // Answers whether the drop was taken.
    bool DoDrop(VDragDropDragger* dragger, const VPoint& point, DragDropInfo& info);
    // The drag came from the frame that owns this editor.
    void SetOwnerFrame(VFrame* frame) { fOwner = frame; }

    // --- class-wide ---
    static void Init();
    static bool IsSystem103() { return sSystem103; }
    static bool IsDoubleByteScript() { return sDoubleByte; }
    // Set by inline input while a composition is open; read and cleared
    // when a frame rebuilds its editor.
    static bool sNeedsCompositing;

private:
    friend class NativeReadOnlyMac;
    friend class NativeNoRedrawMac;
    friend class NativeMoveOutScreenIfInvisibleMac;

    void Init(const platform::Rect& view, platform::WindowRef window, int32_t flags);
    void _SetVisible(bool visible, bool protect);
    void _SetJustification(int16_t justification, bool selectionOnly);
    void _RecalcAndSetDestRect();
    void _ChangeDropPos(int32_t offset);
    void SetControl(platform::TXNControlTag tag, uint32_t value);
    uint32_t GetControl(platform::TXNControlTag tag) const;
    void SetSelectionFace(uint8_t bit, bool on);
    void SetAllFace(uint8_t bit, bool on);
    int16_t GetFace(uint8_t bit, bool all) const;
    void SetFont(const char* name, int32_t size, int32_t charset, bool all);
    // Precomposes the text when that makes it shorter, keeping the selection.
    void Precompose();
    bool IsCentredSingleLine() const { return fCentredSingleLine && !fMultiline; }
    // Scrolls the text by pixels (positive: towards its end).
    void ScrollBy(int32_t dx, int32_t dy);

    platform::TXNObject fObject = nullptr;
    platform::TXNFrameID fFrameID = 0;
    platform::ATSUStyle fStyle = nullptr;
    bool fStyleUpToDate = false;
    int32_t fMaxLength = kMaxTextLength;
    bool fTabbable = false;
    bool fPrintVarFrame = false;
    int32_t fKept = 0;
    bool fWantReturn = false;
    bool fPassword = false;
    bool fVScrollBar = false;
    bool fHScrollBar = false;
    bool fDragDrop = false;
    bool fMultiline = false;
    int32_t fBackColor = 0x00FFFFFF;
    bool fTransparent = false;
    platform::WindowRef fWindow = nullptr;
    platform::Rect fViewRect{};
    NativeDropCallBack fDropCallBack = nullptr;
    void* fDropData = nullptr;
    VFrame* fOwner = nullptr;
    bool fDrawsWhenUnfocused = false;
    bool fFocused = false;
    bool fVisible = false;
    bool fNoRedraw = false;
    bool fCentredSingleLine = false;
    bool fHAutoScroll = false;
    bool fVAutoScroll = false;
    int32_t fDropCaret[2] = {-1, -1};
    uint8_t fFontName[256] = {};
    int32_t fFontSize = -1;

    static bool sInitialised;
    static bool sSystem103;
    static bool sDoubleByte;
};

// Scope guards: each puts a state of the editor back when it goes.
class NativeReadOnlyMac {
public:
    // Lifts read-only for the guard's life.
    explicit NativeReadOnlyMac(NativeTextEditMac* editor);
    ~NativeReadOnlyMac();
    NativeReadOnlyMac(const NativeReadOnlyMac&) = delete;
    NativeReadOnlyMac& operator=(const NativeReadOnlyMac&) = delete;

private:
    bool fSaved;
    NativeTextEditMac* fEditor;
};

class NativeNoRedrawMac {
public:
    // Lifts no-redraw (which hides the object) for the guard's life.
    explicit NativeNoRedrawMac(NativeTextEditMac* editor);
    ~NativeNoRedrawMac();
    NativeNoRedrawMac(const NativeNoRedrawMac&) = delete;
    NativeNoRedrawMac& operator=(const NativeNoRedrawMac&) = delete;

private:
    bool fSaved;
    NativeTextEditMac* fEditor;
};

class NativeMoveOutScreenIfInvisibleMac {
public:
    // An invisible editor is moved 5000 pixels to the left while its layout
    // is recomputed, and back at the end.
    explicit NativeMoveOutScreenIfInvisibleMac(NativeTextEditMac* editor);
    ~NativeMoveOutScreenIfInvisibleMac();
    NativeMoveOutScreenIfInvisibleMac(const NativeMoveOutScreenIfInvisibleMac&) = delete;
    NativeMoveOutScreenIfInvisibleMac& operator=(const NativeMoveOutScreenIfInvisibleMac&) = delete;

private:
    platform::Rect* fSaved = nullptr;
    NativeTextEditMac* fEditor;
};
