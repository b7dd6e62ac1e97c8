// The walkers that rewrite and search the visible texts and the names
// inside stored forms: renaming every reference to a renamed design object
// (ReplaceInIFFLayOut), replacing a literal text (ReplaceTxtIFF), searching
// one (SearchTxtIFF), and moving texts into string lists and back
// (TxtToStrIFF, StrToTxtIFF).
//
// A rewriting walker empties its output handle and fills it with the whole
// rewritten image: each chunk it changes is written with every byte as
// stored but the changed fields, every other chunk and every group it does
// not enter as stored. It answers 0, or kFormWalkFailed when the image
// cannot be read (the output is then empty and must not be stored). Images
// stored in the other byte order are refused by the rewriting walkers.
//
// Texts are compared, matched, replaced and turned through the hooks the
// design layer installs (FormRewriteHooks.h); names are compared with
// rel2str.
#pragma once

#include <cstdint>

#include "forms/walkers/WalkerFrame.h"
#include "platform/core/MacTypes.h"

class TObjQz;

// The texts collected while form texts go into string lists; the command
// that converts makes and frees it.
extern platform::Handle G_StrArrHdl;

// Object kinds a rename concerns.
enum : int16_t { kRenamedTable = 1, kRenamedVariable = 9, kRenamedStyle = 12, kRenamedListBoxVariable = 21,
                 kRenamedForm = 24 };

// The references to the object of `kind` named `oldName` take `newName`:
// variables in static texts, "VAR " and list boxes (and their object
// methods in the form's list), tables in the field references of static
// texts, styles in formats and entry filters, forms in subforms and the
// inherited form. With `renamedOwner` (the table of a renamed form), a
// form reference is renamed only when it names a form of that table.
int16_t ReplaceInIFFLayOut(platform::Handle source, platform::Handle output, int16_t kind,
                           const unsigned char* oldName, const unsigned char* newName, TLayoutObjQz* form,
                           TObjQz* renamedOwner = nullptr);
// Every `find` in the form text, static texts, group box titles, the
// titles of buttons and list box columns becomes `replacement`; a text
// kept in 255 characters that would grow past them stays as it was and is
// counted in *leftWhole (when given).
int16_t ReplaceTxtIFF(platform::Handle source, platform::Handle output, const unsigned char* find,
                      const unsigned char* replacement, int32_t* leftWhole = nullptr);
// 1 when `text` matches in mode `mode` a visible text of the form (or a
// name the search looks at), else 0; also 0 for an image that cannot be
// read before a match.
uint8_t SearchTxtIFF(platform::Handle form, const char* text, int16_t mode);
// The form text, static texts and group box titles without references,
// button and list box column titles each become a reference to a string
// list item through the form's DoItTxtStr (`strObj`: the string list in
// use, which a conversion may move on to a new one). A text DoItTxtStr
// refuses fails the walk (kFormWalkFailed), so that no form is stored
// half converted.
int16_t TxtToStrIFF(platform::Handle source, platform::Handle output, TObjQz** strObj, unsigned char* nameBuffer,
                    TLayoutObjQz* form);
// Each of those texts that is a string list reference becomes the item's
// text, fetched from the resource chain; a reference whose item is missing
// stays as it is.
int16_t StrToTxtIFF(platform::Handle source, platform::Handle output);

// Whether the text holds a "<" (a reference the form fills in).
bool HasStaticRef(const uint8_t* text, int32_t length);
// Whether a list box variable of `range` named `plainName` (no prefix) is
// the renamed variable (kind 9, the interprocess prefix in front of an
// interprocess one) or list box variable (kind 21).
bool ListBoxCompareVarName(const unsigned char* plainName, int16_t range, int16_t kind, const unsigned char* oldName);

// The handlers of the walkers' frames.
IFFP FlagReplace(_GroupContext* context);
IFFP TextReplace(_GroupContext* context);
IFFP SattReplace(_GroupContext* context);
IFFP VarReplace(_GroupContext* context);
IFFP FildReplace(_GroupContext* context);
IFFP MultReplace(_GroupContext* context);
IFFP ListBoxReplace(_GroupContext* context);
IFFP FlagTxtReplace(_GroupContext* context);
IFFP TextTxtReplace(_GroupContext* context);
IFFP VarTxtReplace(_GroupContext* context);
IFFP ListBoxTxtReplace(_GroupContext* context);
IFFP FlagTxtSearch(_GroupContext* context);
IFFP TextTxtSearch(_GroupContext* context);
IFFP VarTxtSearch(_GroupContext* context);
IFFP ListboxTxtSearch(_GroupContext* context);
IFFP FlagToStr(_GroupContext* context);
IFFP TextToStr(_GroupContext* context);
IFFP VarToStr(_GroupContext* context);
IFFP ListBoxToStr(_GroupContext* context);
IFFP StrToFlag(_GroupContext* context);
IFFP StrToText(_GroupContext* context);
IFFP StrToVar(_GroupContext* context);
IFFP StrToListBox(_GroupContext* context);
