// What the form objects and the form reader ask of the form model
// (LayoutEditor) that owns them. The form model installs its answers
// (SetFormModelHooks) when it starts; until then, and for any slot left
// null, the answers are those of a form without a model:
//   currentLayer        layer 0
//   critRoot            no own table, so no field list
//   defaultHandler      no look handler
//   eachObjectChain     no objects to keep names apart from
//   methodFile          object methods go to the current resource file
//   renameObjectMethod, markChanged   nothing
//   tableOfList         the form's table list is empty
//   subformPicture      no preview
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class LayoutEditor;
class LayoutObject;
class VI_Handler;

// Called with the first object of one chain of the form's objects; true
// ends the walk.
using ObjectChainVisitor = bool (*)(LayoutObject* first, void* context);

struct FormModelHooks {
    // The layer new objects of the model go to (0 to 9).
    uint8_t (*currentLayer)(LayoutEditor* model) = nullptr;
    // The field list of the form's own table (FormTables.h layout).
    platform::Handle (*critRoot)(LayoutEditor* model) = nullptr;
    // The handler of the form's look, for objects without one of their own.
    VI_Handler* (*defaultHandler)(LayoutEditor* model) = nullptr;
    // Hands `visit` the first object of every chain the model holds: every
    // page, the last first (the page being edited with what it holds now),
    // then the objects outside the pages. Answers what `visit` last did.
    bool (*eachObjectChain)(LayoutEditor* model, ObjectChainVisitor visit, void* context) = nullptr;
    // The resource file (its number) that receives the object methods read
    // with the model's objects; 0 or less: the current one.
    int16_t (*methodFile)(LayoutEditor* model) = nullptr;
    // The object method of that id now goes by the variable's new name.
    void (*renameObjectMethod)(LayoutEditor* model, int16_t methodId, const unsigned char* name) = nullptr;
    // The model holds changes to save.
    void (*markChanged)(LayoutEditor* model) = nullptr;
    // The table number at entry `entry` (1-based) of the form's table list;
    // 0 when the list holds no such entry.
    int16_t (*tableOfList)(LayoutEditor* model, int16_t entry) = nullptr;
    // A picture of the form of that name of table `table`, drawn to fit
    // `bounds`; null when the table has no such form.
    platform::Handle (*subformPicture)(LayoutEditor* model, int16_t table, const unsigned char* formName,
                                       const platform::Rect& bounds) = nullptr;
};

void SetFormModelHooks(const FormModelHooks& hooks);
void ResetFormModelHooks();
const FormModelHooks& GetFormModelHooks();

// The wrappers: each answers the default above without a model or a hook.
uint8_t ModelCurrentLayer(LayoutEditor* model);
platform::Handle EditorCritRoot(LayoutEditor* model);
VI_Handler* ModelDefaultHandler(LayoutEditor* model);
bool EachModelObjectChain(LayoutEditor* model, ObjectChainVisitor visit, void* context);
int16_t ModelMethodFile(LayoutEditor* model);
void RenameModelObjectMethod(LayoutEditor* model, int16_t methodId, const unsigned char* name);
void MarkModelChanged(LayoutEditor* model);
int16_t ModelTableOfList(LayoutEditor* model, int16_t entry);
platform::Handle ModelSubformPicture(LayoutEditor* model, int16_t table, const unsigned char* formName,
                                     const platform::Rect& bounds);
