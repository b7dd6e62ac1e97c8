# The editor windows' own pictures.

# The documentation editor's lock box (TDocPlane::DrawLockBox), one icon per
# mode of a structure opened from a server: 0 read only (closed lock: click
# to take the lock), 1 another user holds the lock (lock struck through),
# 2 editing (open lock).
'SICN' 131 "Lock box" {
    icon
        "................"
        "................"
        "......XXXX......"
        ".....X....X....."
        "....X......X...."
        "....X......X...."
        "....X......X...."
        "...XXXXXXXXXX..."
        "...X........X..."
        "...X...XX...X..."
        "...X...XX...X..."
        "...X....X...X..."
        "...X........X..."
        "...XXXXXXXXXX..."
        "................"
        "................"
    icon
        "X..............."
        ".X.............."
        "..X...XXXX......"
        "...X.X....X....."
        "....X......X...."
        "....XX.....X...."
        "....X.X....X...."
        "...XXXXXXXXXX..."
        "...X....X...X..."
        "...X...XXX..X..."
        "...X...XXXX.X..."
        "...X....X..XX..."
        "...X........X..."
        "...XXXXXXXXXXX.."
        "..............X."
        "...............X"
    icon
        "................"
        "........XXXX...."
        ".......X....X..."
        "......X......X.."
        "......X......X.."
        "......X......X.."
        "......X........."
        "...XXXXXXXXXX..."
        "...X........X..."
        "...X...XX...X..."
        "...X...XX...X..."
        "...X....X...X..."
        "...X........X..."
        "...XXXXXXXXXX..."
        "................"
        "................"
}
