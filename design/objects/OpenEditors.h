// The editor windows open on design objects (a string list's strings, an
// object's documentation), found among the windows of the object's
// document. An editor keeps its own copy of what it shows and writes it
// back when saved: a command that would change or free such an object asks
// here first and is refused while the window is open.
#pragma once

#include <cstdint>
#include <functional>

class TDocument;
class TEditWindow;
class TMainDoc;
class TObjQz;
class TPlan;

// A server's documentation that another user edits: what deleting it
// answers, having said so (TObjQz::DelDoc).
constexpr int16_t kDocLockedErr = 1011;

// The window of that class (4 string list, 5 documentation) of `doc` that
// edits `obj`, null when none.
TEditWindow* OpenEditor(TDocument* doc, const TObjQz* obj, int16_t windowClass);
// Puts the pane `makePane` makes (0 and the pane, or its error) into
// `editor`, a window of `doc` made hidden, and shows it: 0. Otherwise the
// window goes again, so that no half-made editor stays to take the keys,
// and the answer is why: the maker's error, memFullErr when memory ran out
// or it made no pane, -4 when there is no maker (`makePane` empty).
int16_t ShowEditorPane(TMainDoc* doc, TEditWindow* editor, const std::function<int16_t(TPlan**)>& makePane);
// Whether an editor shows `obj` or an object it holds and takes with it (a
// table's fields, forms and method, a form's methods, a method's locals):
// then the user is told, with the names of the object edited and of its
// document, and the command that asks must not go on.
bool RefusedForOpenEditor(TObjQz* obj);
// The document read again (TMainDoc::Reparse) with its editors left open,
// their typing kept: each is pointed at the object the read made of the
// kind, id and full name of its own. One whose object the read no longer
// makes closes, saying when typed text is lost. Reparse's result.
int16_t ReadAgainKeepingEditors(TMainDoc* doc);
