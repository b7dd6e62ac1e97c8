# The menus. The bar is 'MMBR' 129 and one 'MITM' per item, built by the
# application at start-up (BuildMenus); an item appears here only once a
# command handler answers it. Quit is the platform's own item.

# The application menu (record 1 of the menu table); the platform adds Quit.
# Its title is the program's short name: the classic apple mark has no
# glyph in the fonts the screen uses.
'MENU' 128 "Application" {
    title "Qz"
}

# The menu bar: menu id, title, items.
'MMBR' 129 "Menu bar" {
    menu 129 "File" items 5 9
}

# Close all windows (command 5).
'MITM' 5 "Close all" {
    text "Close all"
    command 5
}

# Page set-up on the application's print record (command 9).
'MITM' 9 "Page Setup" {
    text "Page Setup..."
    command 9
}

# Menu item texts that commands set (StringFunc, SetDlogEditMenu).
'STR#' 1006 "Menu items" {
    "Undo"
    "Redo"
    "Cut"
}
