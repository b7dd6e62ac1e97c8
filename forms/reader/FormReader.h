// Reading a stored form into objects: the get-form procedure GetFormQz for
// FORM 'LAYO' (a form), 'OBJS' (objects from the scrap) and 'OBJG' (the
// members of the group object read just before it), with the naming of
// objects that have none and the names kept unique within a form.
//
// The frame (ReadingFrame.h) collects the objects of the page being read;
// "PAGE" hands them to the page table, the end of an 'OBJG' to its group.
// ReadFormImage ends with everything read in the page table, which is the
// caller's after a success and destroyed after a failure.
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"
#include "forms/layout/ReadingFrame.h"
#include "platform/core/MacTypes.h"

class LayoutObject;

IFFP GetFormQz(_GroupContext* context);

// A frame ready to read: the kernel's default properties, the layout
// info's defaults, GetFormQz as its get-form procedure.
void InitFormReadingFrame(CustomClientFrame* frame, LayoutEditor* formModel);

// Reads the form image in `form` (a FORM 'LAYO') into a new page table and
// the frame's layout info; objects read after the last "PAGE", or outside
// any form, go to the last page and the frame's list is left empty. On a
// failure the objects read are destroyed and the pages are null.
IFFP ReadFormImage(platform::Handle form, CustomClientFrame* frame);

// Gives an object without a name the default name of its kernel type:
// item (type) of the application's list 803 and the type's counter, after
// incrementing it; at most 31 characters.
void NameObject(int16_t type, LayoutObject* object, int32_t* counters, platform::Handle pages);
// Keeps at most 31 characters of the name without control characters,
// makes it unique among the model's objects (every page, groups included,
// and the objects outside the pages; FormModelHooks.h) and the chain
// `alsoIn` starts, and sets it.
void AcceptObjectName(const unsigned char* name, LayoutObject* object, LayoutEditor* model,
                      LayoutObject* alsoIn = nullptr);
// The name's trailing digits replaced by `number`, the rest cut to fit 31.
void MakeNewName(unsigned char* name, int32_t number);
void ResetObjIndex();
// Deletes every object of every page (last page first, each page in chain
// order) and frees the table.
void DestroyPages(platform::Handle pages);
// Deletes a chain of objects.
void DestroyObjects(LayoutObject* first);
// The fonts of a "FON#" chunk: nothing is done with them.
void AdjustFonts(platform::Handle pages, platform::Handle fonts);
