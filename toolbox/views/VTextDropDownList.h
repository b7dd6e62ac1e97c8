// The scrolled list of strings shown in a drop-down's window: 14-pixel
// lines, the list's current element selected, keyboard navigation and
// type-ahead. The list is not owned.
#pragma once

#include "toolbox/foundation/VStr.h"
#include "toolbox/views/VScrolledView.h"

class VArrayValue;
class VIntlMgr;
class VViewScroller;

class VTextDropDownList : public VScrolledView {
public:
    static constexpr int32_t kLineHeight = 14;

    VTextDropDownList(VViewScroller* parent, VArrayValue* list, bool fontNames);

    virtual void ResetVSize(bool makeCurrent);
    virtual void MakeCurrentElement(int32_t n);
    // Draws one line clipped to rect: in the standard font, or, for a list
    // of font names, in the font it names.
    static void DrawListLine(VPainter* painter, bool fontNames, const VString& text, const VRect& rect,
                             PaintStatus status, VFrame* frame);

    int32_t GetScrollHeight(bool) override { return kLineHeight; }
    int32_t AdjustVAmount(int32_t d) override;
    void DoPaint(VPainter* painter) override;
    void DoCursorMove(VPoint& point) override;
    void DoCursorIn(VPoint& point) override { DoCursorMove(point); }
    bool DoLeftMouse(VClic& clic) override;
    bool DoLeftMouseUp(VClic& clic) override;
    int32_t DoKey(VKeySwitch& key) override;

    VArrayValue* GetList() const { return fList; }

private:
    int32_t Count() const;
    void ElementText(int32_t i, VString& text) const;
    int32_t FindFrom(const VIntlMgr& intl, const VString& pattern, int32_t start, int32_t method) const;
    void RedrawLine(int32_t n);
    void SendToParent(int32_t command);

    VArrayValue* fList;
    VStr<255> fTypeAhead;
    uint32_t fLastKeyTime = 0;
    bool fFontNames;
};
