# Texts of stored forms.

# Item 88 names the ten layers of a new form, ^0 taking the layer's number
# (LayoutInfo::Init, forms/layout). The items before it are kept empty so
# that the item keeps its number.
'STR#' 374 "Form texts" {
    "" "" "" "" "" "" "" "" "" ""  # 1-10: not used here
    "" "" "" "" "" "" "" "" "" ""  # 11-20: not used here
    "" "" "" "" "" "" "" "" "" ""  # 21-30: not used here
    "" "" "" "" "" "" "" "" "" ""  # 31-40: not used here
    "" "" "" "" "" "" "" "" "" ""  # 41-50: not used here
    "" "" "" "" "" "" "" "" "" ""  # 51-60: not used here
    "" "" "" "" "" "" "" "" "" ""  # 61-70: not used here
    "" "" "" "" "" "" "" "" "" ""  # 71-80: not used here
    "" "" "" "" "" "" ""  # 81-87: not used here
    "Layer ^0"  # 88
}

# The default names of form objects: an object read without a name takes
# the item of its kernel type followed by its counter (NameObject,
# forms/reader); a new variable object item 67 and a counter
# (VarObject::NameDfltVar, forms/objects).
'STR#' 803 "Object names" {
    "" "" "" "" "" "" "" "" "" ""  # 1-10: not used here
    "" "" "" "" "" "" "" "" "" ""  # 11-20: not used here
    "" "" "" "" "" "" "" "" "" ""  # 21-30: not used here
    "" ""  # 31-32: not used here
    "Field"  # 33: an object read without a name, and a number
    "Rectangle"  # 34: an object read without a name, and a number
    "Text"  # 35: an object read without a name, and a number
    "Line"  # 36: an object read without a name, and a number
    "Variable"  # 37: an object read without a name, and a number
    "Picture"  # 38: an object read without a name, and a number
    "Subform"  # 39: an object read without a name, and a number
    "Matrix"  # 40: an object read without a name, and a number
    "Oval"  # 41: an object read without a name, and a number
    "Rounded Rectangle"  # 42: an object read without a name, and a number
    "Group"  # 43: an object read without a name, and a number
    "Group Box"  # 44: an object read without a name, and a number
    "" "" "" "" "" "" "" "" "" ""  # 45-54: not used here
    "" "" "" "" "" "" "" "" "" ""  # 55-64: not used here
    "" ""  # 65-66: not used here
    "vVariable"  # 67: a new variable object, and a number
}

# Item 14 is shown when an object of a form of the older flat layout cannot
# be read and read errors are reported (ReadLayoutData, forms/reader). The
# items before it are kept empty so that the item keeps its number.
'STR#' 91 "Form reading" {
    "" "" "" "" "" "" "" "" "" ""  # 1-10: not used here
    "" "" ""  # 11-13: not used here
    "An object of this form cannot be read: the form ends before it."  # 14
}

# Item 1 is what a library picture the structure does not hold shows in
# its place (LibraryImageObject::DrawObject, forms/drawing); item 2 the
# prompt of the page number a form model asks for when it is told to go to
# page -1 (AskPageNumber, forms/model), shown in DLOG 679.
'STR#' 679 "Form pages" {
    "Missing picture"  # 1
    "Go to page:"  # 2
}

# The page number dialog (AskPageNumber, forms/model): 1 OK, 2 Cancel,
# 3 the prompt, 4 the page typed (the current page at first).
'DLOG' 679 "Go to page" {
    bounds 0 0 110 300
    proc 1
    invisible
    items 679
}
'DITL' 679 {
    button 76 210 96 284 "OK"
    button 76 120 96 194 "Cancel"
    static 14 16 34 284 "^0"
    edit 42 18 58 90 ""
}

# Item 2 is shown when the form model refuses to copy objects that carry
# an object method while its copy restriction is on (LayoutEditor::DoCopy,
# forms/model).
'STR#' 809 "Form copy" {
    ""  # 1: not used here
    "Objects with an object method cannot be copied from this form."  # 2
}
