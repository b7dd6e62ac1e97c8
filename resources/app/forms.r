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
