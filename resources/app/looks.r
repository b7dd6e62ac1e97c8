# The colour icons of the self-drawn looks, read by name from the
# application's resource file: scroll and drop-down arrows, and the nine
# states of each look's check boxes and radio buttons (normal, checked,
# mixed, then each of them pushed and disabled).

# The Mac look's scroll arrows (its drop-down arrow too, for the down arrow).
'cicn' 20000 "ArrowLeftMac" purgeable {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "............."
        "............."
        "........k...."
        ".......kk...."
        "......kkk...."
        ".....kkkk...."
        "....kkkkk...."
        ".....kkkk...."
        "......kkk...."
        ".......kk...."
        "........k...."
        "............."
        "............."
}

# The Mac look's scroll arrows (its drop-down arrow too, for the down arrow).
'cicn' 20001 "ArrowRightMac" purgeable {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "............."
        "............."
        "....k........"
        "....kk......."
        "....kkk......"
        "....kkkk....."
        "....kkkkk...."
        "....kkkk....."
        "....kkk......"
        "....kk......."
        "....k........"
        "............."
        "............."
}

# The Mac look's scroll arrows (its drop-down arrow too, for the down arrow).
'cicn' 20002 "ArrowTopMac" purgeable {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "............."
        "............."
        "............."
        "............."
        "......k......"
        ".....kkk....."
        "....kkkkk...."
        "...kkkkkkk..."
        "..kkkkkkkkk.."
        "............."
        "............."
        "............."
        "............."
}

# The Mac look's scroll arrows (its drop-down arrow too, for the down arrow).
'cicn' 20003 "ArrowBottomMac" purgeable {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "............."
        "............."
        "............."
        "............."
        "..kkkkkkkkk.."
        "...kkkkkkk..."
        "....kkkkk...."
        ".....kkk....."
        "......k......"
        "............."
        "............."
        "............."
        "............."
}

# The Windows look's scroll arrows.
'cicn' 20004 "ArrowLeft" purgeable {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "...k"
        "..kk"
        ".kkk"
        "kkkk"
        ".kkk"
        "..kk"
        "...k"
}

# The Windows look's scroll arrows.
'cicn' 20005 "ArrowRight" purgeable {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "k..."
        "kk.."
        "kkk."
        "kkkk"
        "kkk."
        "kk.."
        "k..."
}

# The Windows look's scroll arrows.
'cicn' 20006 "ArrowTop" purgeable {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "...k..."
        "..kkk.."
        ".kkkkk."
        "kkkkkkk"
}

# The Windows look's down scroll arrow and drop-down arrow; the Cop and Theme looks' drop-down arrow.
'cicn' 20007 "ArrowBottom" purgeable {
    colour "w" 0xFFFFFF
    colour "k" 0x000000
    image
        "kkkkkkk"
        ".kkkkk."
        "..kkk.."
        "...k..."
}

# The Windows look's check boxes. State: Normal.
'cicn' 20008 "WinCheckNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "sssssssssssss"
        "skkkkkkkkkklw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "slllllllllllw"
        "swwwwwwwwwwww"
}

# The Windows look's check boxes. State: Checked.
'cicn' 20009 "WinCheckChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "sssssssssssss"
        "skkkkkkkkkklw"
        "skwwwwwwwwwlw"
        "skwwwwwwwkwlw"
        "skwwwwwwkkwlw"
        "skwkwwwkkkwlw"
        "skwkkwkkkwwlw"
        "skwkkkkkwwwlw"
        "skwwkkkwwwwlw"
        "skwwwkwwwwwlw"
        "skwwwwwwwwwlw"
        "slllllllllllw"
        "swwwwwwwwwwww"
}

# The Windows look's check boxes. State: Mixed.
'cicn' 20010 "WinCheckMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "sssssssssssss"
        "skkkkkkkkkklw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwkkkkkkkwlw"
        "skwkkkkkkkwlw"
        "skwkkkkkkkwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "skwwwwwwwwwlw"
        "slllllllllllw"
        "swwwwwwwwwwww"
}

