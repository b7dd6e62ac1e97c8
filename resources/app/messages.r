# Messages: the texts of alerts, error codes and memory warnings.

# The window titles and the close question (ITAppl, ConfirmClose).
#   1-2  the untitled names of new libraries (command 1) and structures (20)
#   3-4  the two halves around the document's name of the close question
#   5    the clipboard window's title
#   8    the message of the Open dialog
#   10   the filter dialog's list header
#   11   the resource id label of an object's information line; with 12
#        and 46 the columns of the string-list dialog (id, count, name)
#   16-19, 21 the rename dialog (browser/dialogs/RenameDialog.cpp)
#   20   the string-list editor's title, before the number of strings
#   22   the criteria dialog's kind list header
#   23-24 around the document's name: closing its last browser window
#   25   between a browser window's title and its number
#   30-35 the conflict dialogs (transfer/dialogs)
#   38   in front of the document's name: the documentation editors
#   39   the documentation editor's label of the dependency mark
#   40-41 before the date and before the time of the object's change
#   42, 44 the conflict preferences' title, an exported conflict list's name
#   43   the blocking preferences' list header
#   45   the message of the open dialog of SQL scripts (command 30)
'STR#' 1001 "Windows" {
    "Untitled Library"
    "Untitled Structure"
    "Save changes to \""
    "\" before closing?"
    "Clipboard"
    ""
    ""
    "Choose a structure or a library to open."
    ""
    "Filters"             # 10 the filter dialog's list header
    "ID"
    "Strings"             # 12 the string-list dialog's count column
    " (page "        # 13-15 the preview's page text: page n of m
    " of "
    ")"
    "Rename \""          # 16-17 the rename dialog's prompt, around the name
    "\" as:"
    "Names of"            # 18-19 a name refused, around the kind's name
    "may hold one variable prefix at most."
    "Strings:"
    " Give it that name anyway?"  # 21 after 'STR#' 1002 item 23: the rename's question
    "Kinds"               # 22 the criteria dialog's kind list header
    "Closing this window closes \""
    "\". Close the document?"
    " - "
    "" "" "" ""
    "Copy from "          # 30-31 around the source's name: the conflict dialog's title
    " to "
    "Show: "              # 32 the conflict list's filter, before its name and row count
    "Copied: "            # 33-34 before an object's name in the conflict dialogs and export:
    "Used or member: "    #       a copied object's conflict, a used object's or a member's
    "Tables of "          # 35 the table link list's caption, before the document's name
    "" ""
    "Documentation of "
    "Blocks its dependencies (grey: as its kind)"
    "Object changed "
    " at "
    "Default choices for conflicts"   # 42 the conflict preferences' title
    "Kinds that hold back what they use"  # 43 the blocking preferences' list header
    "Conflicts.txt"       # 44 the default name of an exported conflict list
    "Choose the SQL schema script to build a structure from."
    "Name"                # 46 the string-list dialog's name column
}

