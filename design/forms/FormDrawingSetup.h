// What a form is drawn with wherever it shows: the document's store
// current, its table names handed to the drawing (fields are labelled
// "[Table]Field"), its look and its style sheets. The preview pane and
// printing both draw under it, so that a printed form is its preview.
#pragma once

#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "platform/core/MacTypes.h"

// What a form that cannot be read or drawn answers, in the preview pane
// and in print (its message says the form cannot be read).
constexpr int16_t kFormNotDrawn = 1014;

class FormDrawingSetup {
public:
    explicit FormDrawingSetup(TMainDoc* doc);
    ~FormDrawingSetup();
    FormDrawingSetup(const FormDrawingSetup&) = delete;
    FormDrawingSetup& operator=(const FormDrawingSetup&) = delete;

private:
    ParseResFile current_;
    platform::Handle savedNames_;
};
