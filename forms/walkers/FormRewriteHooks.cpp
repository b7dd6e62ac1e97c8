#include "forms/walkers/FormRewriteHooks.h"

namespace {
FormRewriteHooks gHooks;
}

void SetFormRewriteHooks(const FormRewriteHooks& hooks) { gHooks = hooks; }
void ResetFormRewriteHooks() { gHooks = FormRewriteHooks{}; }
const FormRewriteHooks& GetFormRewriteHooks() { return gHooks; }
