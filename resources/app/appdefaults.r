# The application's own settings: version, dialog colours, palette, cursors,
# fonts, and the defaults the preferences file takes at its first start.

# The version stamped into a new preferences file, and into an older one
# once UpdatePrefResFile has brought it up to date (SetPrefVERS): 6.0.0
# final (first long 0x06008000), past every upgrade step, so that a file
# this program has stamped is never upgraded again.
'vers' 1 "Version" {
    version 6 0 0
    stage final
    release 0
    region 0
    short "6.0"
    long "6.0, Qz Structure Browser"
}

# The document format version this program writes (OpenQzB, CreateQzLib):
# a 16-bit version number. A document whose companion holds a greater
# 'INQz' 0 is refused; a new document's companion gets a copy.
'INQz' 1 {
    $"0006"
}

# Dialog colours (ApplInitAll): the entry of part code 0 is the content
# colour of dialogs. Header: 4-byte seed, 2-byte flags, 2-byte count - 1 is
# not used here: the word at byte 6 counts the entries.
'xctb' 0 "Dialog colours" {
    $"0000 0000 0000 0001"
    $"0000 FFFF FFFF FFFF"    # part code 0: white
}

# The application palette (globpalette): kernel colour codes 256 and up.
'pltt' 2000 "Application colours" {
    colour 0xFFFFFF  colour 0xDDDDDD  colour 0xAAAAAA  colour 0x777777
    colour 0x444444  colour 0x000000  colour 0x0000CC  colour 0xCC0000
}

# Font records by text category (GetResSize, GetResFont): size, font.
#   0 the application's text, 1 pop-up menus
'@FNT' 0 "Fonts" {
    $"000A 0001"
    $"0009 0001"
}

# The horizontal splitter (HSplitCursor).
'CURS' 128 "Horizontal split" {
    hotspot 7 7
    image
        "......oXXo......"
        "......oXXo......"
        "......oXXo......"
        "......oXXo......"
        "...X..oXXo..X..."
        "..XX..oXXo..XX.."
        ".XXXXXXXXXXXXXX."
        "XXXXXXXXXXXXXXXX"
        ".XXXXXXXXXXXXXX."
        "..XX..oXXo..XX.."
        "...X..oXXo..X..."
        "......oXXo......"
        "......oXXo......"
        "......oXXo......"
        "......oXXo......"
        "................"
}

# The vertical splitter (VSplitCursor).
'CURS' 129 "Vertical split" {
    hotspot 7 7
    image
        ".......X........"
        "......XXX......."
        ".....XXXXX......"
        "....XXXXXXX....."
        ".......X........"
        "oooooooXoooooooo"
        "XXXXXXXXXXXXXXXX"
        "XXXXXXXXXXXXXXXX"
        "oooooooXoooooooo"
        ".......X........"
        "....XXXXXXX....."
        ".....XXXXX......"
        "......XXX......."
        ".......X........"
        "................"
        "................"
}

# Something that can be dragged (DragableCursor): an open hand.
'CURS' 130 "Draggable" {
    hotspot 8 8
    image
        "......XX.XX....."
        ".....XooXooX.X.."
        ".....XooXooXXoX."
        "..XX.XooXooXooX."
        ".XooXXooXooXooX."
        ".XoooXooooooooX."
        "..XooooooooooX.."
        "..XooooooooooX.."
        "...XoooooooooX.."
        "...XooooooooX..."
        "....XoooooooX..."
        "....XoooooooX..."
        ".....XooooooX..."
        ".....XXXXXXXX..."
        "................"
        "................"
}

# Dragging (DragCursor): a closed hand.
'CURS' 131 "Dragging" {
    hotspot 8 8
    image
        "................"
        "................"
        "................"
        "....XX.XX.XX...."
        "...XooXooXooXX.."
        "...XoooooooooX.."
        "..XXoooooooooX.."
        ".XooooooooooooX."
        ".XoooooooooooX.."
        "..XooooooooooX.."
        "...XoooooooooX.."
        "...XooooooooX..."
        "....XoooooooX..."
        ".....XooooooX..."
        ".....XXXXXXXX..."
        "................"
}

# Precise pointing (CrossCursor).
'CURS' 132 "Cross" {
    hotspot 7 7
    image
        ".......X........"
        ".......X........"
        ".......X........"
        ".......X........"
        ".......X........"
        ".......X........"
        ".......X........"
        "XXXXXXXXXXXXXXX."
        ".......X........"
        ".......X........"
        ".......X........"
        ".......X........"
        ".......X........"
        ".......X........"
        ".......X........"
        "................"
}

# Resizing a column of a cell view (VCellView, column header edges).
'CURS' 9008 "Column resize" {
    hotspot 7 7
    image
        "......oXo......."
        "......oXo......."
        "......oXo......."
        "......oXo......."
        "...X..oXo..X...."
        "..XX..oXo..XX..."
        ".XXXXXXXXXXXXX.."
        "XXXXXXXXXXXXXXX."
        ".XXXXXXXXXXXXX.."
        "..XX..oXo..XX..."
        "...X..oXo..X...."
        "......oXo......."
        "......oXo......."
        "......oXo......."
        "......oXo......."
        "................"
}

