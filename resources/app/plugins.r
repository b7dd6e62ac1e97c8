# Plug-ins: the application's identity, which plug-in files are checked
# against (forms/identity/FileIdentification.h), and the plug-in messages.
# The application's own file may hold package bundles ('QBNX'); it holds none.

# The application's signature (checkVersions, plug-in discovery).
'QzSG' 0 "Signature" {
    $"0001"
}

# The application's own version under its signature: "Structure browser", 6.
'QzID' 1 "Structure browser" {
    $"1153 7472 7563 7475 7265 2062 726F 7773 6572 0006"
}

# Plug-in messages (ErrMsg through the code map below).
#   1  code 1023: a plug-in's documentation found no free id in its file
#   2-3 the plug-ins a discovery passed over, before the list and before each folder (design/plugins/PlugInNotices.h)
#   4-5 around the name of a routine left out, after its plug-in's
'STR#' 1040 "Plug-in messages" {
    "The plug-in's file has no room for more documentation: every documentation number is taken."
    "These plug-ins, or the routines named after them, are left out: they cannot be read, or another plug-in has the same package or routine."
    " In "
    " (its routine "
    ")"
}

# Plug-in codes: code, item of 'STR#' 1040.
'EMap' 1040 "Plug-in codes" {
    $"03FF 0001"    # 1023 no free documentation id
}
