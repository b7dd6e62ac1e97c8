# Dialogs of the application's windows.

# The about box (DoGenerique), movable by its title bar: 1 the application's name, 2 the version
# line, 3 the free memory, 4 and 5 the credits; the texts are drawn into
# the user items.
'DLOG' 256 "About" {
    bounds 0 0 170 400
    title ""
    proc 5
    invisible
    items 256
}
'DITL' 256 {
    user 16 16 48 384
    user 52 16 68 384
    user 140 16 156 384
    user 80 16 98 384
    user 102 16 134 384
}

# The administrator password asked when a protected structure opens
# (CheckPassword): 1 OK, 4 the password, 5 Cancel.
'DLOG' 257 "Password" {
    bounds 0 0 140 360
    title ""
    proc 1
    invisible
    items 257
}
'DITL' 257 {
    button 104 270 124 344 "OK"
    static 16 16 34 344 "This structure is protected."
    static 44 16 62 344 "Administrator password:"
    edit 70 18 86 342 ""
    button 104 180 124 254 "Cancel"
}

# The general preferences (TAppl::Preferences): 1 OK, 2 Cancel, 7, 9, 21,
# 22 the start-up and display switches, 10 and 11 the size of new windows,
# 18-20 the layout of new browser windows: 'WNDD' 128 (list, uses, used by
# and preview), 129 (list and preview), 130 (list alone).
'DLOG' 259 "Preferences" {
    bounds 0 0 300 420
    title "Preferences"
    proc 5
    invisible
    items 259
}
'DITL' 259 {
    button 262 330 284 404 "OK"
    button 262 240 284 314 "Cancel"
    static 14 16 32 404 "New browser windows"
    static 40 16 58 100 "Width"
    static 66 16 84 100 "Height"
    static 96 16 114 404 "At start-up"
    checkbox 118 32 136 404 "Show the open dialog"
    static 0 0 0 0 ""
    checkbox 140 32 158 404 "Show the about box"
    edit 40 110 56 170 ""
    edit 66 110 82 170 ""
    static 168 16 186 404 "Layout"
    static 0 0 0 0 ""
    static 0 0 0 0 ""
    static 0 0 0 0 ""
    static 0 0 0 0 ""
    static 0 0 0 0 ""
    radio 190 32 208 140 "Full"
    radio 190 150 208 270 "List and preview"
    radio 190 280 208 404 "List"
    checkbox 216 16 234 404 "Ask before the last browser window of a structure closes"
    checkbox 238 16 256 404 "Show object ids in lists"
}
