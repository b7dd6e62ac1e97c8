# The arrow control's buttons (the panes' title bars step through what they
# show with it): first, previous, next, last; each enabled, then dimmed.

'cicn' 2100 "ArrowFirst" purgeable {
    colour "k" 0x000000
    image
        ".............."
        ".............."
        "...k.....k...."
        "...k....kk...."
        "...k...kkk...."
        "...k..kkkk...."
        "...k.kkkkk...."
        "...k.kkkkk...."
        "...k..kkkk...."
        "...k...kkk...."
        "...k....kk...."
        "...k.....k...."
        ".............."
        ".............."
}

'cicn' 2101 "ArrowFirst dimmed" purgeable {
    colour "k" 0x999999
    image
        ".............."
        ".............."
        "...k.....k...."
        "...k....kk...."
        "...k...kkk...."
        "...k..kkkk...."
        "...k.kkkkk...."
        "...k.kkkkk...."
        "...k..kkkk...."
        "...k...kkk...."
        "...k....kk...."
        "...k.....k...."
        ".............."
        ".............."
}

'cicn' 2102 "ArrowPrevious" purgeable {
    colour "k" 0x000000
    image
        ".............."
        ".............."
        "........k....."
        ".......kk....."
        "......kkk....."
        ".....kkkk....."
        "....kkkkk....."
        "....kkkkk....."
        ".....kkkk....."
        "......kkk....."
        ".......kk....."
        "........k....."
        ".............."
        ".............."
}

'cicn' 2103 "ArrowPrevious dimmed" purgeable {
    colour "k" 0x999999
    image
        ".............."
        ".............."
        "........k....."
        ".......kk....."
        "......kkk....."
        ".....kkkk....."
        "....kkkkk....."
        "....kkkkk....."
        ".....kkkk....."
        "......kkk....."
        ".......kk....."
        "........k....."
        ".............."
        ".............."
}

'cicn' 2104 "ArrowNext" purgeable {
    colour "k" 0x000000
    image
        ".............."
        ".............."
        ".....k........"
        ".....kk......."
        ".....kkk......"
        ".....kkkk....."
        ".....kkkkk...."
        ".....kkkkk...."
        ".....kkkk....."
        ".....kkk......"
        ".....kk......."
        ".....k........"
        ".............."
        ".............."
}

'cicn' 2105 "ArrowNext dimmed" purgeable {
    colour "k" 0x999999
    image
        ".............."
        ".............."
        ".....k........"
        ".....kk......."
        ".....kkk......"
        ".....kkkk....."
        ".....kkkkk...."
        ".....kkkkk...."
        ".....kkkk....."
        ".....kkk......"
        ".....kk......."
        ".....k........"
        ".............."
        ".............."
}

'cicn' 2106 "ArrowLast" purgeable {
    colour "k" 0x000000
    image
        ".............."
        ".............."
        "....k.....k..."
        "....kk....k..."
        "....kkk...k..."
        "....kkkk..k..."
        "....kkkkk.k..."
        "....kkkkk.k..."
        "....kkkk..k..."
        "....kkk...k..."
        "....kk....k..."
        "....k.....k..."
        ".............."
        ".............."
}

'cicn' 2107 "ArrowLast dimmed" purgeable {
    colour "k" 0x999999
    image
        ".............."
        ".............."
        "....k.....k..."
        "....kk....k..."
        "....kkk...k..."
        "....kkkk..k..."
        "....kkkkk.k..."
        "....kkkkk.k..."
        "....kkkk..k..."
        "....kkk...k..."
        "....kk....k..."
        "....k.....k..."
        ".............."
        ".............."
}

# Small icons of the object lists: 0 the filter pop-up's arrow with two
# filters or more (also the display-type box), 1 the same with fewer; the
# disclosure triangles: 2 open, 3 open and pressed, 4 closed, 5 closed and
# pressed; 6 the mark of a conflict row the user has settled.
'SICN' 128 "List icons" {
    icon
        "................"
        "................"
        "................"
        "...XXXXXXXXXX..."
        "................"
        "................"
        "...XXXXXXXXXX..."
        "....XXXXXXXX...."
        ".....XXXXXX....."
        "......XXXX......"
        ".......XX......."
        "................"
        "................"
        "................"
        "................"
        "................"
    icon
        "................"
        "................"
        "................"
        "................"
        "................"
        "...XXXXXXXXXX..."
        "....XXXXXXXX...."
        ".....XXXXXX....."
        "......XXXX......"
        ".......XX......."
        "................"
        "................"
        "................"
        "................"
        "................"
        "................"
    icon
        "................"
        "................"
        "................"
        "................"
        "................"
        "....XXXXXXXXX..."
        ".....X.....X...."
        "......X...X....."
        ".......X.X......"
        "........X......."
        "................"
        "................"
        "................"
        "................"
        "................"
        "................"
    icon
        "................"
        "................"
        "................"
        "................"
        "................"
        "....XXXXXXXXX..."
        ".....XXXXXXX...."
        "......XXXXX....."
        ".......XXX......"
        "........X......."
        "................"
        "................"
        "................"
        "................"
        "................"
        "................"
    icon
        "................"
        "................"
        "................"
        "................"
        ".....X.........."
        ".....XX........."
        ".....X.X........"
        ".....X..X......."
        ".....X...X......"
        ".....X..X......."
        ".....X.X........"
        ".....XX........."
        ".....X.........."
        "................"
        "................"
        "................"
    icon
        "................"
        "................"
        "................"
        "................"
        ".....X.........."
        ".....XX........."
        ".....XXX........"
        ".....XXXX......."
        ".....XXXXX......"
        ".....XXXX......."
        ".....XXX........"
        ".....XX........."
        ".....X.........."
        "................"
        "................"
        "................"
    icon
        "................"
        "................"
        "................"
        "............XX.."
        "...........XX..."
        "..........XX...."
        ".........XX....."
        "..XX....XX......"
        "...XX..XX......."
        "....XXXX........"
        ".....XX........."
        "................"
        "................"
        "................"
        "................"
        "................"
}

# Short texts of the object lists, read by the long lists and the design
# objects:
#   2  marks the current choice of a pop-up
#   4  leads the information line of an object that does not pull its
#      dependencies (GetMoreInfo); its space parts it from the name the
#      printed and exported headings put directly before it
#   6  the separator between the parts of that line
'STR#' 1024 "List texts" {
    " - "
    "\x12"
    "(no table)"
    " Dependencies held back."
    "?"
    " "
    "Qz"             # 7 the mark in front of a menu bar's titles in its preview
    "  Ctrl-"        # 8 before an item's command key (menu previews)
    " read there as "  # 9 what the copies name instead of what a copy could not bring
    "nothing"        # 10 ... when they name nothing there
}
