# The design objects of a structure: kind names, command names, the
# information line and the questions an object asks.

# The name of each object kind, by kind number (GetTypeObjName).
'STR#' 1027 "Object kinds" {
    "Table"               # 1
    "Project method"      # 2
    "Command"             # 3
    "Choice list"         # 4
    "Menu bar"            # 5
    "Menu"                # 6
    "Plug-in"             # 7
    "Plug-in routine"     # 8
    "Variable"            # 9
    "Field help"          # 10
    "String list"         # 11
    "Style"               # 12
    "Set"                 # 13
    "Named selection"     # 14
    "Semaphore"           # 15
    "Database method"     # 16
    "Constant"            # 17
    "Picture"             # 18
    "Style sheet"         # 19
    "Resource"            # 20
    "List box"            # 21
    "Object"              # 22
    "Group"               # 23
    "Form"                # 24
    "Object method"       # 25
    "Table method"        # 26
    "Form method"         # 27
    "Field"               # 28
    "Subtable"            # 29
    "Table help"          # 30
    "Object"              # 31
    "Component"           # 32
    "Component folder"    # 33
}

# The language's commands by number: a command object's name (TCmdObjQz).
'STR#' 8 "Command names" {
    "ALL RECORDS"
    "QUERY"
    "ORDER BY"
    "SEARCH"
    "ADD RECORD"
    "MODIFY RECORD"
    "DELETE RECORD"
    "SAVE RECORD"
    "NEXT RECORD"
    "PREVIOUS RECORD"
    "FIRST RECORD"
    "LAST RECORD"
    "GOTO RECORD"
    "Records in selection"
    "Records in table"
    "Record number"
    "CREATE RECORD"
    "DISPLAY SELECTION"
    "MODIFY SELECTION"
    "OUTPUT FORM"
    "INPUT FORM"
    "DIALOG"
    "ALERT"
    "CONFIRM"
    "Request"
    "Current date"
    "Current time"
    "Length"
    "Substring"
    "Position"
    "Uppercase"
    "Lowercase"
    "String"
    "Num"
    "Abs"
    "Round"
    "Trunc"
    "Sum"
    "Average"
    "Max"
    "Min"
    "BEEP"
    "TRACE"
    "ABORT"
}

# Object output: 1 follows a structure's file name: its compiler
# declaration file (ReadCompFile); 7 in front of the page number of
# printed pages; 8 names a menu bar without a name of its own (followed by
# its slot, GetMBarName); 9-10 around the document's name: the save
# dialog's message (for an SQL script, around the script's path); 12
# follows an object's size in its information line; 16 follows an SQL
# script's name: its report (OpenSQL); 17 the same: the structure made of
# it, the save dialog's default name (SQL). The output dialog
# (GetOutPutParms): 2 and 3 before the document's name in its message
# (print, export), 15 after it; 5 after it in the save dialog's prompt
# (after 3); 6 after it in the proposed file name.
'STR#' 1013 "Object output" {
    ".decl.txt"
    "Print the objects of \""
    "Export the objects of \""
    ""
    "\" as:"
    " objects.txt"
    "Page"
    "Menu bar"
    "Save \""
    "\" as:"
    "Save the conflict list as:"   # 11 the conflict list's export
    " bytes"
    "(no method)"    # 13 a menu item that runs no method, in the menu preview
    "Made to replace a command: "  # 14 the comment of a method made by Replace Command
    "\" with:"
    ".report.txt"
    ".QzB"
    " could not be printed: "  # 18-19 around the cause: an object whose printing failed
    " Nothing was printed, and no file was changed."
    " could not be exported: "  # 20-21 the same for an export
    " Nothing was exported, and no file was changed."
    " objects"  # 22 after the document's name: the name of a list's print job (its PDF file's name)
}

# The report of an SQL script (SQL): an error line is item 1, the line
# number, the error's item (4 memory, 7 nesting too deep, 8 syntax, 9 and
# 10 a table or column past what a structure holds, 12 a table or column
# name with characters a structure cannot hold) and item 2 before the token
# at fault. Item 11 is the alert of a structure made whose report has
# remarks (OpenSQL). Item 13 is the remark of a script that is not UTF-8;
# 14-16 those of characters left out: "Line N left out: "C" in WRITTEN,
# which is read as NAME". Item 17 is the remark of a script read as Mac
# Roman; 18-22 those of what could not be read: "Line N, byte B: 0xE9 is
# not UTF-8: it was read as Windows-1252, "é"." (19), "Line N, byte B: a
# NUL character, left out." (20), "... 0xD800 is not UTF-16..." (21),
# "... 0x41 is the script's last byte..." (22).
'STR#' 1028 "Script errors" {
    "Line"
    "at"
    ""
    "out of memory"
    ""
    ""
    "statements nested too deeply"
    "syntax error"
    "one table more than the 255 a structure holds,"
    "one column more than the 511 fields a table holds,"
    "The structure was made. Its report, beside the SQL script under the script's name followed by \".report.txt\", has remarks: names merged or cut, characters left out or not read, or the script read as Windows-1252 or Mac Roman."
    "a name with characters a structure cannot hold, each shown here as ?,"
    "The script is not UTF-8: it was read as Windows-1252."
    "left out:"
    "in"
    "which is read as"
    "The script is not UTF-8 and holds bytes Windows-1252 does not: it was read as Mac Roman."
    "byte"
    "is not UTF-8: it was read as Windows-1252,"
    "a NUL character, left out."
    "is not UTF-16 (a surrogate without its pair): it was left out."
    "is the script's last byte, without its pair in UTF-16: it was left out."
}

