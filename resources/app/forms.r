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