# The Windows look's check boxes. State: PushedNormal.
'cicn' 20011 "WinCheckPushedNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "sssssssssssss"
        "skkkkkkkkkklw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "slllllllllllw"
        "swwwwwwwwwwww"
}

# The Windows look's check boxes. State: PushedChecked.
'cicn' 20012 "WinCheckPushedChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "sssssssssssss"
        "skkkkkkkkkklw"
        "skggggggggglw"
        "skgggggggkglw"
        "skggggggkkglw"
        "skgkgggkkkglw"
        "skgkkgkkkgglw"
        "skgkkkkkggglw"
        "skggkkkgggglw"
        "skgggkggggglw"
        "skggggggggglw"
        "slllllllllllw"
        "swwwwwwwwwwww"
}

# The Windows look's check boxes. State: PushedMixed.
'cicn' 20013 "WinCheckPushedMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "sssssssssssss"
        "skkkkkkkkkklw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skgkkkkkkkglw"
        "skgkkkkkkkglw"
        "skgkkkkkkkglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "slllllllllllw"
        "swwwwwwwwwwww"
}

# The Windows look's check boxes. State: DisabledNormal.
'cicn' 20014 "WinCheckDisabledNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "sssssssssssss"
        "skkkkkkkkkklw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "slllllllllllw"
        "swwwwwwwwwwww"
}

# The Windows look's check boxes. State: DisabledChecked.
'cicn' 20015 "WinCheckDisabledChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    colour "d" 0x808080
    image
        "sssssssssssss"
        "skkkkkkkkkklw"
        "skggggggggglw"
        "skgggggggdglw"
        "skggggggddglw"
        "skgdgggdddglw"
        "skgddgdddgglw"
        "skgdddddggglw"
        "skggdddgggglw"
        "skgggdggggglw"
        "skggggggggglw"
        "slllllllllllw"
        "swwwwwwwwwwww"
}

# The Windows look's check boxes. State: DisabledMixed.
'cicn' 20016 "WinCheckDisabledMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    colour "d" 0x808080
    image
        "sssssssssssss"
        "skkkkkkkkkklw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "skgdddddddglw"
        "skgdddddddglw"
        "skgdddddddglw"
        "skggggggggglw"
        "skggggggggglw"
        "skggggggggglw"
        "slllllllllllw"
        "swwwwwwwwwwww"
}

# The Windows look's radio buttons. State: Normal.
'cicn' 20017 "WinRadioNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "...ssssss..."
        "..sskkkkss.."
        ".skkwwwwklw."
        "sskwwwwwwlww"
        "skwwwwwwwwlw"
        "skwwwwwwwwlw"
        "skwwwwwwwwlw"
        "skwwwwwwwwlw"
        "sskwwwwwwlww"
        ".sllwwwwllw."
        "..wwllllww.."
        "...wwwwww..."
}

# The Windows look's radio buttons. State: Checked.
'cicn' 20018 "WinRadioChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "...ssssss..."
        "..sskkkkss.."
        ".skkwwwwklw."
        "sskwwwwwwlww"
        "skwwwkkwwwlw"
        "skwwkkkkwwlw"
        "skwwkkkkwwlw"
        "skwwwkkwwwlw"
        "sskwwwwwwlww"
        ".sllwwwwllw."
        "..wwllllww.."
        "...wwwwww..."
}

# The Windows look's radio buttons. State: Mixed.
'cicn' 20019 "WinRadioMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "...ssssss..."
        "..sskkkkss.."
        ".skkwwwwklw."
        "sskwwwwwwlww"
        "skwwwwwwwwlw"
        "skwwkkkkwwlw"
        "skwwkkkkwwlw"
        "skwwwwwwwwlw"
        "sskwwwwwwlww"
        ".sllwwwwllw."
        "..wwllllww.."
        "...wwwwww..."
}

# The Windows look's radio buttons. State: PushedNormal.
'cicn' 20020 "WinRadioPushedNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "...ssssss..."
        "..sskkkkss.."
        ".skkggggklw."
        "sskgggggglww"
        "skgggggggglw"
        "skgggggggglw"
        "skgggggggglw"
        "skgggggggglw"
        "sskgggggglww"
        ".sllggggllw."
        "..wwllllww.."
        "...wwwwww..."
}

