// The styled text engine under both text editors (the classic record calls
// and the multilingual object calls): UTF-16 text with runs of styles, a
// selection, line breaking into a destination rectangle seen through a
// view, drawing with the selection hilited and a blinking caret, keys and
// mouse tracking. Coordinates are 32-bit local coordinates of the port the
// engine draws in; offsets count UTF-16 units.
//
// The engine never throws out of a call that the faces make through their
// entry points; allocation failures surface as std::bad_alloc, which the
// faces catch once at each entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// What a run of text looks like.
struct TextAttributes {
    int16_t font = 0;
    Style face = normal;
    int16_t size = 12;
    RGBColor color{0, 0, 0};
    uint32_t encoding = 0;  // kept for the multilingual face; not drawn

    bool operator==(const TextAttributes& o) const
    {
        return font == o.font && face == o.face && size == o.size && color.red == o.color.red &&
               color.green == o.color.green && color.blue == o.color.blue && encoding == o.encoding;
    }
};

// One entry of the style table: attributes, how many runs use them, and the
// metrics of their font (line height and ascent).
struct StyleSlot {
    TextAttributes attr;
    int32_t count = 0;
    int16_t height = 0;
    int16_t ascent = 0;
};

struct StyleRun {
    int32_t start = 0;
    int16_t style = 0;  // index into the style table
};

// A piece of styled text: what cut, copy, paste and undo carry.
struct StyledFragment {
    std::u16string text;
    // Runs with their attributes, starts relative to the fragment, rising,
    // the first at 0. Empty: the text takes the style where it lands.
    std::vector<std::pair<int32_t, TextAttributes>> runs;
};

struct LineBox {
    int32_t start = 0;  // first offset of the line
    int32_t top = 0;    // from the destination's top
    int16_t height = 0;
    int16_t ascent = 0;
    int32_t width = 0;    // without trailing spaces and the return
};

enum class Alignment : uint8_t { Left, Center, Right };

// Masks for the attributes that SetStyle changes and ContinuousStyle checks.
enum : uint16_t {
    kStyleFont = 1,
    kStyleFace = 2,
    kStyleSize = 4,
    kStyleColor = 8,
    kStyleAll = 15,
    kStyleAddSize = 16,
    kStyleToggle = 32,
    kStyleEncoding = 64,
};

class TextEngine {
public:
    explicit TextEngine(const TextAttributes& base);

    // --- text and styles ------------------------------------------------
    const std::u16string& Text() const { return text_; }
    int32_t Length() const { return int32_t(text_.size()); }
    // Replaces [from, to) (clamped) with the fragment; its runs, or else
    // the style at `from` (the null style for an empty selection typed
    // into). Answers the length actually inserted (limited by MaxLength).
    int32_t Replace(int32_t from, int32_t to, const StyledFragment& fragment);
    StyledFragment Extract(int32_t from, int32_t to) const;
    // Replaces everything with one run of `style`.
    void SetPlainText(const std::u16string& text, const TextAttributes& style);
    // Text beyond this many units is refused by Replace (0: no limit).
    void SetMaxLength(int32_t units) { maxLength_ = units; }
    int32_t MaxLength() const { return maxLength_; }

    const std::vector<StyleSlot>& Styles() const { return styles_; }
    const std::vector<StyleRun>& Runs() const { return runs_; }
    // Installs runs and a table that the caller has checked (rising starts
    // from 0 within the text, indices inside the table). Counts and
    // metrics are recomputed.
    void InstallStyles(std::vector<StyleRun> runs, std::vector<StyleSlot> table);
    TextAttributes StyleAt(int32_t offset) const;   // of the character at offset (the last one at the end)
    int32_t RunIndexAt(int32_t offset) const;
    // Applies the masked attributes of `style` to [from, to); with an empty
    // range, to the null style that the next typing takes.
    void SetStyle(uint16_t mode, const TextAttributes& style, int32_t from, int32_t to);
    // The masked attributes that hold over all of [from, to): answers the
    // mask less the attributes that vary; *style gets those of `from`
    // (faces: the bits common to all).
    uint16_t ContinuousStyle(uint16_t mode, int32_t from, int32_t to, TextAttributes* style) const;
    bool HasNullStyle() const { return hasNullStyle_; }
    const TextAttributes& NullStyle() const { return nullStyle_; }
    // Every run takes these attributes (a mono-styled text).
    void SetAllStyles(const TextAttributes& style);

    // --- selection --------------------------------------------------------
    int32_t SelStart() const { return selStart_; }
    int32_t SelEnd() const { return selEnd_; }
    // Clamps; redraws the lines whose hilite changed when drawing is on.
    void SetSelection(int32_t start, int32_t end);
    // Takes a selection set from outside, without drawing.
    void AdoptSelection(int32_t start, int32_t end);

