// One colour icon ('cicn') by id, with the black-and-white 'ICON' of the
// same id as an optional fallback. The looks layer draws colour icons.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VObject.h"

// Colour icon drawing of the looks layer; each takes the rectangle and the
// icon's 'cicn' bytes.
struct AIconLookServices {
    void (*plot)(const platform::Rect& r, platform::Handle icon) = nullptr;
    void (*plotDisabled)(const platform::Rect& r, platform::Handle icon) = nullptr;
    void (*plotDimmed)(const platform::Rect& r, platform::Handle icon, int16_t level) = nullptr;
    void (*plotChangedColours)(const platform::Rect& r, platform::Handle icon) = nullptr;
};
// Not owned; null removes them (nothing is drawn then).
void SetIconLookServices(const AIconLookServices* services);

// A ready-made pixel image of the icon, drawn in its place when set.
class AIconBitmap {
public:
    virtual ~AIconBitmap();
    virtual void Draw(const platform::Rect& r, int16_t mode, uint32_t colour, bool flag) = 0;
    virtual int16_t GetWidth() const = 0;
    virtual int16_t GetHeight() const = 0;
};

class AIcon : public VObject {
public:
    // Loads the colour icon of that id from the resource chain.
    AIcon(int16_t id, bool fallback);
    // Releases the colour icon.
    ~AIcon() override;
    AIcon(const AIcon&) = delete;
    AIcon& operator=(const AIcon&) = delete;

    // 0 by 0 without a colour icon.
    void aGetDimensions(int16_t* width, int16_t* height) const;
    void aDraw(const platform::Rect& r, bool disabled, bool centred, bool unused = false);
    void aDrawDimmed(const platform::Rect& r, bool centred, int16_t level, bool unused = false);
    void aDrawChangedCol(const platform::Rect& r, bool centred);

    platform::Handle GetColourIcon() const { return fColourIcon; }
    // Not owned.
    void SetCachedBitmap(AIconBitmap* bitmap) { fBitmap = bitmap; }

private:
    enum class Form { Normal, Disabled, Dimmed, ChangedColours };
    void Draw(platform::Rect r, bool centred, Form form, int16_t level);
    void PlotFallback(const platform::Rect& r);

    int16_t fID;
    bool fFallback;
    platform::Handle fColourIcon = nullptr;
    AIconBitmap* fBitmap = nullptr;
};