# Error and memory messages (ErrMsg, NoMemory, ITAppl). The index of each
# is fixed by the code that shows it.
'STR#' 1002 "Errors" {
    "There is not enough memory. Close a window or a document and try again."
    "The disk is damaged: its directory cannot be read."
    "The disk is full. Make room on it and try again."
    "The file is locked. Unlock it and try again."
    "The file or folder could not be found."
    "The disk could not be read or written."
    "Too many files are open. Close some documents and try again."
    "The disk is locked. Use a disk you can write to."
    "Something went wrong that the program has no message for."
    "The document was made by a newer version of the program and cannot be opened here."
    "The file ended too soon: it may be damaged."
    "The file is in use by another program."
    "There is not enough memory to start. Close other programs and try again."
    "There is not enough memory for this. Close a window and try again."
    ""
    "The operation did not succeed."
    "A document open in the program, or its working file, is at this place: choose another name than "
    ""
    "Memory is running low. Save your work and close the documents you do not need."
    "Memory is exhausted. Save your work and quit the program."
    "A string list id is a number from 15000 to 32000."  # 21-22 the string-list dialog
    "A string list already has this id; it is selected in the list: "
    "Another object of this kind has that name."  # 23 rename, new group, copied object
    "The name would not change."  # 24 replacing inside names
    "A filter of that name exists already. Choose another name."  # 25 the filter dialog's Add
    "A process variable has that name: choose another name for the method."  # 26-27, 30, 33 rename
    "A project method has that name: choose another name for the variable."
    ""
    "The operation is not supported."
    "A form uses this variable: its name cannot become a local variable's."
    "An object or a document is missing or cannot be read."
    "The document is damaged and cannot be opened."
    "A name would become longer than its kind allows and be cut. Go on?"
    "Delete the documentation of the selected objects?"
    "Delete the selected objects?"
    "Delete "
    ""
    "The document is already open."
    "The structure holds more than 2,000 resources: some operations will be slow."
    "The structure holds more than 2,500 resources: some operations will be very slow."
    "The server did not answer."
    "This structure was made by an older version and cannot be opened. Convert it with the structure converter first."
    "This library was made by an older version. Convert it so that it can be opened?"
    "This structure has no table: make it a library and save it as one?"
    "The library must be converted on a machine of its own byte order."
    "Bring the texts of every listed object back from their string lists?"  # 46 string lists to texts
    "Components were removed while the structure was read."
    "This library was made by an older version and must be brought up to date before it opens. Convert it now?"
    "The component records are damaged."
    "The structure was compiled without its method sources."
    "Components can be removed only when no component is being installed or removed."  # 51
    "The document is already converted."
    "The component records could not be read."
    "A newer version of this component is installed: this one cannot replace it."  # 54
    "This version of the component is installed already. Install it again?"
    ","         # 56 between the installed and the new component of the replacement question
    "Some of these objects use private objects of the component: make those objects protected?"  # 57-58 a drop on a folder
    "Public objects of the component use some of these objects: move those users into the protected folder?"
    "The structure holds components that no longer match their records. Remove them and their protected objects?"  # 59
    "This structure holds components but no table: it cannot be saved as a structure."
    "This file is not a structure or a library: "
    "The structure must be converted on a machine of its own byte order."
    "This name and password may not open the design of the structure."
    "This documentation is damaged. It is shown empty, and what is stored stays as it is until you change the text."  # 64
    "The server could not be reached. Check its address and that it is running."
    "The server did not answer in time. Try again later."  # 66
    " and "  # 67: a form outside its table's component (CheckModuleProject): table, this, form, 68
    " must belong to the same component."  # 68
    "Delete the component project and keep its objects in the structure: "  # 69 before the full name
    "Uninstall and delete every object of "   # 70 before the full name
    "The file must hold exactly one component."  # 71
    "The structure holds an object of that name that is not a component."
    "The structure holds a component project of that name: a component cannot be installed over it."
    "The installed component renames its private objects otherwise: this version cannot replace it."  # 74
    "The private objects of a generated component are renamed and hidden. Keep the project: it is the copy you can change."
    "Installing a component brings the structure to the current format, which older versions cannot open. Go on?"  # 76
    "The form cannot be read."  # 77: a form's preview or click (1014)
    "This file is a generated component library: it cannot be opened as a structure. Install its component into a structure with the Install command."  # 78 (1020 at reading)
    "No structure was made from the SQL script. Its report, beside the script under the script's name followed by \".report.txt\", names the line and the word where the script could not be read."  # 79 (1019)
    "This id belongs to a string list of a plug-in: texts are not moved into it. Choose another id."  # 80 the string-list dialog
    "No structure was made: the SQL script names more than 255 tables, the most a structure holds. Its report, beside the script under its name followed by \".report.txt\", names the line and the first table past the limit."  # 81-82 OpenSQL
    "No structure was made: a table of the SQL script has more than 511 columns, the most fields a table holds. Its report, beside the script under its name followed by \".report.txt\", names the line and the first column past the limit."
    "The stored form is damaged: one of its objects cannot be read."  # 83 (9001)
    "An interrupted change left a file beside this document that cannot be used: the document opens as it is, and the file is kept in its folder under the name "  # 84 before the file's name
    "The preferences file could not be read. It is kept as \""  # 85-90 around a path: the preferences file at start-up
    "\", and the program starts with its default settings in a new one."
    "The preferences file \""
    "\" cannot be written: its settings are used, but changes to them will not be kept."
    "No preferences file can be kept in the folder \""
    "\": the program runs with its default settings, and changes to them will not be kept."
    "The width of a new window is a number from 200 to "  # 91-93 around the largest width and height: the preferences dialog
    ", its height a number from 200 to "
    "."
    "This would change an object that an editor window shows. Close that window first, then try again: "  # 94 before the object's full name
    "The object was deleted, so its editor window closed without saving what was typed in it: "  # 95 before the window's title
    "This name would take over the companion file of \""  # 96-97 around a document's name: a save beside it
    "\", which holds that document's string lists and other objects. Choose another name."
    "The file "  # 98-99 around a companion's name, 100 after its document's: opening a companion
    " is the companion file of the document "
    ": open that document instead, and its companion opens with it."
    " is the companion file of a structure or library: open the document of the same name ending in .QzB or .QTL instead, and its companion opens with it."  # 101 no such document beside it
    "This document's companion file is missing, so the string lists and other objects it keeps are not shown. It belongs beside the document under the name "  # 102 before the companion's name
    "The name is too long, or holds a character a file name may not hold. Choose another name."  # 103 (-37)
    "You may not change this folder or file. Save in another place, or ask for the right to change it."  # 104 (-54, -61, -5000)
    "A file or folder of that name is there already. Choose another name."  # 105 (-48)
    "This is a folder or a special file, not a document."  # 106 (-1302)
    "The file cannot be moved there: it is on another disk."  # 107 (-122)
    "The server's password tables could not be read; the structure was not opened."  # 108 OpenServerMainDoc
    "The server sent a reply that is too large or damaged."  # 109 (-10066)
    "The server at "  # 110-111 around the server's address: it stopped answering during an open
    " stopped answering; the structure was not opened."
    "The connection to the server was lost: nothing more of the structure can be read or changed. Close the structure and open it again."  # 112 (-10003)
    "Type the sizes in digits alone. "  # 113 before 91-93: a character that is no digit typed in the preferences dialog
    "There is no file named \""  # 114-116 around the name and the folder of a document asked for that is not there
    "\" in the folder \""
    "\". Check the name and the folder."
    "The document's resource file is full: it holds at most about 5,400 resources, 64 KB of their names and 16 MB of their data. Nothing was changed."  # 117 (-1940)
    "A failed change could not be taken back: what the program shows may differ from the document's files, which it no longer writes. Close the document and open it again."  # 118 (-1941)
    "Nothing was copied. "  # 119 a drop of rows that are not copied, before their kinds; 120-124 after them, why
    ": part of the language, which every structure holds. "
    ": read from the constant lists of the program and its plug-ins, not from a structure. "
    ": comes with the object that holds or uses it; drag that object instead. "
    ": a component is brought by generating its library and installing that. "
    ": belongs to an installed component, which brings it when it is installed. "
    " in the document "  # 125 after 94 and the object's full name, before its document's name
    "Something other than a file (a folder, a link or a special file) has the name of the hidden lock file \""  # 126 (-1303) before the lock file's name, 140 after it
    "The documents "  # 127-129 around the names of two documents sharing one companion file
    " and "
    " share one companion file, and each would change the other's objects: it was not opened. Move one of them (with its own companion file, if any) to another folder, then open it."
    "The server stopped answering: nothing more of the structure can be read or changed. Close the structure and open it again."  # 130 (-10004)
    "The connection to the server at "  # 131-132 around the server's address: the connection lost during an open
    " was lost; the structure was not opened."
    "The server's password tables name one user twice, so a name would not tell who logs in: the structure was not opened."  # 133 OpenServerMainDoc
    " The whole change reached the server: the windows show the structure as the server holds it."  # 134-135 after a server's failure in a change
    " Part of the change reached the server: the windows show the structure as the server now holds it."
    "" "" "" ""  # 136-139
    "\" beside this document. Nothing was changed: remove that item, then try again."  # 140 after 126 and the name
    "The hidden lock file \""  # 141-142 around the lock file's name (-1304)
    "\" beside this document is another user's and closed to you, so nothing was changed. If no program of theirs is working on the document, remove that file (or ask them to), then try again."
    "The companion file \""  # 143-144 around the companion's name: a companion that may not be written, at an open
    "\" of this document may not be written, so the document is locked and was not opened. Allow writing to the companion file, then open the document again."
    "The document \""  # 145-146 around the document's name: its data file or companion under a second name, at an open
    "\" or its companion file has a second name on the disk (a hard link, as backup tools make), which a change here would change too or leave behind, so it was not opened. Open a copy of its files instead."
    "This string list holds more than 32,767 strings, more than the string list editor can hold: it was not opened. Export List and Print List still give all its strings."  # 147 a string list too long to edit
    "Memory ran out and the program cannot go on: it ends now."  # 148-151 the last resort: 149 before the names of the files that keep the editors' typing, 150 when some could not be kept
    " Unsaved typing is kept beside its document, in: "
    " Some unsaved typing could not be kept."
    " (not saved)"  # 151 after an editor's title: the name of the text file keeping its typing
}

