#include "forms/walkers/FormDestHooks.h"

namespace {
FormDestHooks gHooks;
}

void SetFormDestHooks(const FormDestHooks& hooks) { gHooks = hooks; }
void ResetFormDestHooks() { gHooks = FormDestHooks{}; }
const FormDestHooks& GetFormDestHooks() { return gHooks; }
