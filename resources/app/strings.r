# Application strings. Each list grows as the code that reads it is built.

# Application names and file names.
#   1-5  the about box (application name, version line, memory line, credits)
#   6    the preferences file name, read by UPrefs::Init and OpenPrefResFile
#   7    the base name of working files, removed at start-up (DelTempFiles)
#   8    the database environment's preferences file (method-editor styles,
#        InitFromQzPrefResFile)
'STR#' 1000 "Application" {
    "Qz Structure Browser"
    "Version"
    "KB free"
    "Structure browser for Qz databases."
    ""
    "Qz Structure Browser Preferences"
    "Qz Browser Work"
    "Qz Preferences"
}

# The program's kinds (GetClientName): the 'apnm' entry names the program
# to the open-file dialog (its client name).
# Signature 'QzSB', region 0, one entry: 'apnm' and the name as a
# length-prefixed string, padded to an even length.
'kind' 9000 "Program name" {
    $"517A 5342 0000 0001"
    $"6170 6E6D"
    $"1451 7A20 5374 7275"
    $"6374 7572 6520 4272"
    $"6F77 7365 7200"    # 20, "Qz Structure Browser", pad
}
