# The punctuation of the method language, read at start-up into the
# kernel's token strings and used to write method text.
'STR#' 104 "Method punctuation" {
    ";"        # 1 separator
    "["        # 2 table left
    "]"        # 3 table right
    "!"        # 4 date marker
    "\""       # 5 quote
    "'"        # 6 sub-table
    "("        # 7
    ")"        # 8
    "{"        # 9 array left
    "}"        # 10 array right
    "`"        # 11 comment
    "$"        # 12 local variable
    "ERROR"    # 13 error
    "{}"       # 14 array
    ":="       # 15 assignment
    "+"        # 16
    "-"        # 17
    "*"        # 18
    "/"        # 19
    "^"        # 20 power
    "<"        # 21
    ">"        # 22
    "="        # 23
    ".."       # 24 range
    "#"        # 25 different
    " & "      # 26 and
    " | "      # 27 or
    "<="       # 28
    ">="       # 29
    "*+"       # 30 horizontal scale
    "*|"       # 31 vertical scale
    "->"       # 32 pointer
    "\""       # 33 string left
    "\""       # 34 string right
    "\\"       # 35 integer division
    "%"        # 36 modulo
    "?"        # 37 time marker
    "§"        # 38 token extension
    "<>"       # 39 interprocess prefix
}
