# Copying objects between documents: the choices of every conflict code,
# the fixed defaults of the component commands, the kinds the conflict
# list can be narrowed to, the texts of codes and choices and their icons.

# The choices each conflict code offers (transfer/conflicts/ConflictChoices.h
# has the layout): read by the conflict records' visibility, the default
# choices of a transfer, the conflict preferences, and the choice pop-ups
# of the conflict list. Block: code, object type, icon and text index,
# choice count; then per choice its number, icon (cicn 257 + n), text
# (STR# 1018) and flags: 1 shown when hidden records show, 2 offered in
# the conflict preferences, 4 the code's default, 8 always shown.
# Choices: 1 copy under a new name, 2 keep the destination's (pictures:
# copy under a new id), 3 replace the destination's, 4 use the
# destination's, 5 merge with it (plug-ins: replace it), 6 use the equal
# one (a member follows its table), 7 leave out, 8 link to another object,
# 9 copy, 12 copy with its table, 13 copy under a new id, 14 and 15 copy
# (menu bars, menus), 16 and 17 not copied (its table is left out).
'C_Pm' 0 "Conflict choices" {
    $"0034"    # 52 codes
    # 1, table: an equal table is in the destination
    $"0001 0001 0101 0006"
    $"0004 0003 0004 0700"    # 4 use the destination's: default, offered, shown
    $"0009 0000 0009 0300"    # 9 copy: offered, shown
    $"0001 0001 0001 0300"    # 1 copy under a new name: offered, shown
    $"0003 0002 0003 0300"    # 3 replace the destination's: offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    $"0007 0005 0007 0300"    # 7 leave out: offered, shown
    # 2, table: a table of that name but of another definition
    $"0002 0001 0002 0005"
    $"0001 0001 0001 0F00"    # 1 copy under a new name: default, offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0008 0004 0008 0B00"    # 8 link to another: offered, always shown
    $"0007 0005 0007 0B00"    # 7 leave out: offered, always shown
    # 3, form of a copied table: the destination table has a form of that name
    $"0003 0018 0003 0003"
    $"0001 0001 0001 0F00"    # 1 copy under a new name: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 4, form of a copied table: the destination table has no form of that name
    $"0004 0018 0204 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0007 0005 0007 0300"    # 7 leave out: offered, shown
    # 5, group, component folder, or component whose namesake is no component
    $"0005 0017 0005 0002"
    $"0005 0003 0005 0F00"    # 5 merge with the destination's: default, offered, always shown
    $"0001 0001 0001 0B00"    # 1 copy under a new name: offered, always shown
    # 6, method of the same name
    $"0006 0002 0006 0003"
    $"0001 0001 0001 0F00"    # 1 copy under a new name: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 7, choice list of the same name
    $"0007 0004 0007 0003"
    $"0001 0001 0001 0F00"    # 1 copy under a new name: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 8, help balloon of the same name
    $"0008 000A 0008 0003"
    $"0001 0001 0001 0F00"    # 1 copy under a new name: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 9, string list of the same id
    $"0009 000B 0009 0003"
    $"000D 0000 000B 0F00"    # 13 copy under a new id: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 10, plug-in routine of the same name
    $"000A 0008 000A 0003"
    $"0005 0002 0003 0F00"    # 5 replace the destination's: default, offered, always shown
    $"0009 0000 0009 0B00"    # 9 copy: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 11, package of the same name, not locked
    $"000B 0007 000B 0003"
    $"0005 0002 0003 0F00"    # 5 replace the destination's: default, offered, always shown
    $"0009 0000 0009 0B00"    # 9 copy: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 12, package of the same name, locked
    $"000C 0007 000C 0002"
    $"0004 0003 0004 0F00"    # 4 use the destination's: default, offered, always shown
    $"0009 0000 0009 0B00"    # 9 copy: offered, always shown
    # 13, package not in the destination, locked
    $"000D 0007 020D 0002"
    $"0009 0000 0009 0F00"    # 9 copy: default, offered, always shown
    $"0004 0003 0004 0300"    # 4 use the destination's: offered, shown
    # 14, menu bar of the same name, equal
    $"000E 0005 010E 0003"
    $"0004 0003 0004 0700"    # 4 use the destination's: default, offered, shown
    $"000E 0000 0009 0300"    # 14 copy: offered, shown
    $"0001 0001 0001 0300"    # 1 copy under a new name: offered, shown
    # 15, menu of the same name
    $"000F 0006 000F 0003"
    $"0004 0003 0004 0F00"    # 4 use the destination's: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"000F 0000 0009 0B00"    # 15 copy: offered, always shown
    # 16, style of the same name
    $"0010 000C 0010 0003"
    $"0001 0001 0001 0F00"    # 1 copy under a new name: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 17, form of a table left out
    $"0011 0018 0311 0001"
    $"0010 0005 000C 0500"    # 16 not copied: default, shown
    # 18, menu bar of the same name, not equal
    $"0012 0005 0012 0004"
    $"0001 0001 0001 0F00"    # 1 copy under a new name: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    $"000E 0000 0009 0B00"    # 14 copy: offered, always shown
    # 19, picture of the same id
    $"0013 0012 0013 0003"
    $"0002 0000 000B 0F00"    # 2 copy under a new id: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 20, style sheet of the same name
    $"0014 0013 0014 0003"
    $"0004 0003 0004 0F00"    # 4 use the destination's: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0009 0000 0009 0B00"    # 9 copy: offered, always shown
    # 21, component whose namesake is a component
    $"0015 0020 0015 0002"
    $"0005 0003 0005 0F00"    # 5 merge with the destination's: default, offered, always shown
    $"0001 0001 0001 0B00"    # 1 copy under a new name: offered, always shown
    # 23, variable of the same name: nothing to settle
    $"0017 0009 0117 0001"
    $"0000 0003 000D 0000"    # 0 nothing to settle: hidden
    # 24, picture of the same name
    $"0018 0012 0018 0002"
    $"0007 0005 0007 0F00"    # 7 leave out: default, offered, always shown
    $"0009 0000 0009 0B00"    # 9 copy: offered, always shown
    # 25, resource of the same type and id
    $"0019 0014 0019 0003"
    $"000D 0000 000B 0F00"    # 13 copy under a new id: default, offered, always shown
    $"0003 0002 0003 0B00"    # 3 replace the destination's: offered, always shown
    $"0004 0003 0004 0B00"    # 4 use the destination's: offered, always shown
    # 26, string list of an id a plug-in's list has: never that list
    $"001A 000B 001A 0001"
    $"000D 0000 000B 0D00"    # 13 copy under a new id: default, always shown
    # 101, subtable or used table: an equal table is in the destination
    $"0065 0001 0101 0003"
    $"0006 0003 0006 0700"    # 6 use the equal one: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    $"0009 0000 0009 0300"    # 9 copy: offered, shown
    # 102, used table without an equal table
    $"0066 0001 0202 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 103, used table without an equal table, whose fields the destination has
    $"0067 0001 0203 0002"
    $"0008 0004 0008 0F00"    # 8 link to another: default, offered, always shown
    $"0009 0000 0009 0B00"    # 9 copy: offered, always shown
    # 104, field of a copied table: an equal field is in the destination table
    $"0068 001C 0104 0003"
    $"0006 0003 0006 0700"    # 6 use the equal one: default, offered, shown
    $"000C 0000 000A 0300"    # 12 copy with its table: offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 105, field of a copied table: no equal field
    $"0069 001C 0205 0002"
    $"000C 0000 000A 0700"    # 12 copy with its table: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 107, form of a used table: a form of that name is there
    $"006B 0018 0107 0003"
    $"0006 0003 0006 0700"    # 6 use the equal one: default, offered, shown
    $"0009 0000 0009 0300"    # 9 copy: offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 108, form of a used table: none of that name, the table has forms
    $"006C 0018 0208 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 109, form of a used table: the destination table has no form
    $"006D 0018 0209 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0007 0005 0007 0300"    # 7 leave out: offered, shown
    # 110, used method not in the destination
    $"006E 0002 020A 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 111, used method of a name the destination has
    $"006F 0002 010B 0003"
    $"0004 0003 0004 0700"    # 4 use the destination's: default, offered, shown
    $"0001 0001 0001 0300"    # 1 copy under a new name: offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 113, used plug-in routine not in the destination
    $"0071 0008 020D 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 114, used package not in the destination
    $"0072 0007 020E 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 115, used package not in the destination, locked
    $"0073 0007 020F 0002"
    $"0009 0000 0009 0F00"    # 9 copy: default, offered, always shown
    $"0008 0004 0008 0B00"    # 8 link to another: offered, always shown
    # 116, used string list not in the destination
    $"0074 000B 0210 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 117, used menu bar equal to none of the destination's
    $"0075 0005 0011 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 118, used style not in the destination
    $"0076 000C 0212 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 119, used choice list not in the destination
    $"0077 0004 0213 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 120, used help balloon not in the destination
    $"0078 000A 0214 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 121, subtable of a table without a destination
    $"0079 001D 0315 0001"
    $"0000 0003 000D 0000"    # 0 nothing to settle: hidden
    # 124, form of a used table left out
    $"007C 0018 0318 0001"
    $"0011 0005 000C 0500"    # 17 not copied: default, shown
    # 125, subtable or field of a table left out
    $"007D 001C 0319 0001"
    $"0010 0005 000C 0400"    # 16 not copied: default, hidden
    # 126, used menu bar; the destination has no menu bar
    $"007E 0005 021A 0001"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    # 127, used picture: no picture of that id
    $"007F 0012 021B 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 128, used picture: a picture of that id is there
    $"0080 0012 011C 0002"
    $"0004 0003 0004 0700"    # 4 use the destination's: default, offered, shown
    $"0002 0000 000B 0300"    # 2 copy under a new id: offered, shown
    # 129, used style sheet: none of that name
    $"0081 0013 021D 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
    # 130, used style sheet: one of that name is there
    $"0082 0013 011E 0002"
    $"0004 0003 0004 0700"    # 4 use the destination's: default, offered, shown
    $"0009 0000 0009 0300"    # 9 copy: offered, shown
    # 131, used resource not in the destination
    $"0083 0014 021F 0002"
    $"0009 0000 0009 0700"    # 9 copy: default, offered, shown
    $"0008 0004 0008 0300"    # 8 link to another: offered, shown
}

