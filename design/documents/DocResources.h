// Which open document the resource layer works on. Every open container
// keeps its own parameter record 'PRQz' 0; making a container current
// (UseQzRes) makes its record the one `hparam` names, so that two open
// documents never see each other's parameters.
#pragma once

#include <cstdint>

#include "forms/drawing/StyleSheetsInUse.h"
#include "kernel/store/StoreAccess.h"
#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

// numresfalse (kernel/store/StoreAccess.h): the current container.
// The document being opened.
extern platform::FSSpec gStructFileSpec;
// Older-format flags of the last open: from503 when the container reported
// an older container version; the other two are only ever cleared here.
extern bool from503;
extern bool from55;
extern bool from40;
// The current style table of the open document (curStyles, dropped on
// close) is the forms drawing's.

// Makes `container` current for the resource layer: numresfalse takes it,
// the store makes it current and `hparam` becomes its parameter record
// (null when it has none registered).
void UseQzRes(int16_t container);

// The parameter record kept for an open container: a copy of its 'PRQz' 0
// owned here. Registering replaces (and frees) a previous one; forgetting
// frees it and clears hparam when it was the current one.
void SetDocParamRecord(int16_t container, platform::Handle record);
platform::Handle DocParamRecord(int16_t container);
void ForgetDocParamRecord(int16_t container);
// True when `h` is one of the records owned here.
bool IsDocParamRecord(platform::Handle h);

// Forgets every record and clears the globals above (tests).
void ResetDocResources();
