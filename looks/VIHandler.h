// The look handlers of form objects. A handler belongs to one look number
// (-3 to 7, the look a form or an object names): 1 to 7 are painted by the
// toolbox look of that registry slot; 0 and negative numbers by the
// structure's look (SetDBVIProc), and by slot 6 when that is not above 0.
// The print port's handler paints every widget plain, black on white.
//
// A handler paints a drawing context (VIObj) by its widget number, sets the
// port's colours for a context or for a colour pair, and draws inactive
// scroll bars beside subforms and fields.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/drawing/LookTypes.h"
#include "toolbox/foundation/Colors.h"

class VIObj;
class VLookHandler;

class VI_Handler {
public:
    VI_Handler() = default;
    explicit VI_Handler(int16_t look, bool printing = false) : fLook(look), fPrinting(printing) {}

    // The look number the handler was made for.
    int16_t GetLook() const { return fLook; }
    bool IsPrinting() const { return fPrinting; }
    // The registry slot that paints for it: the look itself for 1 to 7,
    // else the structure's look when that is 1 to 7, else 6.
    StdLook PaintingLook() const;
    // That slot's toolbox look; null when printing or before the toolbox
    // made its looks.
    VLookHandler* ToolboxLook() const;
    // The look's standard colour as 0xRRGGBB; black and white basics for
    // the print handler and without a toolbox look.
    int32_t StdRGB(StdColor c) const;

    // The port's colours from two 24-bit values 0xRRGGBB (-1 the default
    // text colour, -2 the default background); kept for the kernel too.
    void SetColRGBWithProc(int32_t foreground, int32_t background, void* proc);
    void SetColRGBByType(int32_t foreground, int32_t background, int16_t type, uint8_t flag);
    int32_t GetForeground() const { return fForeground; }
    int32_t GetBackground() const { return fBackground; }
    // The port's colours for the context: its own, the defaults taken from
    // the look (the text colour of its widget on the look's background for
    // the controls the look paints).
    void SetCol(VIObj* obj, int16_t state);
    // Paints the context in the look; the context's plainToDo tells the
    // caller whether its plain drawing is still to be done.
    void Draw(VIObj* obj, int16_t state, int32_t flags);
    // An inactive scroll bar filling r.
    void DrawFakeScrollBar(const platform::Rect& r);

private:
    int16_t fLook = 0;
    bool fPrinting = false;
    int32_t fForeground = 0x000000;
    int32_t fBackground = 0xFFFFFF;
};

// The global look manager's default handler (the structure's look), made
// by InitVI.
extern VI_Handler* gVI;

class VI_Manager {
public:
    // The handler of look -3 to 7 (one for each, kept for the run); null for
    // any other number.
    static VI_Handler* GetHandler(int16_t look);
    // The print port's handler.
    static VI_Handler* GetPrintHandler();
    // The look number of a handler (0 for none).
    static int16_t GetLookFromHandler(const VI_Handler* handler);
};

// The look number a handler draws in, the default handler's for none.
int16_t GetLookFromVIProc(const VI_Handler* handler);
// Whether two looks draw alike: the same registry slot once resolved.
bool CompareLook(int16_t look, int16_t other);