# The defaults of the component commands, which replace what they install
# (MakeCc_Replace): {code, choice} pairs.
'C_PR' 1 "Component defaults" {
    $"0001 0004 0002 0003 0003 0003 0004 0009 0005 0005 0006 0003"
    $"0007 0003 0008 0003 0009 0003 000A 0005 000B 0005 000C 0004"
    $"000D 0009 000E 0004 000F 0003 0010 0003 0011 0010 0012 0003"
    $"0013 0003 0014 0003 0015 0005 0018 0009 0019 0003 0065 0006"
    $"0066 0009 0067 0009 0068 0006 0069 000C 006B 0006 006C 0009"
    $"006D 0009 006E 0009 006F 0004 0071 0009 0072 0009 0073 0009"
    $"0074 0009 0075 0009 0076 0009 0077 0009 0078 0009 007C 0011"
    $"007D 0010 007E 0009 007F 0009 0080 0004 0081 0009 0082 0004"
    $"0083 0009"
}

# The object types the conflict list can be narrowed to, ended by 0 (the
# conflict dialog's filter pop-up, names from STR# 1008): tables, forms,
# fields, subtables, methods, choice lists, menus and menu bars, plug-ins,
# help balloons, string lists, styles, pictures, style sheets, groups,
# variables, resources, components.
'C_mn' 0 "Conflict kinds" {
    $"0118 1C1D 0204 0608 0A0B 0C12 1317 0914 2000"
}

