// What the form writers share for each object: its chunks, then its
// themes; and the style-sheet heights the text readers rescale by.
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"

class LayoutObject;

IFFP WriteObjectAndThemes(LayoutObject* object, _GroupContext* context);

// The current line height of a style sheet (the style sheets in use,
// forms/drawing), -1 when it is not known: texts then keep their heights.
// A stand-in may be installed (tests).
using StyleSheetHeightProc = int16_t (*)(int16_t styleSheet);
void SetStyleSheetHeightProc(StyleSheetHeightProc proc);
int16_t GetStyleSheetHeight(int16_t styleSheet);