    // --- geometry and layout ------------------------------------------------
    Rect32 dest{0, 0, 0, 0};
    Rect32 view{0, 0, 0, 0};
    Alignment align = Alignment::Left;
    bool wrap = true;
    // Echo mode: every character is shown as this one (0: off).
    char16_t echo = 0;
    void Layout();  // everything again
    void Invalidate() { laidOut_ = false; }
    bool LaidOut() const { return laidOut_; }
    const std::vector<LineBox>& Lines() const { return lines_; }
    int32_t LineOf(int32_t offset) const;  // the line showing the offset
    int32_t LineEnd(int32_t line) const;   // where the next line begins
    int32_t TotalHeight() const;
    int32_t LineHeightAt(int32_t offset) const;
    // Nearest caret offset to a local point; *inside false when the point
    // lies outside the text's lines.
    int32_t OffsetAt(int32_t h, int32_t v, bool* inside = nullptr) const;
    // Top-left of the character at offset (local coordinates).
    void PointOf(int32_t offset, int32_t* h, int32_t* v) const;
    int32_t LineLeft(int32_t line) const;
    int32_t WidthOf(int32_t from, int32_t to) const;
    int32_t WidestLine() const;

    // --- drawing ----------------------------------------------------------
    GrafPtr port = nullptr;
    bool active = false;
    bool outlineWhenInactive = false;
    bool drawCaretWhenInactive = false;
    bool eraseFirst = true;  // false: text over what is there
    bool hasBackground = false;
    RGBColor background{0xFFFF, 0xFFFF, 0xFFFF};
    bool visible = true;
    bool selectionShown = true;  // false: no hilite and no caret at all
    // Draws what of the text lies in `area` (local) within the view.
    void Draw(const Rect32& area);
    void DrawAll() { Draw(view); }
    void SetActive(bool on);
    // Blinks the caret when its time has come.
    void Idle();
    void ShowCaret(bool on);
    // Moves the destination by (dh, dv) and redraws the view.
    void Scroll(int32_t dh, int32_t dv);
    // Scrolls so that the selection end (or start) is in view.
    void ShowSelection(bool showEnd = true);
    bool autoView = false;

    // --- input --------------------------------------------------------------
    // One key: answers false when the key was refused (read-only, limit).
    bool Key(uint8_t charCode, char16_t unicode, uint16_t modifiers);
    // The click loop: called while the mouse selects; false stops tracking.
    using ClickLoop = bool (*)(void* refCon);
    ClickLoop clickLoop = nullptr;
    void* clickLoopRefCon = nullptr;
    // Tracks a press at a local point until the button comes up.
    void Click(int32_t h, int32_t v, bool extend);
    bool readOnly = false;
    bool singleLine = false;  // returns are refused

    // Word boundaries: a word is a run of letters and digits.
    static bool IsWordChar(char16_t c);
    int32_t WordStart(int32_t offset) const;
    int32_t WordEnd(int32_t offset) const;

    // The text changed (typing, cutting...): the faces count changes here.
    uint32_t changeCount = 0;
    // Called before every change of text by Key (typing); may record undo.
    void (*willType)(void* refCon, int32_t from, int32_t to, const std::u16string& typed) = nullptr;
    void* willTypeRefCon = nullptr;

    // Slots whose metrics are stale are measured again.
    void MeasureStyles();

private:
    friend struct EngineLayout;
    // Layout after [from, from + inserted) replaced `removed` units.
    void Relayout(int32_t from, int32_t removed, int32_t inserted);
    // Breaks one line from `start`; answers the next line's start.
    int32_t BreakLine(int32_t start, LineBox* box) const;
    void RedrawLines(int32_t first, int32_t last, bool toBottom);
    void DrawCaret();
    void CaretRect(Rect32* r) const;
    int16_t FindOrAddStyle(const TextAttributes& a);
    void ReleaseStyle(int16_t index);
    void MergeRuns();
    void SplitRunAt(int32_t offset);
    void MoveCaretTo(int32_t offset, bool extend);
    int32_t VerticalMove(int32_t offset, int32_t lines) const;
    void AutoScrollTo(int32_t h, int32_t v);
    void AfterTextChange(int32_t from, int32_t removed, int32_t inserted, int32_t oldLines);

    std::u16string text_;
    std::vector<StyleRun> runs_;  // at least one; rising starts from 0
    std::vector<StyleSlot> styles_;
    std::vector<LineBox> lines_;
    TextAttributes nullStyle_;
    bool hasNullStyle_ = false;
    int32_t maxLength_ = 0;
    int32_t selStart_ = 0, selEnd_ = 0, anchor_ = 0;
    bool caretShown_ = false;
    uint32_t caretTick_ = 0;
    uint32_t lastClickTick_ = 0;
    int32_t lastClickOffset_ = -1;
    int32_t clickCount_ = 0;
    int32_t wordAnchorStart_ = 0, wordAnchorEnd_ = 0;
    int32_t goalH_ = -1;  // kept across up and down arrows
    bool laidOut_ = false;
};

}  // namespace platform
