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
