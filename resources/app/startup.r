# Resources read while the program starts.

# Task names; item 9 names the main task, read by x_initQzGlobals. Item 6
# names the start-up project method, marked used by ReadQzB.
'STR#' 1007 "Task names" {
    "" ""
    "Type:"          # 3-5 a field's description (design/preview/FieldDescription.cpp):
    "Attributes:"    #     its type line, the attributes' heading, its relation
    "Related to"
    "STARTUP"      # 6 the project method run at start-up: always in use
    "" ""
    "Main task"
}

# Interface fonts and digit ranges (17 words), read by LoadLayout: font 0,
# big size 12, small size 9, message font 0, message size 9; words 14-16
# zero keep the plain digits.
'INTQ' 0 "Interface layout" {
    $"0000 000C 0009 0000 0009 0000 000C 0009 0000 0009 0000 0000 0000 0000 0000 0000 0000"
}

# Customisation settings (92 bytes), read by ReadCust; all defaults.
'CUST' 0 "Customisation" {
    $"0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000"
    $"0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000"
    $"0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000"
}

# Number and time punctuation, read by VSystem and the kernel's format
# characters: '.' ',' date order 0, "/", time cycle 0, " AM" " PM", ':'.
'itl0' 0 "International settings" {
    $"2E2C 0000 0000 0000 002F 0000 414D 0000 504D 0000 3A00 0000"
}

# The words for false and true, read by VSystem::GetBoolString.
'STR#' 9003 "Booleans" {
    "False"
    "True"
}

# Key names, read by VKeySwitch::GetKeyString; item n names the keys whose
# item is n (items 1-4, 32 and 36 name no key).
'STR#' 9000 "Key names" {
    ""
    ""
    ""
    ""
    "F1"
    "F2"
    "F3"
    "F4"
    "F5"
    "F6"
    "F7"
    "F8"
    "F9"
    "F10"
    "F11"
    "F12"
    "F13"
    "F14"
    "F15"
    "Help"
    "Forward Delete"
    "Home"
    "End"
    "Page Up"
    "Page Down"
    "Left Arrow"
    "Right Arrow"
    "Up Arrow"
    "Down Arrow"
    "Tab"
    "Space"
    ""
    "Delete"
    "Enter"
    "Escape"
    ""
    "Return"
}

# The words of the Undo and Redo menu items, read by VFrame.
'STR#' 9002 "Undo and redo" {
    "Undo"
    "Redo"
}

# File kinds, read by VSystem::BuildKindList: virtual kind, Mac type,
# Windows extension, flags (bit 7 template).
'FMAP' 128 "File kinds" {
    $"0004"
    $"5445 5854 5445 5854 5458 5420 0000"
    $"4854 4D4C 5445 5854 4854 4D4C 0000"
    $"4A50 4547 4A50 4547 4A50 4720 0000"
    $"5043 5420 5049 4354 5043 5420 0000"
}