# The Windows look's radio buttons. State: PushedChecked.
'cicn' 20021 "WinRadioPushedChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "...ssssss..."
        "..sskkkkss.."
        ".skkggggklw."
        "sskgggggglww"
        "skgggkkggglw"
        "skggkkkkgglw"
        "skggkkkkgglw"
        "skgggkkggglw"
        "sskgggggglww"
        ".sllggggllw."
        "..wwllllww.."
        "...wwwwww..."
}

# The Windows look's radio buttons. State: PushedMixed.
'cicn' 20022 "WinRadioPushedMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "...ssssss..."
        "..sskkkkss.."
        ".skkggggklw."
        "sskgggggglww"
        "skgggggggglw"
        "skggkkkkgglw"
        "skggkkkkgglw"
        "skgggggggglw"
        "sskgggggglww"
        ".sllggggllw."
        "..wwllllww.."
        "...wwwwww..."
}

# The Windows look's radio buttons. State: DisabledNormal.
'cicn' 20023 "WinRadioDisabledNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    image
        "...ssssss..."
        "..sskkkkss.."
        ".skkggggklw."
        "sskgggggglww"
        "skgggggggglw"
        "skgggggggglw"
        "skgggggggglw"
        "skgggggggglw"
        "sskgggggglww"
        ".sllggggllw."
        "..wwllllww.."
        "...wwwwww..."
}

# The Windows look's radio buttons. State: DisabledChecked.
'cicn' 20024 "WinRadioDisabledChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    colour "d" 0x808080
    image
        "...ssssss..."
        "..sskkkkss.."
        ".skkggggklw."
        "sskgggggglww"
        "skgggddggglw"
        "skggddddgglw"
        "skggddddgglw"
        "skgggddggglw"
        "sskgggggglww"
        ".sllggggllw."
        "..wwllllww.."
        "...wwwwww..."
}

# The Windows look's radio buttons. State: DisabledMixed.
'cicn' 20025 "WinRadioDisabledMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "g" 0xC0C0C0
    colour "s" 0x808080
    colour "k" 0x000000
    colour "l" 0xDFDFDF
    colour "d" 0x808080
    image
        "...ssssss..."
        "..sskkkkss.."
        ".skkggggklw."
        "sskgggggglww"
        "skgggggggglw"
        "skggddddgglw"
        "skggddddgglw"
        "skgggggggglw"
        "sskgggggglww"
        ".sllggggllw."
        "..wwllllww.."
        "...wwwwww..."
}

# The Cop look's check boxes (the Theme look's on older systems). State: Normal.
'cicn' 20026 "CopCheckNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "f" 0xDDDDDD
    colour "k" 0x000000
    colour "b" 0x999999
    image
        "kkkkkkkkkkkk"
        "kwwwwwwwwwwk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwbbbbbbbbbk"
        "kkkkkkkkkkkk"
}

# The Cop look's check boxes (the Theme look's on older systems). State: Checked.
'cicn' 20027 "CopCheckChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "f" 0xDDDDDD
    colour "k" 0x000000
    colour "b" 0x999999
    colour "a" 0x333399
    image
        "kkkkkkkkkkkk"
        "kwwwwwwwwwwk"
        "kwffffffffbk"
        "kwfffffffabk"
        "kwffffffaabk"
        "kwfafffaafbk"
        "kwfaafaaffbk"
        "kwffaaafffbk"
        "kwfffaffffbk"
        "kwffffffffbk"
        "kwbbbbbbbbbk"
        "kkkkkkkkkkkk"
}

# The Cop look's check boxes (the Theme look's on older systems). State: Mixed.
'cicn' 20028 "CopCheckMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "f" 0xDDDDDD
    colour "k" 0x000000
    colour "b" 0x999999
    colour "a" 0x333399
    image
        "kkkkkkkkkkkk"
        "kwwwwwwwwwwk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwfaaaaaafbk"
        "kwfaaaaaafbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwbbbbbbbbbk"
        "kkkkkkkkkkkk"
}

