// What turning form objects into kernel records (Convert2Obj) asks of the
// rest of the system: the own table of a form read without a form model.
// Until set, a form read alone has no own table (a field of table 0 keeps
// 0). Style sheets' fonts come from the style sheets in use
// (forms/drawing/StyleSheetsInUse.h).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class LayoutEditor;
class VI_Handler;

// The field list of the form being read into kernel records when no form
// model holds it (getform sets it for the form's table; null: none).
extern platform::Handle kernelFormCritRoot;
// The number of the form's own table: the model's, else the one above; 0
// when neither is known.
int16_t OwnTableNumber(LayoutEditor* model);

// The handler of a record's look: null when its look and look style are
// both 0.
VI_Handler* ObjLookHandler(platform::Handle record);
