# The menus. The bar is 'MMBR' 129 and one 'MITM' per item, built by the
# application at start-up (BuildMenus); an item appears here only once a
# command handler answers it. Quit is the platform's own item.

# The application menu (record 1 of the menu table); the platform adds Quit.
# Its title is the program's short name: the classic apple mark has no
# glyph in the fonts the screen uses.
'MENU' 128 "Application" {
    title "Qz"
    item "About Qz Structure Browser..."
}

# The menu bar: menu id, title, items.
'MMBR' 129 "Menu bar" {
    menu 129 "File" items 1 20 30 2 11 14 3 4 5 18 74 7 9 10 13 15 16 54
    menu 130 "Edit" items 21 22 23 24 25 26 55 52 56 57 49 27 53
    menu 131 "Windows" items 32 33 40 41 42 43 34
    menu 132 "Objects" items 51 58 59 76 78 50 77 75 71 70 72 73
    menu 1000 "Strings" items 60 62 61
    menu 1001 "Style" items 100 101 102 103
    menu 133 "Components" items 110 111 112 113 114 115
}

# New library (command 1) and new structure (20) documents, a new
# structure from an SQL script (30), the Open command (2) and the recent
# documents (11, filled from 'SP2#' 0).
'MITM' 1 "New library" {
    text "New Library"
    command 1
}
'MITM' 20 "New structure" {
    text "New Structure"
    command 20
}
'MITM' 30 "New structure from SQL" {
    text "New Structure from SQL Script..."
    command 30
}
'MITM' 2 "Open" {
    text "Open..."
    command 2
    key "O"
}
'MITM' 11 "Open recent" {
    text "Open Recent"
    command 11
    kind submenu
}
# A structure that a database server publishes (command 14): its address
# and name, then the login. Disabled while one is open, or when the
# program has no network.
'MITM' 14 "Open from server" {
    text "Open from Server..."
    command 14
}

# Save a library or structure the program made (18); read the front
# structure again (74).
'MITM' 18 "Save" {
    text "Save..."
    command 18
    key "S"
    disabled
}
'MITM' 74 "Read again" {
    text "Read Structure Again"
    command 74
    disabled
}

# The front browser window's object list exported as text (7) or printed
# (10): TRefPlane::Output asks the output dialog first.
'MITM' 7 "Export list" {
    text "Export List..."
    command 7
    disabled
}
'MITM' 10 "Print list" {
    text "Print List..."
    command 10
    key "P"
    disabled
}

# Close all windows (command 5).
'MITM' 5 "Close all" {
    text "Close all"
    command 5
}

# Close the front window (command 3) or its document (command 4).
'MITM' 3 "Close" {
    text "Close"
    command 3
    key "W"
}
'MITM' 4 "Close document" {
    text "Close Document"
    command 4
}

# The general preferences (command 13).
'MITM' 13 "Preferences" {
    text "Preferences..."
    command 13
}

# The default choices of conflicts between copied objects and the
# destination (command 15).
'MITM' 15 "Conflict preferences" {
    text "Conflict Preferences..."
    command 15
}

# Which kinds hold back the objects they use when objects are copied
# (command 16, BlockingPref), and the list filters of the browser panes
# (54, EditFilters).
'MITM' 16 "Blocking preferences" {
    text "Blocking Preferences..."
    command 16
}
'MITM' 54 "Filters" {
    text "Filters..."
    command 54
}

