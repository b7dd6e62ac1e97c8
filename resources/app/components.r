# The component commands (transfer/components, browser/dialogs/ModuleDialog).

# The component dialog (GetModule): 110 for a new component project or the
# properties of one, 111 for an installed component, shown only. 1 OK,
# 2 Cancel, 3 name, 4 date, 5 version, 6 version number, 7 prefix,
# 8 comments, 9 made of the selected objects, 10 empty, 11 rename the
# private objects with the prefix, 12 the prefix's label; 13-17 labels.
'DLOG' 110 "Component" {
    bounds 0 0 336 440
    title "Component"
    proc 5
    invisible
    items 110
}
'DITL' 110 {
    button 300 346 320 424 "OK"
    button 300 258 320 336 "Cancel"
    edit 16 112 32 424 ""
    edit 44 112 60 260 ""
    edit 72 112 88 424 ""
    edit 100 112 116 200 ""
    edit 156 112 172 160 ""
    edit 184 112 240 424 ""
    radio 256 16 274 220 "Of the selected objects"
    radio 256 230 274 424 "Empty"
    checkbox 128 16 146 424 "Rename the private objects with a prefix"
    static 156 16 172 104 "Prefix" disabled
    static 16 16 32 104 "Name" disabled
    static 44 16 60 104 "Date" disabled
    static 72 16 88 104 "Version" disabled
    static 100 16 116 104 "Number" disabled
    static 184 16 200 104 "Comments" disabled
}

'DLOG' 111 "Installed component" {
    bounds 0 0 300 440
    title "Installed component"
    proc 5
    invisible
    items 111
}
'DITL' 111 {
    button 264 346 284 424 "OK"
    static 0 0 0 0 "" disabled
    static 16 112 32 424 "" disabled
    static 44 112 60 424 "" disabled
    static 72 112 88 424 "" disabled
    static 100 112 116 424 "" disabled
    static 156 112 172 424 "" disabled
    static 184 112 248 424 "" disabled
    static 0 0 0 0 "" disabled
    static 0 0 0 0 "" disabled
    checkbox 128 16 146 424 "Private objects renamed with a prefix" disabled
    static 156 16 172 104 "Prefix" disabled
    static 16 16 32 104 "Name" disabled
    static 44 16 60 104 "Date" disabled
    static 72 16 88 104 "Version" disabled
    static 100 16 116 104 "Number" disabled
    static 184 16 200 104 "Comments" disabled
}

# An interface table of the component without a counterpart in the
# structure (ModuleConflicts): ^0 the table. 1 copies it, 2 stops the
# install, 3 links it to a table of the structure (the table link dialog).
'ALRT' 1006 {
    bounds 0 0 150 460
    items 1006
    stages 0x5555
}
'DITL' 1006 {
    button 116 370 136 448 "Copy"
    button 116 190 136 274 "Stop"
    button 116 282 136 362 "Link..."
    static 12 72 104 448 "^0 is a table other objects of the structure may use, and the structure has no table of that name. Copy it as it is, or link it to a table of the structure?"
}

# An install refused (ModuleConflicts): ^0 the structure. The objects
# that refused are listed in the report file beside it.
'ALRT' 1008 {
    bounds 0 0 150 440
    items 1008
    stages 0x5555
}
'DITL' 1008 {
    button 116 350 136 428 "OK"
    static 12 72 104 428 "The component cannot be installed: some of its objects would replace objects of ^0 that belong to no version of it. Their names are in the conflicts file beside the structure."
}
