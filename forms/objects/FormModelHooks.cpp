#include "forms/objects/FormModelHooks.h"

namespace {
FormModelHooks gHooks;
}

void SetFormModelHooks(const FormModelHooks& hooks) { gHooks = hooks; }
void ResetFormModelHooks() { gHooks = FormModelHooks{}; }
const FormModelHooks& GetFormModelHooks() { return gHooks; }

uint8_t ModelCurrentLayer(LayoutEditor* model)
{
    return model && gHooks.currentLayer ? gHooks.currentLayer(model) : 0;
}

platform::Handle EditorCritRoot(LayoutEditor* model)
{
    return model && gHooks.critRoot ? gHooks.critRoot(model) : nullptr;
}

VI_Handler* ModelDefaultHandler(LayoutEditor* model)
{
    return model && gHooks.defaultHandler ? gHooks.defaultHandler(model) : nullptr;
}

bool EachModelObjectChain(LayoutEditor* model, ObjectChainVisitor visit, void* context)
{
    return model && gHooks.eachObjectChain ? gHooks.eachObjectChain(model, visit, context) : false;
}

int16_t ModelMethodFile(LayoutEditor* model) { return model && gHooks.methodFile ? gHooks.methodFile(model) : 0; }

void RenameModelObjectMethod(LayoutEditor* model, int16_t methodId, const unsigned char* name)
{
    if (model && gHooks.renameObjectMethod) gHooks.renameObjectMethod(model, methodId, name);
}

void MarkModelChanged(LayoutEditor* model)
{
    if (model && gHooks.markChanged) gHooks.markChanged(model);
}

int16_t ModelTableOfList(LayoutEditor* model, int16_t entry)
{
    return model && gHooks.tableOfList ? gHooks.tableOfList(model, entry) : 0;
}

platform::Handle ModelSubformPicture(LayoutEditor* model, int16_t table, const unsigned char* formName,
                                     const platform::Rect& bounds)
{
    return model && gHooks.subformPicture ? gHooks.subformPicture(model, table, formName, bounds) : nullptr;
}