# The texts of the choices, by the index 'C_Pm' gives (the conflict list's
# choice box and pop-up, the conflict preferences).
'STR#' 1018 "Conflict choices" {
    "Copy under a new name"
    "Keep the destination's"
    "Replace the destination's"
    "Use the destination's"
    "Merge with the destination's"
    "Use the equal one"
    "Leave out"
    "Link to another…"
    "Copy"
    "Copy with its table"
    "Copy under a new id"
    "Not copied"
    "Nothing to settle"
}

# What a copied object meets in the destination, by conflict code (the
# conflict list's rows and dialogs, after the object's kind and name).
'STR#' 1016 "Conflicts, direct" {
    "an equal table is in the destination."
    "the destination has a table of that name with other fields."
    "the destination table has a form of that name."
    "the destination table has no form of that name."
    "the destination has a group or folder of that name."
    "the destination has a method of that name."
    "the destination has a choice list of that name."
    "the destination has a help balloon of that name."
    "the destination has a string list with that id."
    "the destination has a plug-in routine of that name."
    "the destination has a package of that name."
    "the destination has a locked package of that name."
    "a locked package the destination does not have."
    "the destination has an equal menu bar of that name."
    "the destination has a menu of that name."
    "the destination has a style of that name."
    "its table is left out."
    "the destination has another menu bar of that name."
    "the destination has a picture with that id."
    "the destination has a style sheet of that name."
    "the destination has a component of that name."
    ""
    "the destination has a variable of that name."
    "the destination has a picture of that name."
    "the destination has a resource with that type and id."
    "the destination's list of that id belongs to a plug-in: the copy takes a new id."
}

