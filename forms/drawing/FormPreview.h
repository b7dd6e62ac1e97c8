// A form's preview: the whole form drawn in its look into a picture of its
// size (each side held to 4000), with its inherited form behind it, for
// the preview pane, subforms and inherited forms.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

class LayoutEditor;
class LayoutObject;

// What the preview shows: 0 the page over page 0 and the inherited form,
// texts resolved; 1 the page's own objects, texts resolved; 2 as 0 with
// variables' and fields' names.
constexpr int16_t kDisplayDrawing = 0;
constexpr int16_t kDisplayOutline = 1;
constexpr int16_t kDisplayText = 2;
// The largest side of a preview.
constexpr int16_t kPreviewMaxSide = 4000;

// The preview's size: the form's limits, each side held to 1..4000; an
// object wholly past 4000 either way does not count.
void PreviewSize(LayoutEditor* editor, int16_t* width, int16_t* height);
// Draws the chain's objects in their order, each group's members after the
// group, moved by (dh, dv), into the current port; only the selected ones
// when asked. An object later ones paint over entirely paints no pixel:
// the pixels come out as if it had.
void DrawObjectChain(LayoutObject* first, LayoutEditor* editor, int16_t dh, int16_t dv,
                     bool selectedOnly = false);
// The preview picture of the editor's current page (null when memory runs
// out); recorded at 72 dpi.
platform::Handle NewBuildPictFromLayout(LayoutEditor* editor, int16_t displayType);
// The picture of a page for copies and printing (the model's preview proc):
// page -1 is the current page (the current page is current again after);
// only the selected objects when asked; the look's background, page 0 and
// the inherited form only with `background` (else white behind).
platform::Handle FormPagePreview(LayoutEditor* editor, int16_t page, bool selectedOnly, bool background);
// The form models' subform pictures (FormModelHooks): the preview of the
// table's form of that name; null for none, for the model's own form and
// for a form whose preview is being built.
platform::Handle SubformPicture(LayoutEditor* model, int16_t table, const unsigned char* formName,
                                const platform::Rect& bounds);