# The Cop look's check boxes (the Theme look's on older systems). State: PushedNormal.
'cicn' 20029 "CopCheckPushedNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "p" 0xAAAAAA
    colour "k" 0x000000
    colour "b" 0x999999
    image
        "kkkkkkkkkkkk"
        "kwwwwwwwwwwk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwbbbbbbbbbk"
        "kkkkkkkkkkkk"
}

# The Cop look's check boxes (the Theme look's on older systems). State: PushedChecked.
'cicn' 20030 "CopCheckPushedChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "p" 0xAAAAAA
    colour "k" 0x000000
    colour "b" 0x999999
    colour "a" 0x333399
    image
        "kkkkkkkkkkkk"
        "kwwwwwwwwwwk"
        "kwppppppppbk"
        "kwpppppppabk"
        "kwppppppaabk"
        "kwpapppaapbk"
        "kwpaapaappbk"
        "kwppaaapppbk"
        "kwpppappppbk"
        "kwppppppppbk"
        "kwbbbbbbbbbk"
        "kkkkkkkkkkkk"
}

# The Cop look's check boxes (the Theme look's on older systems). State: PushedMixed.
'cicn' 20031 "CopCheckPushedMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "p" 0xAAAAAA
    colour "k" 0x000000
    colour "b" 0x999999
    colour "a" 0x333399
    image
        "kkkkkkkkkkkk"
        "kwwwwwwwwwwk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwpaaaaaapbk"
        "kwpaaaaaapbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwbbbbbbbbbk"
        "kkkkkkkkkkkk"
}

# The Cop look's check boxes (the Theme look's on older systems). State: DisabledNormal.
'cicn' 20032 "CopCheckDisabledNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "e" 0xEEEEEE
    colour "m" 0x888888
    image
        "mmmmmmmmmmmm"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "mmmmmmmmmmmm"
}

# The Cop look's check boxes (the Theme look's on older systems). State: DisabledChecked.
'cicn' 20033 "CopCheckDisabledChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "e" 0xEEEEEE
    colour "m" 0x888888
    image
        "mmmmmmmmmmmm"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeemem"
        "meeeeeeemmem"
        "meemeeemmeem"
        "meemmemmeeem"
        "meeemmmeeeem"
        "meeeemeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "mmmmmmmmmmmm"
}

# The Cop look's check boxes (the Theme look's on older systems). State: DisabledMixed.
'cicn' 20034 "CopCheckDisabledMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "e" 0xEEEEEE
    colour "m" 0x888888
    image
        "mmmmmmmmmmmm"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meemmmmmmeem"
        "meemmmmmmeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "mmmmmmmmmmmm"
}

# The Cop look's radio buttons (the Theme look's on older systems). State: Normal.
'cicn' 20035 "CopRadioNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "f" 0xDDDDDD
    colour "k" 0x000000
    colour "b" 0x999999
    image
        "...kkkkkk..."
        "..kkwwwwkk.."
        ".kwwffffwbk."
        "kkwffffffbkk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kwffffffffbk"
        "kkwffffffbkk"
        ".kbbffffbbk."
        "..kkbbbbkk.."
        "...kkkkkk..."
}

# The Cop look's radio buttons (the Theme look's on older systems). State: Checked.
'cicn' 20036 "CopRadioChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "f" 0xDDDDDD
    colour "k" 0x000000
    colour "b" 0x999999
    colour "a" 0x333399
    image
        "...kkkkkk..."
        "..kkwwwwkk.."
        ".kwwffffwbk."
        "kkwffffffbkk"
        "kwfffaafffbk"
        "kwffaaaaffbk"
        "kwffaaaaffbk"
        "kwfffaafffbk"
        "kkwffffffbkk"
        ".kbbffffbbk."
        "..kkbbbbkk.."
        "...kkkkkk..."
}

# The Cop look's radio buttons (the Theme look's on older systems). State: Mixed.
'cicn' 20037 "CopRadioMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "f" 0xDDDDDD
    colour "k" 0x000000
    colour "b" 0x999999
    colour "a" 0x333399
    image
        "...kkkkkk..."
        "..kkwwwwkk.."
        ".kwwffffwbk."
        "kkwffffffbkk"
        "kwffffffffbk"
        "kwfaaaaaafbk"
        "kwfaaaaaafbk"
        "kwffffffffbk"
        "kkwffffffbkk"
        ".kbbffffbbk."
        "..kkbbbbkk.."
        "...kkkkkk..."
}

