// The clipboard window: the private clipboard's text or picture.
#pragma once

#include "app/appl/AppObjects.h"
#include "platform/textedit/TextEdit.h"

class TClipWindow : public TWindow {
public:
    bool IsMember(int16_t n) const override { return n == 1 || n == 0; }
    int16_t ITWindow(const unsigned char* title, const platform::Rect& rect, bool visible, int16_t word,
                     TDocument* doc, int16_t kind) override;
    void Dispose() override;
    // Hides the clipboard; the window stays.
    int16_t Close() override;
    void MakeActive() override;
    int16_t GetMinWWide() const override { return 50; }
    int16_t GetMinWHeight() const override { return 50; }
    void SetData(platform::Handle data, uint32_t type, int32_t unused, int32_t length);

    platform::TEHandle fText = nullptr;
    platform::Handle fPicture = nullptr;  // null while text is shown
};

// The most text the clipboard window shows.
constexpr int32_t kClipTextMax = 32766;