# A message about a file, naming it (ErrorMessageAbout): the items before
# and after the file's name, by code; 11 the message of a moved document
# whose name is not known.
#   1-2  a document moved or replaced since it was opened (-1310), 3-4
#        around where it is now when the program can tell (where the
#        message has no room, the path's start cut to an ellipsis at a
#        separator; the same for every path below)
#   5-8  not found (-43), in use (-47, -49), locked (-45)
#   9-10 not to be changed (-54, -61, -5000)
#   12   after 1 and the name: a document deleted since it was opened
#   13-15 around the path of a document's folder that may not be changed
#        (-54) and the document's name
#   16-17 after 1 and the name: where the file that a write of its
#        companion took from the companion's name is kept, when it could
#        not go back
#   18   after 1 and the name: a document whose change went into its
#        files after another program took them from its names (3-4 may
#        follow)
'STR#' 1037 "Files named" {
    "The document \""
    "\" was moved, renamed, replaced or linked under a second name by another program since it was opened: nothing was changed. Close it, then open it where it is now."
    " It is now \""
    "\"."
    "The file \""
    "\" is in use by another program."
    "\" is locked. Unlock it and try again."
    "\" could not be found."
    "You may not change the file \""
    "\". Save in another place, or ask for the right to change it."
    "The document was moved, renamed, replaced or linked under a second name by another program since it was opened: nothing was changed. Close it, then open it where it is now."
    "\" was deleted by another program since it was opened: nothing was changed. Close it."
    "The folder \""
    "\" of the document \""
    "\" may not be changed, so nothing was changed. Ask for the right to change that folder, then try again."
    "\": a file another program put at its companion's name while this program wrote it could not go back there, and is kept as \""
    "\". The companion holds what this program wrote. Close the document."
    "\" was moved, renamed or replaced by another program while this program changed it: the change went into the files it had opened, not into those at its name now. Close it, then open it where it is now."
}

