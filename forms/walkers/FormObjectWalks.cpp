#include "forms/walkers/FormObjectWalks.h"

namespace {
FormObjectWalks gWalks;
}

void SetFormObjectWalks(const FormObjectWalks& walks) { gWalks = walks; }
void ResetFormObjectWalks() { gWalks = FormObjectWalks{}; }
const FormObjectWalks& CurrentFormObjectWalks() { return gWalks; }
