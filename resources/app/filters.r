# The dialogs of list filters, searches and dependency blocking
# (browser/dialogs/).

# The criteria dialog (GetSearchFilter): 1 OK, 2 Cancel, 3 the kind list's
# header (a click checks every kind, with Option none), 4 the operator
# pop-up, 5 where a search looks (searching only), 6 the kind list, 7 the
# compared text, 9 a separator, 10 the title, 11 all kinds, 12 no kind, 13
# also search the text inside, 16 the search's note, 18-20 the three-way
# criteria (CNTL 26418-26420), 21 the subject pop-up. Pop-ups, frames and
# the list are user items the dialog draws.
'DLOG' 264 "Criteria" {
    bounds 0 0 376 440
    title "Criteria"
    proc 5
    invisible
    items 264
}
'DITL' 264 {
    button 340 344 360 424 "Find"
    button 340 256 360 336 "Cancel"
    user 62 16 80 200
    user 108 216 128 424
    user 276 216 296 424
    user 80 16 300 200 disabled
    edit 136 219 152 421 ""
    static 62 216 80 424 "Compare the objects'" disabled
    user 52 16 54 424 disabled
    static 10 16 28 424 "" disabled
    checkbox 304 16 322 108 "All kinds"
    checkbox 304 112 322 200 "No kind"
    checkbox 158 216 176 424 "Also search inside the objects"
    static 184 216 202 424 "Keep only the objects:" disabled
    static 0 0 0 0 "" disabled
    static 30 16 48 424 "Lists the objects of the checked kinds that pass the test." disabled
    static 0 0 0 0 "" disabled
    control 206 216 224 424 26418
    control 228 216 246 424 26419
    control 250 216 268 424 26420
    user 84 216 104 424
}

# The three-way boxes of the criteria dialog (control definition 131):
# 2 not tested, 1 the objects that are so, 0 those that are not.
'CNTL' 26418 "Documented" {
    $"00CE 00D8 00E0 01A8 0002 0100 0002 0000 0830 0000 0000 0A44 6F63 756D 656E 7465 64"
}
'CNTL' 26419 "Used by no object" {
    $"00E4 00D8 00F6 01A8 0002 0100 0002 0000 0830 0000 0000 1155 7365 6420 6279 206E 6F20 6F62 6A65 6374"
}
'CNTL' 26420 "Blocks its dependencies" {
    $"00FA 00D8 010C 01A8 0002 0100 0002 0000 0830 0000 0000 1742 6C6F 636B 7320 6974 7320 6465 7065 6E64 656E 6369 6573"
}

# The filter dialog (EditFilters): 1 OK, 2 Cancel, 3 Add, 4 the filters
# (list definition 1004), 5 the name, 6 the header over the list whose
# three columns offer a filter in the where-used, main and uses lists
# (SICN 130; a click sets the column for every filter, with Option
# clears it), 10 the criteria of the chosen filter, 11 Rename, 15 Delete.
# The header starts 7 pixels right of the list's frame, so that its
# columns (from its left + 152) stand over the list's (from the rows'
# left + 158).
'DLOG' 268 "Filters" {
    bounds 0 0 332 352
    title "Filters"
    proc 5
    invisible
    items 268
}
'DITL' 268 {
    button 300 256 320 336 "OK"
    button 300 168 320 248 "Cancel"
    button 268 16 288 86 "Add"
    user 30 16 230 243 disabled
    edit 244 66 260 240 ""
    user 12 23 30 243 disabled
    static 242 16 260 62 "Name:" disabled
    static 0 0 0 0 "" disabled
    static 0 0 0 0 "" disabled
    button 30 256 50 336 "Criteria..."
    button 268 94 288 164 "Rename"
    static 0 0 0 0 "" disabled
    static 0 0 0 0 "" disabled
    static 0 0 0 0 "" disabled
    button 268 172 288 242 "Delete"
}

# The filter dialog's header columns: 0 the where-used list, 1 the main
# list, 2 the uses list.
'SICN' 130 "Filter columns" {
    icon
        "................"
        "................"
        "....X..........."
        "...XX..........."
        "..XXXXXXXXXXX..."
        ".XXXXXXXXXXXX..."
        "..XXXXXXXXXXX..."
        "...XX..........."
        "....X..........."
        "................"
        "................"
        "................"
        "................"
        "................"
        "................"
        "................"
    icon
        "................"
        "................"
        "..XXXXXXXXXXXX.."
        "................"
        "..XXXXXXXXXXXX.."
        "................"
        "..XXXXXXXXXXXX.."
        "................"
        "..XXXXXXXXXXXX.."
        "................"
        "..XXXXXXXXXXXX.."
        "................"
        "................"
        "................"
        "................"
        "................"
    icon
        "................"
        "................"
        "...........X...."
        "...........XX..."
        "..XXXXXXXXXXXX.."
        "..XXXXXXXXXXXXX."
        "..XXXXXXXXXXXX.."
        "...........XX..."
        "...........X...."
        "................"
        "................"
        "................"
        "................"
        "................"
        "................"
        "................"
}

# The blocking preferences (BlockingPref): 1 OK, 2 Cancel, 3 the header
# over the list (a click blocks every kind, with Option none), 6 the kinds
# of 'Oblk' 0 (list definition 1005).
'DLOG' 280 "Blocking" {
    bounds 0 0 330 300
    title "Blocking"
    proc 5
    invisible
    items 280
}
'DITL' 280 {
    button 292 204 312 284 "OK"
    button 292 116 312 196 "Cancel"
    user 12 16 30 284
    static 0 0 0 0 "" disabled
    static 0 0 0 0 "" disabled
    user 30 16 280 284 disabled
}
