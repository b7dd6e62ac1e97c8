// The links of a stored form: the walker that records, as cross-references
// of the form object, every design object a stored IFF form names (its
// inherited form, tables and fields, subforms, variables, object methods,
// pictures, string lists, choice lists, styles, style sheets, help tips and
// the variables of list boxes).
// The look-ups go through the hooks the design layer installs
// (FormLinkHooks.h).
class VLayoutGrid;
#pragma once

#include <cstdint>

#include "forms/walkers/WalkerFrame.h"
#include "platform/core/MacTypes.h"

// 0; -108 when memory ran out while recording (the links made so far
// stay); kFormWalkFailed when the image cannot be read.
int16_t ParseIFFForm(platform::Handle form, TLayoutObjQz* formObject);

// The same walk over a form copied into another document: `source` is the
// copy's image as it came from the source document, `sourceForm` the form
// copied (its document is searched), `target` the new form in the
// destination (it receives the links; variables and object methods are
// made in its document). Each object found is replaced by its counterpart
// through the copy's conflict list (FormDestHooks.h), and `dest` (emptied
// first) receives the image naming the counterparts, every other byte as
// stored; a reference without a counterpart takes its kind's rule (kept,
// cleared, -1, 0 or removed). The pending "SATT" is written just before
// the "FILD" or "VAR " that takes it, and not at all when none follows.
// 0, -108 when memory ran out, kFormWalkFailed for an image that cannot
// be read or written (the output is then empty and must not be stored).
int16_t ParseLinkIFFForm(platform::Handle source, platform::Handle dest, TLayoutObjQz* target,
                         TLayoutObjQz* sourceForm, C_ListRec* conflicts);

// The handlers of the ParseIFFForm column of the frame table.
IFFP ParseLinkFlagObject(_GroupContext* context);
IFFP ParseLinkFontProp(_GroupContext* context);
IFFP ParseLinkStaticPict(_GroupContext* context);
IFFP ParseLinkTextObject(_GroupContext* context);
IFFP ParseLinkMultObject(_GroupContext* context);
IFFP ParseLinkFieldObject(_GroupContext* context);
IFFP ParseLinkVarObject(_GroupContext* context);
// "GDTL": the list box read whole (its "GCOL" chunks with it), then its
// variables and methods (ListBoxRefVarMethod).
IFFP ParseLinkListboxObject(_GroupContext* context);
// The list box variable, then each column's header variable and column
// variable, each a list box object of the document; the list box's and
// each column's object method.
IFFP ListBoxRefVarMethod(_GroupContext* context, VLayoutGrid* grid);
// Holds the "SATT" read as the frame's pending entry attributes (and, for a
// copy, its bytes as stored), for the "FILD" or "VAR " that follows.
IFFP ReadSattLinks(_GroupContext* context);
