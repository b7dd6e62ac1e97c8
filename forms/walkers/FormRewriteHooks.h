// What the rewriting and searching walkers of stored forms ask of the
// design layer above: the browser's text match and replace, the renaming
// of a form's object method, and the turning of one text into a string
// list reference. The design layer installs them (InstallFormRewriteHooks);
// until then nothing matches, nothing is replaced or renamed and no text
// is turned.
#pragma once

#include <cstdint>

class TObjQz;
class TLayoutObjQz;

struct FormRewriteHooks {
    // Whether `text` (of any length) matches `pattern` in the search mode
    // (1 equal, 2 and 3 contains, 4 begins with, 5 ends with).
    bool (*match)(const uint8_t* text, int32_t length, const unsigned char* pattern, int16_t mode) = nullptr;
    // Every `find` in the buffer replaced; the buffer has room for the
    // grown text.
    void (*replace)(uint8_t* buffer, int32_t* length, const unsigned char* find, const unsigned char* replacement) =
        nullptr;
    // The object method `methodId` of the form's object-method list takes
    // `name`; nothing when there is none.
    void (*renameMethod)(TLayoutObjQz* form, int16_t methodId, const unsigned char* name) = nullptr;
    // The form's DoItTxtStr: `text` becomes a reference to an item of the
    // string list in *strObj (which it may change); 0 or an error.
    int16_t (*doItTxtStr)(TLayoutObjQz* form, unsigned char* text, TObjQz** strObj, void* strList,
                          unsigned char* nameBuffer, bool* changed) = nullptr;
};

void SetFormRewriteHooks(const FormRewriteHooks& hooks);
void ResetFormRewriteHooks();
const FormRewriteHooks& GetFormRewriteHooks();
