// The base of everything shown inside a toolbox window: a rectangle placed
// in a parent view, with its flags, look, cursor and title, through whose
// virtual operations clicks, the wheel, keys, commands, idle time, cursor
// tracking, painting and drag and drop reach it.
#pragma once

#include <cstdint>

#include "platform/windows/Windows.h"
#include "toolbox/drawing/IPainterFrame.h"
#include "toolbox/drawing/LookTypes.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/system/VClic.h"

class VView;
class VPainter;
class VRect;
class VRegion;
class VString;
class VKeySwitch;
class VCommand;
class VFocusMgr;
class VLookHandler;
class VResourceFile;
class VDragDropDragger;
class VDragDropProperties;

// 0 nothing, 1 invalidate, 2 paint at once, 3 later.
using RedrawMode = int16_t;
constexpr RedrawMode kRedrawNone = 0;
constexpr RedrawMode kRedrawInval = 1;
constexpr RedrawMode kRedrawNow = 2;
constexpr RedrawMode kRedrawLater = 3;

using DropHiliteAction = int16_t;
struct DragDropInfo {
    int32_t action = 0;
    // Flags the drag's owner passes along; the first lets a drop at the end
    // of a selection that closes a line land after it.
    uint8_t extra[3] = {};
};

// Internal command numbers sent up a frame's parent chain.
namespace vcmd {
constexpr int32_t kGetFocusMgr = -2000;
constexpr int32_t kTakeOverFrames = -1999;
constexpr int32_t kUsers = -1998;
constexpr int32_t kGetUsers = -1997;
constexpr int32_t kTabOrder = -1996;
constexpr int32_t kFocusNotices = -1995;
constexpr int32_t kSetDefaultFocus = -1994;
constexpr int32_t kGetDefaultFocus = -1993;
constexpr int32_t kAskFocus = -1992;
constexpr int32_t kGetFocus = -1991;
constexpr int32_t kFocusTaken = -1990;
constexpr int32_t kFocusLost = -1989;
constexpr int32_t kLeaveTree = -999;
constexpr int32_t kDeactivate = -998;
constexpr int32_t kActivate = -997;
constexpr int32_t kIsActive = -995;
constexpr int32_t kScrollH = -989;
constexpr int32_t kScrollV = -988;
constexpr int32_t kScrollBoth = -987;
constexpr int32_t kGetCursorFrame = -984;
constexpr int32_t kRelayout = -983;
constexpr int32_t kDrawGrowIcon = -973;
constexpr int32_t kBeginScrollStep = -972;
constexpr int32_t kEndScrollStep = -971;
}  // namespace vcmd

class VFrame : public VObject, public IPainterFrame {
public:
    VFrame(VView* parent, const VRect* rect);
    ~VFrame() override;
    VFrame(const VFrame&) = delete;
    VFrame& operator=(const VFrame&) = delete;

