# Kernel dialogs.

# The one-button message of attention (kernel/helpers/KernelDialogs.cpp):
# 1 OK, 2 the message (parameter text 0), 3 the note icon, 4 the user item
# whose drawing rings item 1 (Default). Placed and shown by getposdialog.
'DLOG' 301 {
    bounds 0 0 130 380
    proc 1
    invisible
    items 301
}

'DITL' 301 {
    button 96 290 116 360 "OK"
    static 14 70 86 364 "^0"
    icon 14 20 46 52 1
    user 92 286 120 364
}

# The output dialog (GetOutPutParms): 1 OK, 2 Cancel, 3 the contents, 4 the
# callers, 5 the objects used, 6 the message ('STR#' 1013 items 2 or 3 and
# 15 around the document's name), 10 the documentation; 11, exporting
# only, the older format (names and callers), which dims 3, 4, 5 and 10.
# 265 prints; 300 exports, then the save dialog names the file.
'DLOG' 265 "Print options" {
    bounds 0 0 196 380
    title "Print"
    proc 5
    invisible
    items 265
}
'DITL' 265 {
    button 160 290 180 364 "Print"
    button 160 200 180 274 "Cancel"
    checkbox 44 32 62 364 "What each object holds"
    checkbox 66 32 84 364 "The objects that use it"
    checkbox 88 32 106 364 "The objects it uses"
    static 14 16 34 364 "^0"
    static 0 0 0 0 ""
    static 0 0 0 0 ""
    static 0 0 0 0 ""
    checkbox 110 32 128 364 "Its documentation"
}
'DLOG' 300 "Export options" {
    bounds 0 0 220 380
    title "Export"
    proc 5
    invisible
    items 300
}
'DITL' 300 {
    button 184 290 204 364 "Export..."
    button 184 200 204 274 "Cancel"
    checkbox 44 32 62 364 "What each object holds"
    checkbox 66 32 84 364 "The objects that use it"
    checkbox 88 32 106 364 "The objects it uses"
    static 14 16 34 364 "^0"
    static 0 0 0 0 ""
    static 0 0 0 0 ""
    static 0 0 0 0 ""
    checkbox 110 32 128 364 "Its documentation"
    checkbox 140 16 158 364 "Older format: names and callers only"
}
# The place the save dialog of an export takes on the screen (its screen
# is saved around it).
'DLOG' 266 "Export destination" {
    bounds 0 0 300 440
    title ""
    proc 5
    invisible
    items 266
}
'DITL' 266 {
    static 0 0 0 0 ""
}