# The same for what a copied object uses and a copied table's members,
# by conflict code less 100.
'STR#' 1017 "Conflicts, indirect" {
    "an equal table is in the destination."
    "the destination has no equal table."
    "the destination has no equal table but has its fields."
    "the destination table has an equal field."
    "the destination table has no equal field."
    ""
    "the destination table has a form of that name."
    "the destination table has no form of that name."
    "the destination table has no form."
    "the destination has no method of that name."
    "the destination has a method of that name."
    ""
    "the destination has no plug-in routine of that name."
    "the destination has no package of that name."
    "the destination has no package of that name; it is locked."
    "the destination has no string list with that id."
    "the destination has no equal menu bar."
    "the destination has no style of that name."
    "the destination has no choice list of that name."
    "the destination has no help balloon of that name."
    "its table has no counterpart."
    ""
    ""
    "its table is left out."
    "its table is left out."
    "the destination has no menu bar."
    "the destination has no picture with that id."
    "the destination has a picture with that id."
    "the destination has no style sheet of that name."
    "the destination has a style sheet of that name."
    "the destination has no resource with that type and id."
}

# The conflict codes as the conflict preferences list them, records
# without objects: direct conflicts by code...
'STR#' 1021 "Conflict defaults, direct" {
    "Table: an equal table is in the destination"
    "Table: one of that name has other fields"
    "Form of a copied table: one of that name is there"
    "Form of a copied table: none of that name"
    "Group or folder of the same name"
    "Method of the same name"
    "Choice list of the same name"
    "Help balloon of the same name"
    "String list of the same id"
    "Plug-in routine of the same name"
    "Package of the same name"
    "Locked package of the same name"
    "Locked package not in the destination"
    "Equal menu bar of the same name"
    "Menu of the same name"
    "Style of the same name"
    "Form of a table left out"
    "Menu bar of the same name, not equal"
    "Picture of the same id"
    "Style sheet of the same name"
    "Component of the same name"
    ""
    "Variable of the same name"
    "Picture of the same name"
    "Resource of the same type and id"
    "String list of an id a plug-in's list has"
}

# ...and indirect ones by code less 100.
'STR#' 1022 "Conflict defaults, indirect" {
    "Used table or subtable: an equal one is there"
    "Used table: no equal one"
    "Used table: no equal one, its fields are there"
    "Field of a copied table: an equal one is there"
    "Field of a copied table: no equal one"
    ""
    "Form of a used table: one of that name is there"
    "Form of a used table: none of that name"
    "Form of a used table: the table has no form"
    "Used method not in the destination"
    "Used method of a name the destination has"
    ""
    "Used plug-in routine not in the destination"
    "Used package not in the destination"
    "Used locked package not in the destination"
    "Used string list not in the destination"
    "Used menu bar: no equal one"
    "Used style not in the destination"
    "Used choice list not in the destination"
    "Used help balloon not in the destination"
    "Subtable of a table without counterpart"
    ""
    ""
    "Form of a used table left out"
    "Subtable or field of a table left out"
    "Used menu bar; the destination has none"
    "Used picture not in the destination"
    "Used picture of an id the destination has"
    "Used style sheet not in the destination"
    "Used style sheet of a name the destination has"
    "Used resource not in the destination"
}

