# The punctuation of the method language, read at start-up into the
# kernel's token strings and used to write method text (DoTextProc): the
# operators by their sub-kind 0 to 24 are items 16, 17, 18, 19, 20, 35,
# 36, 15, 23, 25, 21, 22, 28, 29, 26, 27, 41 to 46, 30, 31 and 24; 1
# separates parameters and the plug-in marks' numbers, 4 and 37 enclose
# dates and times, 5 string literals, 38 errors and plug-in numbers; 40
# indents the lines inside control structures.
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
    "\x09"     # 40 indentation
    " ^| "     # 41 exclusive or
    " >> "     # 42 shift right
    " << "     # 43 shift left
    " ?+ "     # 44 bit set
    " ?- "     # 45 bit clear
    " ?? "     # 46 bit test
}

# The keywords of the control structures, by token kind: item = kind - 6
# (DoTextProc). Kinds 14, 16, 19, 29 and 31 open a block, 15, 18, 21, 30
# and 32 close one, 17 divides one.
'STR#' 105 "Method keywords" {
    "Return"       # 7
    ""             # 8 end of line
    ""             # 9
    ""             # 10
    ""             # 11
    "Break"        # 12
    ""             # 13
    "If"           # 14
    "End if"       # 15
    "While"        # 16
    "Else"         # 17
    "End while"    # 18
    "Case of"      # 19
    ":"            # 20
    "End case"     # 21
    ""             # 22
    ""             # 23
    "Self"         # 24
    "Null"         # 25
    ""             # 26
    ""             # 27
    "True"         # 28
    "Repeat"       # 29
    "Until"        # 30
    "For"          # 31
    "End for"      # 32
    "False"        # 33
    "Pass"         # 34
}

# The owner markers of the local blocks of a compiler declaration file
# (NumCalc): the text from the line's "(" up to its ")" and the space
# after it names an object method (2), a table method (3), a form method
# (4) or a project method (5).
'STR#' 531 "Declaration owners" {
    ""
    "(Object Method) "
    "(Table Method) "
    "(Form Method) "
    "(Method) "
}