# The Edit menu: Undo (21), Cut, Copy, Paste, Clear (22-25), the clipboard
# window (27, its text from 'STR#' 1006 items 1 and 2).
'MITM' 21 "Undo" {
    text "Undo"
    command 21
    key "Z"
}
'MITM' 22 "Cut" {
    text "Cut"
    command 22
    key "X"
}
'MITM' 23 "Copy" {
    text "Copy"
    command 23
    key "C"
}
'MITM' 24 "Paste" {
    text "Paste"
    command 24
    key "V"
}
'MITM' 25 "Clear" {
    text "Clear"
    command 25
}
'MITM' 26 "Select all" {
    text "Select All"
    command 26
    key "A"
}
# Finds objects by kind, name, date or number of users (command 53, run
# by the front browser window on its main list).
'MITM' 53 "Find" {
    text "Find..."
    command 53
    key "F"
}
# The rows of the list that are selected stay; the others go (object lists).
'MITM' 55 "Keep selected" {
    text "Keep Selected Rows"
    command 55
}
# The selected object's own editor (52: string lists), its documentation
# edited (56) or deleted (57), and the structure's general documentation
# (49): the object list panes and the browser windows enable them.
'MITM' 52 "Edit object" {
    text "Edit Object"
    command 52
    disabled
}
'MITM' 56 "Edit documentation" {
    text "Edit Documentation"
    command 56
    disabled
}
'MITM' 57 "Delete documentation" {
    text "Delete Documentation..."
    command 57
    disabled
}
'MITM' 49 "Structure documentation" {
    text "Structure Documentation"
    command 49
    disabled
}
'MITM' 27 "Clipboard" {
    text "Show Clipboard"
    command 27
}

# Window arrangement (32, 33), more browser windows on the front structure
# (40-42 by layout, 43 the group filter) and the list of open windows (34).
'MITM' 32 "Stack" {
    text "Stack Windows"
    command 32
}
'MITM' 33 "Tile" {
    text "Tile Windows"
    command 33
}
'MITM' 40 "New browser" {
    text "New Browser Window"
    command 40
    key "N"
}
'MITM' 41 "New browser 2" {
    text "New Browser Window (Second Layout)"
    command 41
}
'MITM' 42 "New browser 3" {
    text "New Browser Window (Third Layout)"
    command 42
}
'MITM' 43 "New group browser" {
    text "New Group Browser Window"
    command 43
}
'MITM' 34 "Window list" {
    text "Windows"
    command 34
    kind group
}

# The Objects menu: the current object renamed (51), a prefix put in
# front of the selected objects' names (58) or a text replaced inside them
# (59), a text (76) or a command's calls (78) replaced in the selected
# objects, every listed object's texts moved into a string list (50) and
# back (77), the selected forms scaled (75), and the group commands: a new
# empty group (71), a group of the selected objects (70) or of those with
# what they use (72), the selected group taken apart (73, its text from
# 'STR#' 1006 items 7 and 8). The object lists enable them.
'MITM' 51 "Rename" {
    text "Rename..."
    command 51
    disabled
}
'MITM' 58 "Add prefix" {
    text "Add Prefix..."
    command 58
    disabled
}
'MITM' 59 "Replace in names" {
    text "Replace in Names..."
    command 59
    disabled
}
'MITM' 76 "Replace text" {
    text "Replace Text..."
    command 76
    disabled
}
'MITM' 78 "Replace command" {
    text "Replace Command..."
    command 78
    disabled
}
'MITM' 50 "Texts to string list" {
    text "Texts to String List..."
    command 50
    disabled
}
'MITM' 77 "String lists to texts" {
    text "String Lists to Texts..."
    command 77
    disabled
}
'MITM' 75 "Scale forms" {
    text "Scale Forms..."
    command 75
    disabled
}
'MITM' 71 "New group" {
    text "New Group..."
    command 71
    disabled
}
'MITM' 70 "Make group" {
    text "Make Group..."
    command 70
    disabled
}
'MITM' 72 "Full group" {
    text "Full Group..."
    command 72
    disabled
}
'MITM' 73 "Ungroup" {
    text "Ungroup"
    command 73
    disabled
}

# Page set-up on the application's print record (command 9).
'MITM' 9 "Page Setup" {
    text "Page Setup..."
    command 9
}

