// The private clipboard: the one document without a file, shown in the
// clipboard window; it takes text and pictures from the system scrap and
// gives its text back. It lives as long as the application.
#pragma once

#include "app/appl/AppObjects.h"

class TClipWindow;

class TClipBoard : public TDocument {
public:
    bool IsMember(int16_t n) const override { return n == 1 || n == 0; }
    // Command 4 only hides it.
    int16_t Close() override;
    void SetData(platform::Handle data, uint32_t type, int32_t unused, int32_t length);
    void Hide() override;
    void Show() override;
    int16_t GetPrivateScrap(platform::Handle data, uint32_t type, int32_t unused, int32_t size) override;
    int16_t PutPrivateScrap(int32_t* length, uint32_t type, platform::Handle data) override;

    TClipWindow* Window() const;
};

// Makes the clipboard with its hidden window and pane (start-up); null when
// memory is short.
TClipBoard* NewClipBoard(TAppl* appl);
