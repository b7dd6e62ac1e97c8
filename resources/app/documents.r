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