# Menu item texts that commands set (StringFunc, SetDlogEditMenu):
#   1-2  command 27 while the clipboard window is shown / hidden
#   3    command 23 in dialogs and with no text selected (a method's
#        preview), 4 with a method's preview selected, 5 with a form's
#        preview selected (its page is copied)
# 7 and 8: the ungroup item with a group current that has members or not.
'STR#' 1006 "Menu items" {
    "Hide Clipboard"
    "Show Clipboard"
    "Copy"
    "Copy Text"
    "Copy Page"
    ""
    "Ungroup"
    "Delete Group"
}

# The string-list editor's menu (menu 1000, in the bar while that editor is
# in front): a string added after the last (60), inserted before the
# current one (62), the current one deleted (61). TStrPlane enables them.
'MITM' 60 "Add string" {
    text "Add String"
    command 60
}
'MITM' 62 "Insert string" {
    text "Insert String"
    command 62
}
'MITM' 61 "Delete string" {
    text "Delete String"
    command 61
}

# The documentation editor's style menu (menu 1001, in the bar while that
# editor edits): the font (100, the system's fonts added at start-up), the
# size (101), the face (102: plain, then one item per face bit) and the
# colour (103, the palette's swatches) of the selection. Each submenu's id
# is its item's id; the chosen item reaches TDocPlane on the argument
# stack.
'MITM' 100 "Font" {
    text "Font"
    command 100
    kind submenu
    checkgroup
}
'MITM' 101 "Size" {
    text "Size"
    command 101
    kind submenu
    checkgroup
    subitems 1101 1102 1103 1104 1105 1106 1107
}
'MITM' 1101 "Size 9" {
    text "9"
    command 101
    kind member
}
'MITM' 1102 "Size 10" {
    text "10"
    command 101
    kind member
}
'MITM' 1103 "Size 12" {
    text "12"
    command 101
    kind member
}
'MITM' 1104 "Size 14" {
    text "14"
    command 101
    kind member
}
'MITM' 1105 "Size 18" {
    text "18"
    command 101
    kind member
}
'MITM' 1106 "Size 24" {
    text "24"
    command 101
    kind member
}
'MITM' 1107 "Size 36" {
    text "36"
    command 101
    kind member
}
'MITM' 102 "Face" {
    text "Style"
    command 102
    kind submenu
    subitems 1111 1112 1113 1114 1115 1116 1117 1118
}
'MITM' 1111 "Plain" {
    text "Plain"
    command 102
    kind member
}
'MITM' 1112 "Bold" {
    text "Bold"
    command 102
    kind member
    style 1
}
'MITM' 1113 "Italic" {
    text "Italic"
    command 102
    kind member
    style 2
}
'MITM' 1114 "Underline" {
    text "Underline"
    command 102
    kind member
    style 4
}
'MITM' 1115 "Outline" {
    text "Outline"
    command 102
    kind member
    style 8
}
'MITM' 1116 "Shadow" {
    text "Shadow"
    command 102
    kind member
    style 16
}
'MITM' 1117 "Condense" {
    text "Condense"
    command 102
    kind member
    style 32
}
'MITM' 1118 "Extend" {
    text "Extend"
    command 102
    kind member
    style 64
}
'MITM' 103 "Colour" {
    text "Colour"
    command 103
    kind submenu
}

# The Components menu: the object list's component commands (TRefPlane:
# M_New 110, M_Properties 111, M_Generate 112, M_Delete 113, M_Install
# 114, M_UnInstall 115), enabled from the selected rows.
'MITM' 110 "New component" {
    text "New Component..."
    command 110
    disabled
}
'MITM' 111 "Component properties" {
    text "Component Properties..."
    command 111
    disabled
}
'MITM' 112 "Generate component" {
    text "Generate Component..."
    command 112
    disabled
}
'MITM' 113 "Delete component" {
    text "Delete Component Project..."
    command 113
    disabled
}
'MITM' 114 "Install component" {
    text "Install Component..."
    command 114
    disabled
}
'MITM' 115 "Uninstall component" {
    text "Uninstall Component..."
    command 115
    disabled
}