    virtual void SetPos(int32_t x, int32_t y, RedrawMode mode);
    virtual void SetSize(int32_t w, int32_t h, RedrawMode mode);
    virtual void UpdateCoords(bool parentScrolled);
    virtual bool HitTestNoOffset(const VPoint& p) const;
    virtual bool HitTest(const VPoint& p) const;
    virtual int32_t GetKind() const { return 0; }
    virtual bool IsAView() const { return false; }
    virtual void DoPaint(VPainter* painter);
    virtual void Redraw(RedrawMode mode);
    virtual void RedrawRect(int32_t x, int32_t y, int32_t w, int32_t h, RedrawMode mode);
    virtual void RedrawLater(const VFrame& frame);
    virtual void RedrawLater(const VRect& rect);
    virtual void SetTitle(const unsigned char* pascal);
    virtual void SetTitle(const VString& title);
    virtual void SetTitle(const char* text);
    virtual VString* GetTitle() const { return fTitle; }
    virtual void SetVisible(bool visible);
    virtual bool IsVisible() const { return fVisible && !fHidden; }
    virtual void SetTransparent(bool on) { fTransparent = on; }
    virtual bool LooksActive() const;
    virtual bool DoLeftMouse(VClic&) { return false; }
    virtual bool DoRightMouse(VClic&) { return false; }
    virtual void DoMouseWheel(VClic& clic);
    virtual int32_t DoKey(VKeySwitch&) { return 1; }
    virtual void DoCompositionDone() {}
    virtual void DoLoseFocus(VFrame* newFocus);
    virtual void DoTakeFocus();
    virtual void DoFocusNotify(VFrame*, VFrame*) {}
    virtual void SetFocusNotify(bool on);
    virtual bool CanLoseFocus() { return true; }
    virtual bool CanTakeFocus() const { return fVisible && fFocusable && !fHidden; }
    virtual bool AskFocus();
    virtual intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param);
    virtual void DoIdle(bool) {}
    virtual void DoForeGround(bool) {}
    virtual void DoCursorChildren(VClic& clic, bool entering);
    virtual void DoCursorIn(VPoint& point);
    virtual void DoCursorMove(VPoint& point) { DoCursorIn(point); }
    virtual void DoCursorOut() {}
    virtual uint32_t FindCursor(const VPoint&) const { return fCursor; }
    virtual uint32_t GetCursor() const { return fCursor; }
    virtual void SetCursor(uint32_t id) { fCursor = id; }
    virtual void SetTextCursorInfo(VString&, int32_t, bool, bool, int32_t, int32_t) {}
    virtual VFrame* GetDropFrame(const VPoint& p);
    virtual VFrame* GetDragDropFrame(VDragDropDragger* dragger, const VPoint& p);
    virtual void DoHiliteDrop(VDragDropDragger*, const VPoint&, DropHiliteAction, DragDropInfo&) {}
    virtual bool CanAcceptDrop(VDragDropDragger* dragger, const VPoint& p);
    virtual void DoDrop(VDragDropDragger*, const VPoint&, DragDropInfo&) {}
    virtual bool CanDrag() { return false; }
    virtual void DoDrag(VClic&) {}
    virtual VFrame* GetTargetFrame(const VPoint& p, bool clickableOnly);
    virtual VFrame* GetParentWindow();
    virtual void SetFocusable(bool on);
    virtual VFocusMgr* GetFocusManager();
    virtual void SetDefaultFocus();
    virtual VFrame* GetDefaultFocus();
    virtual VFrame* GetFocusFrame();
    virtual void DoDispose() { fDisposed = true; }
    virtual void SetClickable(bool on) { fClickable = on; }
    virtual bool IsClickable() const { return fClickable; }
    virtual void DoForeGroundChildren(bool on) { DoForeGround(on); }
    virtual void DoPaintChildren(VPainter* painter);
    virtual void DoIdleChildren(bool flag) { DoIdle(flag); }
    virtual bool DoMouseChildren(VClic& clic);
    virtual void DoMouseWheelChildren(VClic& clic) { DoMouseWheel(clic); }
    virtual int32_t FindShortcut(int32_t key);
    virtual VCommand* FindCommand(int32_t number);
    virtual VFrame* Clone(VView* parent, VPainter* painter);
    virtual void Copy(VView* parent, VFrame* source, VPainter* painter);
    virtual bool CanPaste(int32_t) { return false; }
    virtual int32_t GetEditCommandsStatus() { return 0; }
    virtual bool CanHandleUndoRedo() { return false; }
    virtual void GetUndoString(VString& text);
    virtual void GetRedoString(VString& text);
    virtual bool DoLeftMouseUp(VClic&) { return false; }
    virtual bool DoRightMouseUp(VClic&) { return false; }
    virtual void DoKeyUp() {}
    virtual void DoDragChildren(VClic& clic) { DoDrag(clic); }
    virtual void GetVisibleRegion(VRegion& region);
    virtual VPainter* GetPainter();
    virtual platform::WindowRef GetParentMacHwnd();
    virtual void SetLook(StdLook look) { fLook = look; }
    virtual void SetParent(VView* view);
    virtual void SetParentDirect(VView* view);
    virtual void ReleasePainter();
    virtual void ScrollPixels(int32_t dx, int32_t dy, VRegion& update);
    virtual int32_t RunTextPopUp(VResourceFile* file, int16_t id, int32_t x, int32_t y, bool flag);
    virtual void GetMousePosition(int32_t& x, int32_t& y);
    virtual void SetHidden(bool hidden) { fHidden = hidden; }
    bool IsAScrolledView() const override { return false; }
    virtual bool IsAControl() const { return false; }
    virtual bool IsAWindow() const { return false; }
    virtual bool IsDisposed() const { return fDisposed; }
    virtual VDragDropProperties* GetDragDropProperties() { return nullptr; }
    virtual void SetVisibleToUser(bool on) { fVisibleToUser = on; }
    virtual void SetWindowValidRect(platform::WindowRef window, const VRect* rect, bool valid);

    // The key to this frame, then to its next key frames while not taken.
    int32_t TryKey(VKeySwitch& key);
    void GetPosInWindow(int32_t& x, int32_t& y) const override
    {
        x = fWindowX;
        y = fWindowY;
    }
    void GetPosInDesktop(int32_t& x, int32_t& y) const override;
    void GetPosInAppli(int32_t& x, int32_t& y) const { GetPosInDesktop(x, y); }
    int32_t GetWidth() const override { return fWidth; }
    int32_t GetHeight() const override { return fHeight; }
    bool HasGrowIcon();
    VLookHandler* GetLookHandler() const;
    // The look's standard drawing of a part in rect, or in the whole frame.
    void StandardPaint(VPainter* painter, PaintMethod method, PaintStatus status, const VRect* rect,
                       const VString* text = nullptr);
    void StandardText(VPainter* painter, PaintMethod method, PaintStatus status, const VString& text,
                      const VRect* rect = nullptr)
    {
        StandardPaint(painter, method, status, rect, &text);
    }

    VView* GetParent() const { return fParent; }
    int32_t GetX() const { return fX; }
    int32_t GetY() const { return fY; }
    int32_t GetWindowX() const { return fWindowX; }
    int32_t GetWindowY() const { return fWindowY; }
    bool GetVisibleFlag() const { return fVisible; }
    bool IsHidden() const { return fHidden; }
    bool IsVisibleToUser() const { return fVisibleToUser; }
    bool IsTransparent() const { return fTransparent; }
    bool IsFocusable() const { return fFocusable; }
    bool HasFocus() const { return fHasFocus; }
    StdLook GetLook() const { return fLook; }
    bool GetScrollMark() const { return fScrollMark; }
    void SetScrollMark(bool on) { fScrollMark = on; }
    VFrame* GetNextKeyFrame() const { return fNextKeyFrame; }
    void SetNextKeyFrame(VFrame* frame) { fNextKeyFrame = frame; }
    // The look the frame draws in: its own, or the first ancestor's that
    // names one (-1 or more).
    StdLook GetResolvedLook() const;

protected:
    // Removes the frame from its tree; a view's destructor calls it for the
    // children it still holds before they go.
    void LeaveTree();
    // Copies what a paint-now drew to the window: the frame's part of a
    // buffer that was already open when the painter was lent, else all of
    // its own buffer, closed.
    void EndPaintNow(VPainter* painter, bool lentOpen);

    VView* fParent = nullptr;
    int32_t fX = 0;
    int32_t fY = 0;
    int32_t fWidth = 0;
    int32_t fHeight = 0;
    int32_t fWindowX = 0;
    int32_t fWindowY = 0;
    bool fVisible = true;
    bool fVisibleToUser = true;
    bool fHidden = false;
    bool fScrollMark = false;
    bool fTransparent = false;
    bool fFocusable = false;
    bool fHasFocus = false;
    bool fClickable = true;
    bool fDisposed = false;
    StdLook fLook = -2;
    uint32_t fCursor = 0;
    VString* fTitle = nullptr;
    VFrame* fNextKeyFrame = nullptr;

    friend class VView;
};

// Frame bounds for the foundation's rectangles and the engine's tips.
void InstallFrameHooks();
