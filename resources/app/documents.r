# Browser windows and opening documents.

# Browser window layouts (TMainDoc::NewRefWindow), one per kind; commands
# 40-42 open them. 8 unused bytes, the pane count, then per pane: kind (0
# list, 1 uses, 2 used by, 3 preview), rectangle in hundredths of the
# window (top, left, bottom, right), the three link words (0: the pane of
# this window; else the layout of the window that shows that role), the
# default filter and the count of extra words.
# 128: the list with uses, used-by and preview panes beside it.
'WNDD' 128 "Browser" {
    $"0000 0000 0000 0000 0004"
    $"0000 0000 0000 0064 0032 0000 0000 0000 0080 0000"
    $"0001 0000 0032 0032 0064 0000 0000 0000 0080 0000"
    $"0002 0032 0032 004B 0064 0000 0000 0000 0080 0000"
    $"0003 004B 0032 0064 0064 0000 0000 0000 0080 0000"
}
# 129: the list and its preview; uses and used-by open in a window of 130.
'WNDD' 129 "List and preview" {
    $"0000 0000 0000 0000 0002"
    $"0000 0000 0000 0064 003C 0082 0082 0000 0080 0000"
    $"0003 0000 003C 0064 0064 0000 0000 0000 0080 0000"
}
# 130: the list alone; everything else opens in a window of 128.
'WNDD' 130 "List" {
    $"0000 0000 0000 0000 0001"
    $"0000 0000 0000 0064 0064 0080 0080 0080 0080 0000"
}

# The server selection dialog (sfgetreseau, command 14): 1 Open, 2 Cancel,
# 4 the server's address ("10.0.0.7" or "10.0.0.7:19813"), 6 the
# structure's name.
'DLOG' 5001 "Open from server" {
    bounds 0 0 150 380
    title "Open from Server"
    proc 5
    invisible
    items 5001
}
'DITL' 5001 {
    button 116 290 136 364 "Open"
    button 116 200 136 274 "Cancel"
    static 16 16 34 130 "Server address"
    edit 16 140 32 364 ""
    static 48 16 66 130 "Structure"
    edit 48 140 64 364 ""
}

# The login to a structure that a server publishes (ShowLoginDialog_user_pwd):
# 1 OK, 2 Cancel, 3 a user item the code empties, 8 the user's name, 9 the
# password, whose text record draws in the bullets of font 102.
'DLOG' 987 "Log in" {
    bounds 0 0 168 360
    title "Log In"
    proc 5
    invisible
    items 987
}
'DITL' 987 {
    button 132 270 152 344 "OK"
    button 132 180 152 254 "Cancel"
    user 0 0 0 0 disabled
    static 12 16 30 344 "Log in to open the structure."
    static 46 16 64 110 "Name"
    static 80 16 98 110 "Password"
    static 104 16 122 344 "Use a name and password of the structure's users."
    edit 46 120 62 344 ""
    edit 80 120 96 344 ""
}
