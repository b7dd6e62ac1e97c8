// The design layer's side of the hooks the rewriting and searching walkers
// of stored forms call (forms/walkers/FormRewriteHooks.h): the browser's
// text match and replace, the renaming of a form's object method and the
// form's DoItTxtStr.
#pragma once

void InstallFormRewriteHooks();
