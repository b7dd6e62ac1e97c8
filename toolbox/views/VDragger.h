// Moving a feedback shape with the mouse from a source frame to a target
// frame: through the platform's drag service when the drag may leave the
// program (desktop world), else with its own tracking loop, auto-scrolling
// a scrolled view on the way. Derived draggers fill in the steps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/drag/Drag.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/system/VClic.h"
#include "toolbox/views/VDragDropProperties.h"
#include "toolbox/views/VFrame.h"

class VRegion;
class VScrolledView;
class VDragDropProperties;
class VDragScrap;

// 1 window, 2 application, 3 desktop.
using DragWorld = int16_t;

constexpr platform::FlavorType kToolboxDragFlavor = 0x78746278;  // 'xtbx'
constexpr platform::FlavorFlags kToolboxDragFlavorFlags = 5;     // sender only, not saved
constexpr platform::DragActions kDragActionsCopyGenericMove = 21;

// Finds the frame under a point of any toolbox window.
class VDropFrameLocator : public VObject {
public:
    virtual VFrame* DoLocateTarget(platform::WindowRef window, const VPoint& point);
    virtual VFrame* DoLocateTargetForDragAndDrop(VDragDropDragger* dragger, platform::WindowRef window,
                                                 const VPoint& point);
};

class VDragger : public VObject {
public:
    VDragger(VFrame* source, const VClic& click);
    ~VDragger() override;
    VDragger(const VDragger&) = delete;
    VDragger& operator=(const VDragger&) = delete;

    virtual void DoBeginDrag(DragDropInfo&) {}
    virtual void DoMove(VFrame*, VFrame*, int32_t, int32_t, DragDropInfo&) {}
    virtual void DoFinishDrag(VFrame*, DragDropInfo&) {}
    virtual void DoPaint(bool) {}
    virtual void DoScroll(int32_t dx, int32_t dy);
    virtual VFrame* DoLocateTarget(platform::WindowRef window, const VPoint& point);

    void Run();
    void RunTheOldWay();
    // One step of the tracking loop, the mouse at point (desktop).
    void Drag(const VPoint& point, DragDropInfo& info);
    void LocateTarget();
    void GetStart(VPoint& point, DragWorld world) const;
    void GetEnd(VPoint& point, DragWorld world) const;
    VRegion* GetDraggedShape() const { return fShape; }
    DragWorld GetDragWorld() const { return fWorld; }
    void SetDragWorld(DragWorld world) { fWorld = world; }
    void SetDraggedShape(VRegion* shape);
    void SetScrollView(VScrolledView* view, bool noH = false, bool noV = false)
    {
        fScrollView = view;
        fNoHScroll = noH;
        fNoVScroll = noV;
    }
    void SetWatchKeys(bool ctrl, bool alt, bool shift)
    {
        fWatchCtrl = ctrl;
        fWatchAlt = alt;
        fWatchShift = shift;
    }
    void SetLocator(VDropFrameLocator* locator);
    VFrame* GetSource() const { return fSource; }
    VFrame* GetTarget() const { return fTarget; }
    void GetPointInTarget(int32_t& x, int32_t& y) const
    {
        x = fTargetX;
        y = fTargetY;
    }
    bool IsTracking() const { return fTracking; }
    platform::DragRef GetDragRef() const { return fDrag; }
    // The id the 'xtbx' flavour carries for this dragger while it lives.
    uint32_t GetDragId() const { return fDragId; }
    // The live dragger a flavour names; null for a damaged flavour or an
    // id no living dragger has.
    static VDragger* FromToolboxFlavor(const uint8_t* data, size_t size);

protected:
    VDropFrameLocator* GetLocator();
    VDropFrameLocator* fLocator = nullptr;
    VClic fClick;
    VFrame* fSource;
    VFrame* fTarget = nullptr;
    VRegion* fShape = nullptr;
    VScrolledView* fScrollView = nullptr;
    bool fNoHScroll = false;
    bool fNoVScroll = false;
    int32_t fStartX = -32000;
    int32_t fStartY = -32000;
    int32_t fTargetX = -32000;
    int32_t fTargetY = -32000;
    int32_t fStartDesktopX = -32000;
    int32_t fStartDesktopY = -32000;
    int32_t fCurX = -32000;
    int32_t fCurY = -32000;
    uint32_t fStartCursor = 0;
    uint32_t fDragCursor = 0;
    DragWorld fWorld = 0;
    bool fTracking = false;
    bool fWatchCtrl = false;
    bool fWatchAlt = false;
    bool fWatchShift = false;
    bool fEraseOnScroll = true;
    bool fFeedback = true;
    VPainter* fFeedbackPainter = nullptr;
    bool fOwnsDrag = true;
    platform::DragRef fDrag = nullptr;
    uint32_t fDragId = 0;
};

// The drag-and-drop dragger: carries content kinds, may have its own
// properties, and reads the platform drag through its scrap.
class VDragDropDragger : public VDragger {
public:
    VDragDropDragger(VFrame* source, const VClic& click, DragContentKind contentKinds = 0)
        : VDragger(source, click), fContentKinds(contentKinds)
    {
    }
    ~VDragDropDragger() override;

    DragContentKind GetContentKinds() const { return fContentKinds; }
    void SetContentKinds(DragContentKind kinds) { fContentKinds = kinds; }
    // Not owned; null means the source frame's.
    void SetOwnProperties(VDragDropProperties* props) { fOwnProperties = props; }
    VDragDropProperties* GetOwnProperties() const { return fOwnProperties; }
    VFrame* DoLocateTarget(platform::WindowRef window, const VPoint& point) override;
    // The scrap over this drag's data, made on first call and kept.
    VDragScrap* GetScrap();

private:
    VDragScrap* fScrap = nullptr;
    DragContentKind fContentKinds;
    VDragDropProperties* fOwnProperties = nullptr;
};
