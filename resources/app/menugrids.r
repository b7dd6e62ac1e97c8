# The colour and pattern grids of the toolbox's colour and pattern menus
# (read by VColorMenu and VPatternMenu), and the first pattern cell's icons
# (read by VPatternMenu).

# 256 colours: a 6 x 6 x 6 cube from black up, then ramps of ten steps in
# grey, red, green and blue.
'pltt' 9000 "Menu colours" {
    colour 0x000000  colour 0x000033  colour 0x000066  colour 0x000099
    colour 0x0000CC  colour 0x0000FF  colour 0x003300  colour 0x003333
    colour 0x003366  colour 0x003399  colour 0x0033CC  colour 0x0033FF
    colour 0x006600  colour 0x006633  colour 0x006666  colour 0x006699
    colour 0x0066CC  colour 0x0066FF  colour 0x009900  colour 0x009933
    colour 0x009966  colour 0x009999  colour 0x0099CC  colour 0x0099FF
    colour 0x00CC00  colour 0x00CC33  colour 0x00CC66  colour 0x00CC99
    colour 0x00CCCC  colour 0x00CCFF  colour 0x00FF00  colour 0x00FF33
    colour 0x00FF66  colour 0x00FF99  colour 0x00FFCC  colour 0x00FFFF
    colour 0x330000  colour 0x330033  colour 0x330066  colour 0x330099
    colour 0x3300CC  colour 0x3300FF  colour 0x333300  colour 0x333333
    colour 0x333366  colour 0x333399  colour 0x3333CC  colour 0x3333FF
    colour 0x336600  colour 0x336633  colour 0x336666  colour 0x336699
    colour 0x3366CC  colour 0x3366FF  colour 0x339900  colour 0x339933
    colour 0x339966  colour 0x339999  colour 0x3399CC  colour 0x3399FF
    colour 0x33CC00  colour 0x33CC33  colour 0x33CC66  colour 0x33CC99
    colour 0x33CCCC  colour 0x33CCFF  colour 0x33FF00  colour 0x33FF33
    colour 0x33FF66  colour 0x33FF99  colour 0x33FFCC  colour 0x33FFFF
    colour 0x660000  colour 0x660033  colour 0x660066  colour 0x660099
    colour 0x6600CC  colour 0x6600FF  colour 0x663300  colour 0x663333
    colour 0x663366  colour 0x663399  colour 0x6633CC  colour 0x6633FF
    colour 0x666600  colour 0x666633  colour 0x666666  colour 0x666699
    colour 0x6666CC  colour 0x6666FF  colour 0x669900  colour 0x669933
    colour 0x669966  colour 0x669999  colour 0x6699CC  colour 0x6699FF
    colour 0x66CC00  colour 0x66CC33  colour 0x66CC66  colour 0x66CC99
    colour 0x66CCCC  colour 0x66CCFF  colour 0x66FF00  colour 0x66FF33
    colour 0x66FF66  colour 0x66FF99  colour 0x66FFCC  colour 0x66FFFF
    colour 0x990000  colour 0x990033  colour 0x990066  colour 0x990099
    colour 0x9900CC  colour 0x9900FF  colour 0x993300  colour 0x993333
    colour 0x993366  colour 0x993399  colour 0x9933CC  colour 0x9933FF
    colour 0x996600  colour 0x996633  colour 0x996666  colour 0x996699
    colour 0x9966CC  colour 0x9966FF  colour 0x999900  colour 0x999933
    colour 0x999966  colour 0x999999  colour 0x9999CC  colour 0x9999FF
    colour 0x99CC00  colour 0x99CC33  colour 0x99CC66  colour 0x99CC99
    colour 0x99CCCC  colour 0x99CCFF  colour 0x99FF00  colour 0x99FF33
    colour 0x99FF66  colour 0x99FF99  colour 0x99FFCC  colour 0x99FFFF
    colour 0xCC0000  colour 0xCC0033  colour 0xCC0066  colour 0xCC0099
    colour 0xCC00CC  colour 0xCC00FF  colour 0xCC3300  colour 0xCC3333
    colour 0xCC3366  colour 0xCC3399  colour 0xCC33CC  colour 0xCC33FF
    colour 0xCC6600  colour 0xCC6633  colour 0xCC6666  colour 0xCC6699
    colour 0xCC66CC  colour 0xCC66FF  colour 0xCC9900  colour 0xCC9933
    colour 0xCC9966  colour 0xCC9999  colour 0xCC99CC  colour 0xCC99FF
    colour 0xCCCC00  colour 0xCCCC33  colour 0xCCCC66  colour 0xCCCC99
    colour 0xCCCCCC  colour 0xCCCCFF  colour 0xCCFF00  colour 0xCCFF33
    colour 0xCCFF66  colour 0xCCFF99  colour 0xCCFFCC  colour 0xCCFFFF
    colour 0xFF0000  colour 0xFF0033  colour 0xFF0066  colour 0xFF0099
    colour 0xFF00CC  colour 0xFF00FF  colour 0xFF3300  colour 0xFF3333
    colour 0xFF3366  colour 0xFF3399  colour 0xFF33CC  colour 0xFF33FF
    colour 0xFF6600  colour 0xFF6633  colour 0xFF6666  colour 0xFF6699
    colour 0xFF66CC  colour 0xFF66FF  colour 0xFF9900  colour 0xFF9933
    colour 0xFF9966  colour 0xFF9999  colour 0xFF99CC  colour 0xFF99FF
    colour 0xFFCC00  colour 0xFFCC33  colour 0xFFCC66  colour 0xFFCC99
    colour 0xFFCCCC  colour 0xFFCCFF  colour 0xFFFF00  colour 0xFFFF33
    colour 0xFFFF66  colour 0xFFFF99  colour 0xFFFFCC  colour 0xFFFFFF
    colour 0x171717  colour 0x2E2E2E  colour 0x464646  colour 0x5D5D5D
    colour 0x747474  colour 0x8B8B8B  colour 0xA2A2A2  colour 0xB9B9B9
    colour 0xD1D1D1  colour 0xE8E8E8  colour 0x170000  colour 0x2E0000
    colour 0x460000  colour 0x5D0000  colour 0x740000  colour 0x8B0000
    colour 0xA20000  colour 0xB90000  colour 0xD10000  colour 0xE80000
    colour 0x001700  colour 0x002E00  colour 0x004600  colour 0x005D00
    colour 0x007400  colour 0x008B00  colour 0x00A200  colour 0x00B900
    colour 0x00D100  colour 0x00E800  colour 0x000017  colour 0x00002E
    colour 0x000046  colour 0x00005D  colour 0x000074  colour 0x00008B
    colour 0x0000A2  colour 0x0000B9  colour 0x0000D1  colour 0x0000E8
}