# A link that cannot be parsed (CheckParseError): ^0 the object, ^1 why.
# Go on (1) parses the rest; Stop (2) ends the reading.
'ALRT' 1004 {
    bounds 0 0 140 420
    items 1004
    stages 0x5555
}
'DITL' 1004 {
    button 106 330 126 408 "Go On"
    button 106 238 126 316 "Stop"
    static 12 72 94 408 "The links of ^0 could not be read: ^1"
}

# An older object of a component about to be replaced (ModuleUpDate):
# ^0 the object, ^1 its date, ^2 the component's date. 1 keeps it,
# 2 replaces it and every other without asking, 3 keeps it and every
# other, 4 replaces it.
'ALRT' 1005 {
    bounds 0 0 160 460
    items 1005
    stages 0x5555
}
'DITL' 1005 {
    button 126 370 146 448 "Keep"
    button 126 190 146 274 "Replace All"
    button 126 282 146 362 "Keep All"
    button 126 100 146 182 "Replace"
    static 12 72 114 448 "^0 was changed on ^1 after the component was made; the component's copy is of ^2. Replace it?"
}

# A copy refused: the destination's object of that name is locked, or is a
# component or a component folder (DoMove). ^0 its qualified name.
'ALRT' 1009 {
    bounds 0 0 130 420
    items 1009
    stages 0x5555
}
'DITL' 1009 {
    button 96 330 116 408 "OK"
    static 12 72 84 408 "^0 cannot be replaced: it is locked or belongs to a component. Nothing was copied."
}

# The kinds by number: the progress line of reading a document (ReadQzB,
# after 'STR#' 1011 item 6, kinds 1 to 23) and the kind of a conflict's
# object in the conflict list, its filter pop-up and its export.
'STR#' 1008 "Kinds read" {
    "tables"
    "project methods"
    "commands"
    "choice lists"
    "menu bars"
    "menus"
    "plug-ins"
    "plug-in routines"
    "variables"
    "field help"
    "string lists"
    "styles"
    "sets"
    "named selections"
    "semaphores"
    "database methods"
    "constants"
    "pictures"
    "style sheets"
    "resources"
    "list boxes"
    "objects"
    "groups"
    "forms"
    "object methods"
    "table methods"
    "form methods"
    "fields"
    "subtables"
    "table help"
    ""
    "components"
    "component folders"
}

# The database methods, by their slot in 'DBPR' 0 (slot k is item k + 1),
# read by ReadObj.
'STR#' 1025 "Database methods" {
    "Start-up method"
    "Exit method"
    "Drop method"
    "Backup start method"
    "Backup end method"
    "Web connection method"
    "Web authentication method"
    "Server start-up method"
    "Server shut-down method"
    "Server connection method"
    "Server disconnection method"
    "System event method"
}

# Full names: 11 before a component's name, 12 before a component
# folder's (GetFullName). 2 heads the wait dialog of a component made,
# before the library's name (DoMove, M_Rename). 3 the first name of a new
# component, 4 the install's file dialog, 5-7 the folders, 13 after the
# structure's name: the report of a refused install, 14 a deleted table,
# 15-19 the question of an install over an older version.
'STR#' 1029 "Object names" {
    ""
    "Generating into "
    "Component"
    "Choose the component library to install."
    "Public"
    "Protected"
    "Private"
    " member"
    " members"
    "empty"
    "Component"
    "Folder"
    " Conflicts.txt"
    "Deleted_Table"
    "Replace the installed "
    " by "
    " of "
    ", version "
    " number "
}

# Command parameter descriptors, read by the method link parser: a count,
# then (parameter number, object kind) pairs. Their ids also set the bits
# of the in-memory 'xPRM' 0. Parameter 1 of these commands names a set
# (kind 13); left empty it is the user's set "UserSet".
'APRM' 396 { $"0001 0001 000D" }
'APRM' 641 { $"0001 0001 000D" }
'APRM' 646 { $"0001 0001 000D" }
'APRM' 656 { $"0001 0001 000D" }

# A field's type names (design/preview/FieldDescription.cpp), the item of
# each stored type as kernel/fields/FieldTypes.h gives it: 1 alpha (0),
# 2 text (2), 3 real (1), 4 integer (8), 5 long integer (9), 6 date (4),
# 7 time (11), 8 boolean (6), 9 picture (3), 11 BLOB (30).
'STR#' 1014 "Field types" {
    "Alpha"
    "Text"
    "Real"
    "Integer"
    "Long integer"
    "Date"
    "Time"
    "Boolean"
    "Picture"
    ""
    "BLOB"
}

# A field's attribute lines, in this order: 0x20 (1); 0x04 set (2) or clear
# (3); 0x08 set (4) or clear (5); 0x80 (6); 0x40 (7); 0x10 (8); 0x01 (9).
'STR#' 1015 "Field attributes" {
    "Mandatory"
    "Enterable"
    "Not enterable"
    "Modifiable"
    "Not modifiable"
    "Indexed"
    "Unique"
    "Invisible"
    "Display only"
}

# The platforms of a style sheet's font blocks, item platform + 1, in front
# of each line of its preview and export (GetPlatformStyle).
'STR#' 1026 "Style sheet platforms" {
    "Mac OS: "
    "Mac OS, older: "
    "Windows: "
    "Mac OS X: "
    "Windows, newer: "
}