'EMap' 1037 "Codes of files" {
    $"FAE2 000B"    # -1310 a document moved or replaced (its name not known)
}

# The application's own codes outside the table: code, item of 'STR#' 1002.
'EMap' 1002 "Application codes" {
    $"03F1 0032"    # 1009 compiled without method sources
    $"03F2 003F"    # 1010 password refused
    $"03F6 004D"    # 1014 a form that cannot be read or drawn
    $"03F8 003E"    # 1016 structure in the other byte order
    $"03FA 002D"    # 1018 library in the other byte order
    $"03FB 004F"    # 1019 no structure from the SQL script
    $"03FC 002F"    # 1020 components removed
    $"03FD 0035"    # 1021 component records unreadable
    $"03FE 0031"    # 1022 component records damaged
    $"2329 0053"    # 9001 a stored form that does not read
    $"D8EF 0041"    # -10001 no connection to the server
    $"D8EE 0042"    # -10002 the server did not answer in time
    $"D8AE 006D"    # -10066 a reply too large or damaged
    $"D8ED 0070"    # -10003 the connection lost after the open
    $"D8EC 0082"    # -10004 the server stopped answering after the open
}

# Undo item texts (SetUndoMenu): index 2 means nothing to undo.
'STR#' 1003 "Undo" {
    "Undo"
    "Can't undo"
    "Undo typing"
    "Undo cut"
    "Undo copy"
    "Undo paste"
    "Undo clear"
    "Undo rename"
}

# The wildcard of name patterns is item 4 (read at start-up); item 5 is
# the style mark: a form label or command parameter beginning with it
# names a style (the link parsers of forms and methods).
'STR#' 1019 "Separators" {
    ", "
    ": "
    " "
    "@"
    "•"
}

# What the program left as it was, and says so.
#   1  Replace Text (TRefPlane::ReplaceTxt), before the names of the objects
#      where the replacement would have made a text too long
#   2  a paste of another program's text with characters a structure
#      cannot hold (the text editors' paste)
#   3  a paste refused whole: the documentation would pass its limit
#      (TDocPlane::StrPaste)
#   4  a paste cut at the end of a string (TStrPlane::StrPaste)
'STR#' 1036 "Texts kept" {
    "Texts the replacement would make too long (81 characters in a method's quoted text, 255 elsewhere) were left as they were, in: "
    "Some characters of the pasted text cannot be kept in a structure: each was pasted as \"?\"."
    "Nothing was pasted: documentation holds at most 32,766 characters. Paste a shorter text, or delete some of the text first."
    "A string holds at most 255 characters: the pasted text was cut there."
}

# The one message alert (ErrMsg, XAlert): ^0 and OK.
'ALRT' 1000 {
    bounds 0 0 130 400
    items 1000
    stages 0x5555
}
'DITL' 1000 {
    button 96 310 116 388 "OK"
    static 12 72 84 388 "^0"
}

# A question with two answers: ^0, OK and Cancel.
'ALRT' 1002 {
    bounds 0 0 130 400
    items 1002
    stages 0x5555
}
'DITL' 1002 {
    button 96 310 116 388 "OK"
    button 96 218 116 296 "Cancel"
    static 12 72 84 388 "^0"
}

# Closing a changed document (ConfirmClose): Save, Don't save, Cancel.
'ALRT' 1003 {
    bounds 0 0 130 420
    items 1003
    stages 0x5555
}
'DITL' 1003 {
    button 96 330 116 408 "Save"
    button 96 72 116 170 "Don't save"
    button 96 238 116 316 "Cancel"
    static 12 72 84 408 "^0"
}

# The title of dialogs made by MyGetNewDialog.
'STR ' -16096 "Dialog title" {
    "Qz Structure Browser"
}
