// The root of every frame tree: a view bound to one platform window. It
// makes and disposes of the window, mirrors its place, size, title and
// visibility, owns its painter and focus manager, routes the platform's
// clicks, wheel, keys and idle time into the tree, follows the frame under
// the mouse for the cursor and answers the window-level commands.
#pragma once

#include "toolbox/views/VView.h"

class VFocusMgr;
class VMenuBar;

// 1 to 8; see the table in VWindow.cpp.
using WindowStyle = int16_t;

class VWindow : public VView {
public:
    // A style outside 1 to 8 makes no platform window: the object stays
    // inert (no window, no painter).
    VWindow(VFrame* commandParent, WindowStyle style, bool a, bool b, bool c);
    // On a platform window that is not its own: it only re-reads its place
    // and size, and never moves, sizes or disposes of the window.
    VWindow(VFrame* commandParent, platform::WindowRef foreign);
    ~VWindow() override;

    // The toolbox window on that platform window (the latest made), or null.
    static VWindow* FindWindow(platform::WindowRef window);
    // The rectangle (window coordinates; null: the whole port) marked
    // valid or invalid for the next update.
    static void SetValidRect(platform::WindowRef window, const VRect* rect, bool valid);

    virtual void MinMax();
    virtual bool CanBeClosed() { return true; }
    virtual void DoCursor(VClic& clic);
    virtual void SetFocusManager(VFocusMgr* manager);

    void SetPos(int32_t x, int32_t y, RedrawMode mode) override;
    void SetSize(int32_t w, int32_t h, RedrawMode mode) override;
    void UpdateCoords(bool parentScrolled) override;
    void DoPaint(VPainter*) override {}
    void RedrawRect(int32_t, int32_t, int32_t, int32_t, RedrawMode) override {}
    void SetTitle(const VString& title) override;
    VString* GetTitle() const override;
    void SetVisible(bool visible) override;
    bool LooksActive() const override;
    int32_t DoKey(VKeySwitch& key) override;
    void DoLoseFocus(VFrame* frame) override;
    void DoTakeFocus() override;
    intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override;
    VFrame* GetDropFrame(const VPoint& p) override;
    VFrame* GetParentWindow() override { return this; }
    void SetFocusable(bool on) override;
    VFocusMgr* GetFocusManager() override { return fFocusMgr; }
    void DoDispose() override;
    void DoIdleChildren(bool flag) override;
    bool DoMouseChildren(VClic& clic) override;
    void DoMouseWheelChildren(VClic& clic) override;
    VCommand* FindCommand(int32_t number) override;
    VPainter* GetPainter() override;
    platform::WindowRef GetParentMacHwnd() override { return fWindow; }
    void ReleasePainter() override;
    bool IsAWindow() const override { return true; }
    bool IsForeign() const { return fForeign; }

    bool HasGrowIcon() const { return fGrowIcon; }
    bool HasCloseBox() const { return fCloseBox; }
    bool HasZoomBox() const { return fZoomBox; }
    bool HasTitleBar() const { return fTitleBar; }
    bool IsZoomed() const { return fZoomed; }
    WindowStyle GetStyle() const { return fStyle; }
    // The level the window was made at: 2 floating, 8 help, 0 others.
    int16_t GetLevel() const { return fLevel; }
    bool CanActivate() const { return fStyle != 7 && fStyle != 8; }
    void SetMenuBar(VMenuBar* bar) { fMenuBar = bar; }
    VMenuBar* GetMenuBar() const { return fMenuBar; }
    VFrame* GetCommandParent() const { return fCommandParent; }
    VFrame* GetCursorFrame() const { return fCursorFrame; }
    void SetFocusKeepsClicks(bool on) { fFocusKeepsClicks = on; }
    bool IsPainterLent() const { return fPainterUsers > 0; }
    VWindow* GetOlderWindow() const { return fOlder; }
    VWindow* GetNewerWindow() const { return fNewer; }
    void GetFrameInsets(int16_t& left, int16_t& right, int16_t& top, int16_t& bottom) const
    {
        left = fInsets[0];
        right = fInsets[1];
        top = fInsets[2];
        bottom = fInsets[3];
    }

private:
    void _BuildWindow(WindowStyle style, bool a, bool b, bool c);
    void Register();
    void Unregister();

    VWindow* fNewer = nullptr;
    VWindow* fOlder = nullptr;
    VMenuBar* fMenuBar = nullptr;
    VFrame* fCommandParent;
    VPainter* fPainter = nullptr;
    int16_t fPainterUsers = 0;
    bool fCloseBox = false;
    bool fGrowIcon = false;
    bool fZoomBox = false;
    bool fTitleBar = false;
    bool fZoomed = false;
    bool fFocusKeepsClicks = true;
    bool fForeign = false;
    platform::WindowRef fWindow = nullptr;
    WindowStyle fStyle = 0;
    int16_t fLevel = 0;
    int16_t fSaved[4] = {};   // top, left, bottom, right before zooming
    int16_t fInsets[4] = {};  // left, right, top, bottom
    VFrame* fCursorFrame = nullptr;
    int32_t fLastMouseX = 0;
    int32_t fLastMouseY = 0;
    VFocusMgr* fFocusMgr = nullptr;
};
