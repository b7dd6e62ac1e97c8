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