# The choices' icons in the conflict list (cicn 257 + the choice's icon
# number; the pop-up's item icons are the same): copy, rename, replace,
# use, link, leave out.
'cicn' 257 "Copy" purgeable {
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    colour "b" 0x3366CC
    image
        "................"
        ".kkkkkkkk......."
        ".kwwwwwwk......."
        ".kwwwwwwk......."
        ".kwwkkkkkkkk...."
        ".kwwkbbbbbbk...."
        ".kwwkbbbbbbk...."
        ".kwwkbbbbbbk...."
        ".kkkkbbbbbbk...."
        "....kbbbbbbk...."
        "....kbbbbbbk...."
        "....kbbbbbbk...."
        "....kkkkkkkk...."
        "................"
        "................"
        "................"
}
'cicn' 258 "Copy under a new name" purgeable {
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    colour "y" 0xE8B020
    image
        "................"
        ".kkkkkkkkk......"
        ".kwwwwwwwk......"
        ".kwkkkkwwk......"
        ".kwwwwwwwk.....y"
        ".kwkkkkkwk....yy"
        ".kwwwwwwwk...yy."
        ".kwkkkkwwk..yy.."
        ".kwwwwwwwk.yy..."
        ".kwkkkkkwkyy...."
        ".kwwwwwwwyy....."
        ".kkkkkkkkk......"
        "................"
        "................"
        "................"
        "................"
}
'cicn' 259 "Replace the destination's" purgeable {
    colour "k" 0x000000
    colour "w" 0xFFFFFF
    colour "r" 0xCC3333
    image
        "................"
        "........kkkkkkk."
        "........kwwwwwk."
        "...r....kwwwwwk."
        "...rr...kwwwwwk."
        "rrrrrr..kwwwwwk."
        "rrrrrrr.kwwwwwk."
        "rrrrrr..kwwwwwk."
        "...rr...kwwwwwk."
        "...r....kwwwwwk."
        "........kwwwwwk."
        "........kkkkkkk."
        "................"
        "................"
        "................"
        "................"
}
'cicn' 260 "Use the destination's" purgeable {
    colour "g" 0x22AA44
    image
        "................"
        "................"
        "..............gg"
        ".............gg."
        "............gg.."
        "...........gg..."
        "..........gg...."
        "gg.......gg....."
        ".gg.....gg......"
        "..gg...gg......."
        "...gg.gg........"
        "....ggg........."
        ".....g.........."
        "................"
        "................"
        "................"
}
'cicn' 261 "Link to another" purgeable {
    colour "k" 0x335599
    image
        "................"
        "................"
        "................"
        "..kkkk.........."
        ".k....k........."
        "k......k........"
        "k...kkkkkkkk...."
        "k......k....k..."
        ".k....k......k.."
        "..kkkkkkkk...k.."
        "........k....k.."
        ".........k..k..."
        "..........kk...."
        "................"
        "................"
        "................"
}
'cicn' 262 "Leave out" purgeable {
    colour "r" 0xCC3333
    image
        "................"
        ".....rrrrrr....."
        "...rr......rr..."
        "..r.........rr.."
        ".r.........r..r."
        ".r........r...r."
        "r........r.....r"
        "r.......r......r"
        "r......r.......r"
        "r.....r........r"
        ".r...r........r."
        ".r..r.........r."
        "..rr.........r.."
        "...rr......rr..."
        ".....rrrrrr....."
        "................"
}
# The codes' icons in the conflict list's rows (cicn 512 + the code's icon
# number), 32 by 16 as the rows place them: a clash, an equal counterpart,
# nothing there, a member.
'cicn' 512 "Clash" purgeable {
    colour "y" 0xF0C020
    colour "k" 0x000000
    image
        "................................"
        "...............kk..............."
        "..............kyyk.............."
        "..............kyyk.............."
        ".............kyyyyk............."
        ".............kykkyk............."
        "............kyykkyyk............"
        "............kyykkyyk............"
        "...........kyyykkyyyk..........."
        "...........kyyykkyyyk..........."
        "..........kyyyyyyyyyyk.........."
        "..........kyyyykkyyyyk.........."
        ".........kyyyyykkyyyyyk........."
        ".........kkkkkkkkkkkkkk........."
        "................................"
        "................................"
}
'cicn' 513 "Equal" purgeable {
    colour "g" 0x22AA44
    image
        "................................"
        "................................"
        "................................"
        "................................"
        "..........gggggggggggg.........."
        "..........gggggggggggg.........."
        "................................"
        "................................"
        "................................"
        "..........gggggggggggg.........."
        "..........gggggggggggg.........."
        "................................"
        "................................"
        "................................"
        "................................"
        "................................"
}
'cicn' 514 "Missing" purgeable {
    colour "b" 0x3366CC
    image
        "................................"
        "................................"
        "..............bbbb.............."
        "..............bbbb.............."
        "..............bbbb.............."
        "..............bbbb.............."
        "..........bbbbbbbbbbbb.........."
        "..........bbbbbbbbbbbb.........."
        "..........bbbbbbbbbbbb.........."
        "..........bbbbbbbbbbbb.........."
        "..............bbbb.............."
        "..............bbbb.............."
        "..............bbbb.............."
        "..............bbbb.............."
        "................................"
        "................................"
}
'cicn' 515 "Member" purgeable {
    colour "k" 0x666666
    image
        "................................"
        "................................"
        "..........k....................."
        "..........k....................."
        "..........k....................."
        "..........k....................."
        "..........k....................."
        "..........k......kkkk..........."
        "..........k.....kkkkkk.........."
        "..........kkkkkkkkkkkk.........."
        "................kkkkkk.........."
        ".................kkkk..........."
        "................................"
        "................................"
        "................................"
        "................................"
}

