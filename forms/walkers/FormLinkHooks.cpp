#include "forms/walkers/FormLinkHooks.h"

namespace {
FormLinkHooks gHooks;
}

void SetFormLinkHooks(const FormLinkHooks& hooks) { gHooks = hooks; }
void ResetFormLinkHooks() { gHooks = FormLinkHooks{}; }
const FormLinkHooks& GetFormLinkHooks() { return gHooks; }
