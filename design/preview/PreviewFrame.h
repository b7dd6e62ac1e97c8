// The frame in which design objects show themselves in the preview pane:
// a preview record (where the preview is and the picture it shows), and
// the recording of pictures that the kinds' previews are built from.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

// The preview record a display handle holds.
struct PreviewRec {
    platform::Rect where{0, 0, 0, 0};
    platform::Handle picture = nullptr;  // owned
};

// The record of a display handle (null for none or a handle too small).
PreviewRec* PreviewOf(platform::Handle display);
// A new display handle showing `picture` (taken over) at `where`; null
// when memory runs out (the picture is then freed).
platform::Handle NewPreview(const platform::Rect& where, platform::Handle picture);

// A port to build a picture in: an offscreen world the size of the
// picture settings; the current port is saved in `saved`.
int16_t OpenPictPort(platform::GWorldPtr* port, platform::CGrafPtr* saved);
void ClosePictPort(platform::CGrafPtr saved, platform::GWorldPtr port);

// Records a picture of `r`: drawing goes into an erased offscreen world
// of its size, and closing turns its pixels into a picture.
int16_t MyOpenPicture(platform::GWorldPtr* world, platform::CGrafPtr* saved, const platform::Rect& r,
                      platform::Handle* picture);
void MyClosePicture(platform::GWorldPtr world, platform::CGrafPtr saved, const platform::Rect& r,
                    platform::Handle* picture);

// Records what `draw` draws into a picture of width x height (at least
// 1 x 1) and makes a display handle showing it at `where`.
int16_t RecordPreview(platform::Handle* display, const platform::Rect& where, int16_t width, int16_t height,
                      const std::function<void()>& draw);

// Text in the previews: the application font and size in `face`; the line
// height of the current font; a text's width and drawing at a base line.
void ApplicationFont(platform::StyleField face);
int16_t LineOf(const platform::FontInfo& info);
int16_t CurrentLine();
int16_t Width(const std::string& s);
void DrawAt(const std::string& s, int16_t h, int16_t v);
std::string PText(const unsigned char* p);

// The current port's font, size and face, put back when it ends: the
// previews measure in the port they are asked from.
class SavedFont {
public:
    SavedFont();
    ~SavedFont();
    SavedFont(const SavedFont&) = delete;
    SavedFont& operator=(const SavedFont&) = delete;

private:
    int16_t font_ = 0, size_ = 0;
    platform::StyleField face_ = 0;
    bool had_ = false;
};

// The look the document's forms are drawn in: the first byte of its own
// 'Look' 128 as a signed number, -1 without one (or without a document).
int16_t StructureLook(class TMainDoc* doc);

// The display-type pop-up (menu 1000 of 'STR#' 1010 items 1 to count, the
// current type marked with the first character of 'STR#' 1024 item 2) at
// `where`: the chosen type (0-based), `mode` when none is chosen.
int32_t ChooseDisplayMode(platform::Point where, int32_t mode, int16_t count);

// A click in a preview may scroll what it shows: the preview pane, above
// this folder, installs how its bars take the new scroll values.
using PreviewScrollProc = void (*)(int16_t h, int16_t v);
void SetPreviewScrollHook(PreviewScrollProc hook);
// Sets the bars of the pane being clicked (nothing without a hook).
void PreviewScrollTo(int16_t h, int16_t v);