# The Cop look's radio buttons (the Theme look's on older systems). State: PushedNormal.
'cicn' 20038 "CopRadioPushedNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "p" 0xAAAAAA
    colour "k" 0x000000
    colour "b" 0x999999
    image
        "...kkkkkk..."
        "..kkwwwwkk.."
        ".kwwppppwbk."
        "kkwppppppbkk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kwppppppppbk"
        "kkwppppppbkk"
        ".kbbppppbbk."
        "..kkbbbbkk.."
        "...kkkkkk..."
}

# The Cop look's radio buttons (the Theme look's on older systems). State: PushedChecked.
'cicn' 20039 "CopRadioPushedChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "p" 0xAAAAAA
    colour "k" 0x000000
    colour "b" 0x999999
    colour "a" 0x333399
    image
        "...kkkkkk..."
        "..kkwwwwkk.."
        ".kwwppppwbk."
        "kkwppppppbkk"
        "kwpppaapppbk"
        "kwppaaaappbk"
        "kwppaaaappbk"
        "kwpppaapppbk"
        "kkwppppppbkk"
        ".kbbppppbbk."
        "..kkbbbbkk.."
        "...kkkkkk..."
}

# The Cop look's radio buttons (the Theme look's on older systems). State: PushedMixed.
'cicn' 20040 "CopRadioPushedMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "p" 0xAAAAAA
    colour "k" 0x000000
    colour "b" 0x999999
    colour "a" 0x333399
    image
        "...kkkkkk..."
        "..kkwwwwkk.."
        ".kwwppppwbk."
        "kkwppppppbkk"
        "kwppppppppbk"
        "kwpaaaaaapbk"
        "kwpaaaaaapbk"
        "kwppppppppbk"
        "kkwppppppbkk"
        ".kbbppppbbk."
        "..kkbbbbkk.."
        "...kkkkkk..."
}

# The Cop look's radio buttons (the Theme look's on older systems). State: DisabledNormal.
'cicn' 20041 "CopRadioDisabledNormal" purgeable {
    colour "w" 0xFFFFFF
    colour "e" 0xEEEEEE
    colour "m" 0x888888
    image
        "...mmmmmm..."
        "..mmeeeemm.."
        ".meeeeeeeem."
        "mmeeeeeeeemm"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "meeeeeeeeeem"
        "mmeeeeeeeemm"
        ".meeeeeeeem."
        "..mmeeeemm.."
        "...mmmmmm..."
}

# The Cop look's radio buttons (the Theme look's on older systems). State: DisabledChecked.
'cicn' 20042 "CopRadioDisabledChecked" purgeable {
    colour "w" 0xFFFFFF
    colour "e" 0xEEEEEE
    colour "m" 0x888888
    image
        "...mmmmmm..."
        "..mmeeeemm.."
        ".meeeeeeeem."
        "mmeeeeeeeemm"
        "meeeemmeeeem"
        "meeemmmmeeem"
        "meeemmmmeeem"
        "meeeemmeeeem"
        "mmeeeeeeeemm"
        ".meeeeeeeem."
        "..mmeeeemm.."
        "...mmmmmm..."
}

# The Cop look's radio buttons (the Theme look's on older systems). State: DisabledMixed.
'cicn' 20043 "CopRadioDisabledMixed" purgeable {
    colour "w" 0xFFFFFF
    colour "e" 0xEEEEEE
    colour "m" 0x888888
    image
        "...mmmmmm..."
        "..mmeeeemm.."
        ".meeeeeeeem."
        "mmeeeeeeeemm"
        "meeeeeeeeeem"
        "meemmmmmmeem"
        "meemmmmmmeem"
        "meeeeeeeeeem"
        "mmeeeeeeeemm"
        ".meeeeeeeem."
        "..mmeeeemm.."
        "...mmmmmm..."
}
