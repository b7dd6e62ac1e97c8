// The panes of the application's own windows are built by the browser,
// above this folder: it fills these calls at start-up. Until then windows
// open without panes.
#pragma once

#include <cstdint>

class TObjQz;
class TPlan;
class TWindow;

struct AppPaneHooks {
    // Each makes and initialises its pane over (0, 0, 100, 100): 0 with the
    // pane in *pane, or the error with nothing made.
    int16_t (*makeClipPlane)(TWindow* window, TPlan** pane) = nullptr;
    int16_t (*makeDocPlane)(TWindow* editor, TWindow* browser, TPlan** pane) = nullptr;
    // The string-list editor's pane over the list `obj`.
    int16_t (*makeStrPlane)(TWindow* editor, TObjQz* obj, TPlan** pane) = nullptr;
    // A new browser pane of a 'WNDD' pane kind (0 list, 1 uses, 2 used by,
    // 3 preview), not yet initialised; null when it cannot be made.
    TPlan* (*makeRefPlane)(int16_t kind) = nullptr;
    // The list filter editor: true when it saved the filters anew.
    bool (*editFilters)() = nullptr;
    // Refills the filter menus of a browser window's panes (any may be null).
    void (*updateFilters)(TPlan* usedBy, TPlan* list, TPlan* uses) = nullptr;
    // The object's own list of the objects that `obj` uses (or that use
    // it, with `callers`; not a copy: the panes keep it until the object
    // goes), and the filter record of a filter id; null when none.
    char** (*objectLinks)(TObjQz* obj, bool callers) = nullptr;
    char** (*filterRecord)(int16_t filter) = nullptr;
    // The object records that it has documentation.
    void (*setDocFlag)(TObjQz* obj) = nullptr;
};

AppPaneHooks& PaneHooks();
