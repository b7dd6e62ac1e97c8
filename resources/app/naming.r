# The dialogs that ask for a new name or a pair of texts before the browser
# renames objects or rewrites their text (browser/dialogs/RenameDialog,
# NamingDialogs, StrListDialog, CmdReplaceDialog), and the form scaling
# dialog.

# The rename dialog (GetReplace): 262 with the objects that use the object
# (the ones checked are rewritten), 263 the name alone. 1 Rename, 2 Cancel,
# 3 the new name, 4 the prompt ('STR#' 1001 items 16 and 17 around the
# name), 5 every user, 7 the users (pick-list rows), 8 the list's header
# with its filter pop-up ('STR#' 1009 item 3). The frames, header and list
# are user items the dialog draws.
'DLOG' 262 "Rename" {
    bounds 0 0 366 420
    title "Rename"
    proc 5
    invisible
    items 262
}
'DITL' 262 {
    button 330 324 350 404 "Rename"
    button 330 232 350 312 "Cancel"
    edit 44 19 60 401 ""
    static 12 16 36 404 "" disabled
    checkbox 70 16 88 404 "Rewrite every object that uses it"
    static 0 0 0 0 "" disabled
    user 120 16 318 404 disabled
    user 98 16 118 404
}
'DLOG' 263 "Rename only" {
    bounds 0 0 114 420
    title "Rename"
    proc 5
    invisible
    items 263
}
'DITL' 263 {
    button 78 324 98 404 "Rename"
    button 78 232 98 312 "Cancel"
    edit 44 19 60 401 ""
    static 12 16 36 404 "" disabled
}

# The name of a new group (GetGroupName): 1 OK, 2 Cancel, 3 the name.
'DLOG' 275 "Group name" {
    bounds 0 0 114 380
    title "New Group"
    proc 5
    invisible
    items 275
}
'DITL' 275 {
    button 78 284 98 364 "OK"
    button 78 192 98 272 "Cancel"
    edit 44 19 60 361 ""
    static 12 16 36 364 "Name of the new group:" disabled
}

# The prefix put in front of the selected objects' names (GetPrefix): 1 OK,
# 2 Cancel, 3 the prefix.
'DLOG' 278 "Prefix" {
    bounds 0 0 114 380
    title "Add Prefix"
    proc 5
    invisible
    items 278
}
'DITL' 278 {
    button 78 284 98 364 "OK"
    button 78 192 98 272 "Cancel"
    edit 44 19 60 361 ""
    static 12 16 36 364 "Prefix to put in front of the selected objects' names:" disabled
}

# A text replaced inside the selected objects' names (GetSel_Replace): 1 OK,
# 2 Cancel, 3 the text to find, 4 its replacement.
'DLOG' 279 "Replace in names" {
    bounds 0 0 140 380
    title "Replace in Names"
    proc 5
    invisible
    items 279
}
'DITL' 279 {
    button 104 284 124 364 "Replace"
    button 104 192 124 272 "Cancel"
    edit 16 131 32 361 ""
    edit 48 131 64 361 ""
    static 16 16 34 124 "Find:" disabled
    static 48 16 66 124 "Replace with:" disabled
}

# A text replaced in the selected objects' texts (GetTxt_Replace): 1 OK, 2
# Cancel, 3 the text to find, 4 its replacement.
'DLOG' 282 "Replace text" {
    bounds 0 0 140 380
    title "Replace Text"
    proc 5
    invisible
    items 282
}
'DITL' 282 {
    button 104 284 124 364 "Replace"
    button 104 192 124 272 "Cancel"
    edit 16 131 32 361 ""
    edit 48 131 64 361 ""
    static 16 16 34 124 "Find:" disabled
    static 48 16 66 124 "Replace with:" disabled
}

# A command's calls replaced by calls of a project method (GetCmd_Replace):
# 1 Replace (both chosen), 2 Cancel, 3 Create and Replace (a new method of
# the typed name), 4 the commands and methods to replace (pick-list rows),
# 5 the one chosen, 6 the project methods, 7 the replacement.
'DLOG' 283 "Replace command" {
    bounds 0 0 372 520
    title "Replace Command"
    proc 5
    invisible
    items 283
}
'DITL' 283 {
    button 336 424 356 504 "Replace"
    button 336 332 356 412 "Cancel"
    button 336 16 356 196 "Create and Replace"
    user 36 16 292 252 disabled
    edit 302 19 318 249 ""
    user 36 268 292 504 disabled
    edit 302 271 318 501 ""
    static 12 16 30 252 "Replace the calls of:" disabled
    static 12 268 30 504 "By calls of:" disabled
}

# The string list that literal texts go into (GetStrListID): 1 OK, 2
# Cancel, 3 Add (a new list of the typed name and id), 4 the lists of the
# structure (list definition 1003: name, id, number of strings), 5 the new
# list's name, 6 its id (from 15000 to 32000), 7 the columns' header
# ('STR#' 1001 items 46, 11 and 12), 11 a separator.
'DLOG' 261 "String list" {
    bounds 0 0 362 380
    title "Texts to String List"
    proc 5
    invisible
    items 261
}
'DITL' 261 {
    button 326 284 346 364 "OK"
    button 326 192 346 272 "Cancel"
    button 266 284 286 364 "Add"
    user 34 16 242 364 disabled
    edit 266 19 282 183 ""
    edit 266 199 282 265 ""
    user 14 16 32 364 disabled
    static 290 16 306 186 "Name" disabled
    static 290 196 306 268 "ID" disabled
    static 0 0 0 0 "" disabled
    user 254 16 256 364 disabled
}

# The scaling of the selected forms (GetScaleLayoutParm): 1 OK, 2 Cancel,
# 6 enlarge, 7 reduce, 8 the scale typed in 9, 11 the text and pictures
# scaled too.
'DLOG' 130 "Scale forms" {
    bounds 0 0 190 340
    title "Scale Forms"
    proc 5
    invisible
    items 130
}
'DITL' 130 {
    button 154 244 174 324 "OK"
    button 154 152 174 232 "Cancel"
    static 12 16 30 324 "Scale the selected forms:" disabled
    static 0 0 0 0 "" disabled
    static 0 0 0 0 "" disabled
    radio 38 32 56 324 "Enlarge (134 %)"
    radio 60 32 78 324 "Reduce (75 %)"
    radio 82 32 100 120 "Scale to"
    edit 83 125 99 165 "100"
    static 82 172 100 324 "%" disabled
    checkbox 116 16 134 324 "Scale the texts too"
}

# A question whose second answer keeps what was there (a drop on a
# component's folder): ^0, OK and Cancel.
'ALRT' 1007 {
    bounds 0 0 140 420
    items 1007
    stages 0x5555
}
'DITL' 1007 {
    button 106 330 126 408 "OK"
    button 106 238 126 316 "Cancel"
    static 12 72 94 408 "^0"
}