# The conflict dialog (transfer/dialogs/ConflictDialog.cpp): 1 OK, 2
# Cancel, 3 Export, 4 the list of conflicts (its rows drawn by list
# definition 1006), 5 the filter pop-up. It grows taller, keeps its width;
# its title is set when it opens.
'DLOG' 276 {
    bounds 0 0 400 560
    proc 8
    invisible
    goaway
    items 276
}
'DITL' 276 {
    button 366 464 386 544 "OK"
    button 366 372 386 452 "Cancel"
    button 366 16 386 126 "Export…"
    user 44 16 352 544 disabled
    user 12 16 34 330 disabled
}

# The filter pop-up of the conflict dialog and the choice pop-up of its
# rows (C_Filter, LongLC_Click): filled when it pops up.
'MENU' 1000 "Conflict pop-up" {
    title ""
}

# The filters of the conflict list, before the object types of 'C_mn' 0
# (the filter pop-up and its text).
'STR#' 1020 "Conflict filters" {
    "All conflicts"
    "Direct conflicts"
    "Indirect conflicts"
}

# The colours of a conflict row (DoDrawC_Cell): 1 the description, 2 the
# choice.
'clut' 1001 "Conflict rows" {
    colour 0x000000
    colour 0x202020
    colour 0x1A3C8C
}

# The rename dialog (GetNewNameDialog): 1 OK, 2 Cancel, 3 the object, 4
# what its conflict is, 5 the choice's text, 6 the new name.
'DLOG' 600 {
    bounds 0 0 150 420
    proc 5
    invisible
    title "New Name"
    items 600
}
'DITL' 600 {
    button 116 324 136 404 "OK"
    button 116 232 136 312 "Cancel"
    static 12 16 30 404 ""
    static 32 16 64 404 ""
    static 78 16 96 190 ""
    edit 78 196 94 404 ""
}

# The link dialog of tables, fields, forms and menu bars (the records'
# link dialogs): 1 OK, 2 Cancel, 3 the object, 4 what its conflict is, 5
# the object chosen, 6 a label, 7 not used, 8 the caption naming where the
# objects come from, 9 the objects (drawn as pick-list rows).
'DLOG' 601 {
    bounds 0 0 360 420
    proc 5
    invisible
    title "Link"
    items 601
}
'DITL' 601 {
    button 326 324 346 404 "OK"
    button 326 232 346 312 "Cancel"
    static 12 16 30 404 ""
    static 32 16 64 404 ""
    static 296 16 314 404 ""
    static 68 16 84 404 "Link it to this object of the destination:"
    user 0 0 0 0 disabled
    user 88 16 110 404 disabled
    user 112 16 288 404 disabled
}
