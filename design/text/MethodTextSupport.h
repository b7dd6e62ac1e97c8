// What the method objects' text operations share: the companion resource
// file made current (string lists, plug-in bundles and command texts are
// found through it), and the text records they render into.
#pragma once

#include <cstdint>

#include "app/documents/MainDoc.h"
#include "platform/resfiles/Resources.h"
#include "platform/textedit/TextEdit.h"

// Makes the document's companion file current, when it is open, for the
// life of the guard.
class CompanionCurrent {
public:
    explicit CompanionCurrent(TMainDoc* doc) : saved_(platform::CurResFile())
    {
        if (doc && doc->fRsrFile != -1) platform::UseResFile(doc->fRsrFile);
    }
    ~CompanionCurrent()
    {
        if (platform::CurResFile() != saved_) platform::UseResFile(saved_);
    }
    CompanionCurrent(const CompanionCurrent&) = delete;
    CompanionCurrent& operator=(const CompanionCurrent&) = delete;

private:
    int16_t saved_;
};

// A text record of `side` by `side` points in the current port, styled or
// plain; null when memory runs out.
platform::TEHandle NewMethodRecord(bool styled, int16_t side);
