// The links of a stored form: the walker that records, as cross-references
// of the form object, every design object a stored IFF form names (its
// inherited form, tables and fields, subforms, variables, object methods,
// pictures, string lists, choice lists, styles, style sheets and help tips).
// The look-ups go through the hooks the design layer installs
// (FormLinkHooks.h).
#pragma once

#include <cstdint>

#include "forms/walkers/WalkerFrame.h"
#include "platform/core/MacTypes.h"

// 0; -108 when memory ran out while recording (the links made so far
// stay); kFormWalkFailed when the image cannot be read.
int16_t ParseIFFForm(platform::Handle form, TLayoutObjQz* formObject);

// The handlers of the ParseIFFForm column of the frame table.
IFFP ParseLinkFlagObject(_GroupContext* context);
IFFP ParseLinkFontProp(_GroupContext* context);
IFFP ParseLinkStaticPict(_GroupContext* context);
IFFP ParseLinkTextObject(_GroupContext* context);
IFFP ParseLinkMultObject(_GroupContext* context);
IFFP ParseLinkFieldObject(_GroupContext* context);
IFFP ParseLinkVarObject(_GroupContext* context);
// Holds the "SATT" read as the frame's pending entry attributes, for the
// "FILD" or "VAR " that follows.
IFFP ReadSattLinks(_GroupContext* context);