# Resizing a row of a cell view (VCellView, row header edges).
'CURS' 9009 "Row resize" {
    hotspot 6 7
    image
        ".......X........"
        "......XXX......."
        ".....XXXXX......"
        "....XXXXXXX....."
        ".......X........"
        "ooooooooooooooo."
        "XXXXXXXXXXXXXXX."
        "ooooooooooooooo."
        ".......X........"
        "....XXXXXXX....."
        ".....XXXXX......"
        "......XXX......."
        ".......X........"
        "................"
        "................"
        "................"
}

# Over a split bar between panes side by side, and over the split area
# beside a horizontal scroll bar (VSplitBar, VSplitArea, VMultiSplitBar).
'CURS' 9010 "Vertical split bar" {
    hotspot 6 7
    image
        ".....oXoXo......"
        ".....oXoXo......"
        ".....oXoXo......"
        ".....oXoXo......"
        "..X..oXoXo..X..."
        ".XX..oXoXo..XX.."
        "XXXXXXXoXXXXXXX."
        ".XX..oXoXo..XX.."
        "..X..oXoXo..X..."
        ".....oXoXo......"
        ".....oXoXo......"
        ".....oXoXo......"
        ".....oXoXo......"
        "................"
        "................"
        "................"
}

# Over a split bar between stacked panes, and over the split area beside
# a vertical scroll bar (VSplitBar, VSplitArea, VMultiSplitBar).
'CURS' 9011 "Horizontal split bar" {
    hotspot 6 6
    image
        "......X........."
        ".....XXX........"
        "....XXXXX......."
        "......X........."
        "ooooooXoooooo..."
        "XXXXXXXXXXXXX..."
        "oooooooooooooo.."
        "XXXXXXXXXXXXX..."
        "ooooooXoooooo..."
        "......X........."
        "....XXXXX......."
        ".....XXX........"
        "......X........."
        "................"
        "................"
        "................"
}

# Default list filters, copied into a new preferences file (SetDfltPrefs).
# Entry: kind bits (kind k is 0x80000000 >> k), conditions, contents flag,
# criterion - 1, comparison - 1, two bytes, the pattern; bits 38-40 of an
# entry (its byte 4 low bits and byte 5 high bit) offer it in the three panes.
# 128 lets every listed kind through: all kinds but the plain objects.
'FLT2' 128 "All objects" {
    $"0001 7FFF FDFE 0380 0000 0000 0000"
}
'FLT2' 129 "Tables" {
    $"0001 4000 0000 0380 0000 0000 0000"
}
'FLT2' 130 "Project methods" {
    $"0001 2000 0000 0380 0000 0000 0000"
}
'FLT2' 131 "Forms" {
    $"0001 0000 0080 0380 0000 0000 0000"
}
'FLT2' 132 "Plug-ins" {
    $"0001 0100 0000 0380 0000 0000 0000"
}

# Added to a preferences file older than 6.0.0 alpha 2 by UpdatePrefResFile,
# with 131 and 132 above: objects nothing uses, and the groups.
'FLT2' 149 "Unused objects" {
    $"0001 7FFF FDFE 0F80 0000 0000 0000"
}
'FLT2' 150 "Groups" {
    $"0001 0000 0100 0380 0000 0000 0000"
}

# A standard filter of an older layout, copied as an 'FLT2' into a
# preferences file older than 2.0.0 alpha 38 by UpdatePrefResFile, which then
# converts it with the file's own filters: no criterion and comparison
# bytes (the pattern at byte 8), the kinds and conditions in their first
# numbering (kinds 1-17 as today, the group kind at bit 18, kinds 24-30 at
# bits 19-25, the conditions from bit 28, the contents flag at bit 0). It
# becomes 0001 7FFF 01FE 3380 0000 0000 0000: the documented objects.
'FLTX' 128 "Documented objects" {
    $"0001 7FFF 3FC3 3800 0000"
}

# Dependency blocking (kind, blocked) pairs ended by kind 0: every kind of
# the main list, in its order, none blocked (BlockingPref lists them).
'Oblk' 0 "Blocking" {
    $"0100 1800 0200 1000 1A00 1B00 1900 0700 0800 0300 0400 0500 0600 0900 0A00 0B00 0C00 1300 0D00 0E00 0F00 1200 1100 1700 00"
}

# Default choice of each conflict code: none set.
'C_PR' 0 "Conflict choices" {
    $"0000"
}

# The application's preferences record (ITAppl, GetPrefWindowRect, the
# preferences dialog), read through the chain until the preferences file
# has its own: window template 128, new windows 600 x 400, no switches.
'PREF' 0 "Preferences" {
    $"0080 0258 0190 0000"
}