# 35 patterns: solid and empty, greys, lines, diagonals, grids and shapes.
'PAT#' 9000 "Menu patterns" {
    pattern $"FFFFFFFFFFFFFFFF"
    pattern $"0000000000000000"
    pattern $"8800220088002200"
    pattern $"AA55AA55AA55AA55"
    pattern $"77DD77DD77DD77DD"
    pattern $"8822882288228822"
    pattern $"EEBBEEBBEEBBEEBB"
    pattern $"8000000008000000"
    pattern $"FF000000FF000000"
    pattern $"FF00FF00FF00FF00"
    pattern $"FFFF0000FFFF0000"
    pattern $"FF00000000000000"
    pattern $"8888888888888888"
    pattern $"AAAAAAAAAAAAAAAA"
    pattern $"CCCCCCCCCCCCCCCC"
    pattern $"8080808080808080"
    pattern $"0102040810204080"
    pattern $"8040201008040201"
    pattern $"1122448811224488"
    pattern $"8844221188442211"
    pattern $"03060C183060C081"
    pattern $"C06030180C060381"
    pattern $"FF808080FF080808"
    pattern $"FF888888FF888888"
    pattern $"FF80808080808080"
    pattern $"8142241818244281"
    pattern $"8850205088050205"
    pattern $"10387CFE7C381000"
    pattern $"F0F0F0F00F0F0F0F"
    pattern $"CCCC3333CCCC3333"
    pattern $"1818FFFF18181818"
    pattern $"3C4281818181423C"
    pattern $"0066660000666600"
    pattern $"2222FF222222FF22"
    pattern $"7FBFDFEFF7FBFDFE"
}

# The pattern menu's first cell, no pattern: a white square crossed out,
# full size and mini.
'cicn' 9016 "NoPattern" {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "kkkkkkkkkkkkkk"
        "kkwwwwwwwwwwkk"
        "kwkwwwwwwwwkwk"
        "kwwkwwwwwwkwwk"
        "kwwwkwwwwkwwwk"
        "kwwwwkwwkwwwwk"
        "kwwwwwkkwwwwwk"
        "kwwwwwkkwwwwwk"
        "kwwwwkwwkwwwwk"
        "kwwwkwwwwkwwwk"
        "kwwkwwwwwwkwwk"
        "kwkwwwwwwwwkwk"
        "kkwwwwwwwwwwkk"
        "kkkkkkkkkkkkkk"
}

'cicn' 9017 "NoPatternMini" {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "kkkkkkkkkk"
        "kkwwwwwwkk"
        "kwkwwwwkwk"
        "kwwkwwkwwk"
        "kwwwkkwwwk"
        "kwwwkkwwwk"
        "kwwkwwkwwk"
        "kwkwwwwkwk"
        "kkwwwwwwkk"
        "kkkkkkkkkk"
}
