# The browser's object lists (browser/).
# The criteria dialog (GetSearchFilter): 1-2 the OK button's and the
# title's text when searching and when editing a filter; 5-7 the
# subjects; 8-12 the operators of names, 13-16 of dates, 17-20 of numbers
# of users; 21-22 where a search looks. Header titles of the pseudo
# filters (TRefPlane::SetDfltFilter): 23 search results, 24 a titled list,
# 25 a narrowed or incomplete list.
'STR#' 1004 "List titles" {
    "Find"
    "Filter"
    "" ""
    "Name"
    "Date changed"
    "Number of users"
    "is"
    "contains"
    "does not contain"
    "begins with"
    "ends with"
    "is"
    "is before"
    "is after"
    "is not"
    "is"
    "is more than"
    "is less than"
    "is not"
    "In the whole document"
    "In the rows shown"
    "Search results"
    "List"
    "Selected rows"
}

# Pane titles: 1 the main list, 2 the uses pane, 3 the where-used pane.
'STR#' 1009 "Pane titles" {
    "Objects"
    "Uses"
    "Used by"
}

# The preview's display types, item type + 1, named in its pop-up box.
'STR#' 1010 "Display types" {
    "Drawing"
    "Outline"
    "Text"
}

# The kind label in front of a row's name (browser/ListDef.cpp), item k for kind k.
'STR#' 1012 "Kind labels" {
    "Table"
    "Method"
    "Command"
    "List"
    "Menu bar"
    "Menu"
    "Package"
    "Routine"
    "Variable"
    "Balloon"
    "Strings"
    "Style"
    "Set"
    "Selection"
    "Semaphore"
    "Database method"
    "Constant"
    "Picture"
    "Style sheet"
    "Resource"
    "List box"
    "Object"
    "Group"
    "Form"
    "Object method"
    "Table method"
    "Form method"
    "Field"
    "Subtable"
    "Table balloon"
    "Object"
    "Component"
    "Folder"
}

# Row icons of the object lists, 2040 + kind (GetIconID); 3040 + kind for
# ciphered objects; 2072-2075 components and folders by state.
'cicn' 2041 "Table" purgeable {
    colour "f" 0xCCAA33
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkkwwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2042 "Method" purgeable {
    colour "f" 0x76CC33
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwffffffffffwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2043 "Command" purgeable {
    colour "f" 0x33CC67
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2044 "List" purgeable {
    colour "f" 0x33B9CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2045 "Menu bar" purgeable {
    colour "f" 0x3342CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2046 "Menu" purgeable {
    colour "f" 0x9B33CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2047 "Package" purgeable {
    colour "f" 0xCC3385
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2048 "Routine" purgeable {
    colour "f" 0xCC5733
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwwkwwwwf."
        ".fwkkwwwwkwwwwf."
        ".fwkwkwwwkwwwwf."
        ".fwkwkwwwkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2049 "Variable" purgeable {
    colour "f" 0xC8CC33
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2050 "Balloon" purgeable {
    colour "f" 0x51CC33
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkwwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2051 "Strings" purgeable {
    colour "f" 0x33CC8B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwkwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2052 "Style" purgeable {
    colour "f" 0x3394CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwkwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2053 "Set" purgeable {
    colour "f" 0x4833CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwwkwwkwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2054 "Selection" purgeable {
    colour "f" 0xBF33CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwwwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkwwwwwf."
        ".fwwwkwwkwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2055 "Semaphore" purgeable {
    colour "f" 0xCC3360
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwkwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2056 "Database method" purgeable {
    colour "f" 0xCC7C33
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkwwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkwwwkkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwffffffffffwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2057 "Constant" purgeable {
    colour "f" 0xA4CC33
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2058 "Picture" purgeable {
    colour "f" 0x33CC39
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwkwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2059 "Style sheet" purgeable {
    colour "f" 0x33CCB0
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwkwwwwkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2060 "Resource" purgeable {
    colour "f" 0x3370CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwkwwwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwwwkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2061 "List box" purgeable {
    colour "f" 0x6D33CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwwwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2062 "Object" purgeable {
    colour "f" 0xCC33B3
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2063 "Group" purgeable {
    colour "f" 0xCC333C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2064 "Form" purgeable {
    colour "f" 0xCCA133
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2065 "Object method" purgeable {
    colour "f" 0x7FCC33
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwffffffffffwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2066 "Table method" purgeable {
    colour "f" 0x33CC5D
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwkwwwkkkwwwf."
        ".fwwkwwwkkkwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwffffffffffwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2067 "Form method" purgeable {
    colour "f" 0x33C2CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwffffffffffwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2068 "Field" purgeable {
    colour "f" 0x334BCC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkkwwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2069 "Subtable" purgeable {
    colour "f" 0x9133CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwkwwkwkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2070 "Table balloon" purgeable {
    colour "f" 0xCC338E
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkkwwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2071 "Object" purgeable {
    colour "f" 0xCC4E33
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2072 "Component" purgeable {
    colour "f" 0xCCC533
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2073 "Folder" purgeable {
    colour "f" 0x5ACC33
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2074 "Component state 34" purgeable {
    colour "f" 0x33CC82
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2075 "Component state 35" purgeable {
    colour "f" 0x339ECC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2076 "Component state 36" purgeable {
    colour "f" 0x3F33CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwwwkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2077 "Component state 37" purgeable {
    colour "f" 0xB633CC
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 2078 "Component state 38" purgeable {
    colour "f" 0xCC336A
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3041 "Ciphered Table" purgeable {
    colour "f" 0x8C815B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkkwwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3042 "Ciphered Method" purgeable {
    colour "f" 0x708C5B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwfffffffkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3043 "Ciphered Command" purgeable {
    colour "f" 0x5B8C6B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3044 "Ciphered List" purgeable {
    colour "f" 0x5B868C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3045 "Ciphered Menu bar" purgeable {
    colour "f" 0x5B608C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3046 "Ciphered Menu" purgeable {
    colour "f" 0x7C5B8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3047 "Ciphered Package" purgeable {
    colour "f" 0x8C5B75
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3048 "Ciphered Routine" purgeable {
    colour "f" 0x8C665B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwwkwwwwf."
        ".fwkkwwwwkwwwwf."
        ".fwkwkwwwkwwwwf."
        ".fwkwkwwwkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3049 "Ciphered Variable" purgeable {
    colour "f" 0x8B8C5B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3050 "Ciphered Balloon" purgeable {
    colour "f" 0x648C5B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkwwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3051 "Ciphered Strings" purgeable {
    colour "f" 0x5B8C77
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwkwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3052 "Ciphered Style" purgeable {
    colour "f" 0x5B7A8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwkwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3053 "Ciphered Set" purgeable {
    colour "f" 0x625B8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwwkwwkwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3054 "Ciphered Selection" purgeable {
    colour "f" 0x885B8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwwwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkwwwwwf."
        ".fwwwkwwkwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3055 "Ciphered Semaphore" purgeable {
    colour "f" 0x8C5B69
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwkwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3056 "Ciphered Database method" purgeable {
    colour "f" 0x8C725B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkwwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkwwwkkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwfffffffkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3057 "Ciphered Constant" purgeable {
    colour "f" 0x7F8C5B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3058 "Ciphered Picture" purgeable {
    colour "f" 0x5B8C5D
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwkwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3059 "Ciphered Style sheet" purgeable {
    colour "f" 0x5B8C83
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwkwwwwkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3060 "Ciphered Resource" purgeable {
    colour "f" 0x5B6E8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwkwwwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwkwwwwkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3061 "Ciphered List box" purgeable {
    colour "f" 0x6D5B8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkwwwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3062 "Ciphered Object" purgeable {
    colour "f" 0x8C5B84
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3063 "Ciphered Group" purgeable {
    colour "f" 0x8C5B5E
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3064 "Ciphered Form" purgeable {
    colour "f" 0x8C7E5B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3065 "Ciphered Object method" purgeable {
    colour "f" 0x738C5B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkwkwwkkkwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwfffffffkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3066 "Ciphered Table method" purgeable {
    colour "f" 0x5B8C68
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwkwwwkkkwwwf."
        ".fwwkwwwkkkwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwfffffffkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3067 "Ciphered Form method" purgeable {
    colour "f" 0x5B898C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkkwwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwfffffffkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3068 "Ciphered Field" purgeable {
    colour "f" 0x5B638C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkkwwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3069 "Ciphered Subtable" purgeable {
    colour "f" 0x795B8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwkwwkwkwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3070 "Ciphered Table balloon" purgeable {
    colour "f" 0x8C5B78
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkkwwwwf."
        ".fwwkwwwkwkwwwf."
        ".fwwkwwwkkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3071 "Ciphered Object" purgeable {
    colour "f" 0x8C635B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkwkwwkkwwwwf."
        ".fwkwkwwkwkwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3072 "Ciphered Component" purgeable {
    colour "f" 0x8C8A5B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkwwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3073 "Ciphered Folder" purgeable {
    colour "f" 0x678C5B
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3074 "Ciphered Component state 34" purgeable {
    colour "f" 0x5B8C74
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3075 "Ciphered Component state 35" purgeable {
    colour "f" 0x5B7D8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3076 "Ciphered Component state 36" purgeable {
    colour "f" 0x5F5B8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwkwwwwwwkwwwf."
        ".fwkwwwwwkwwwwf."
        ".fwkwwwwkwwwwwf."
        ".fwkkkwwkkkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3077 "Ciphered Component state 37" purgeable {
    colour "f" 0x855B8C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkwwwwkkkwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
'cicn' 3078 "Ciphered Component state 38" purgeable {
    colour "f" 0x8C5B6C
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    image
        "................"
        ".ffffffffffffff."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwwwwwwwwwwwwf."
        ".fwkkkwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkwwwwkwkwwwf."
        ".fwkkkwwwkwwwwf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkwwkf."
        ".fwwwwwwwwkkkkf."
        ".fwwwwwwwwkkkkf."
        ".ffffffffffffff."
        "................"
}
