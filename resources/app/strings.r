# Application strings. Each list grows as the code that reads it is built.

# Application names and file names.
#   1-5  the about box (application name, version line, memory line, credits)
#   6    the kernel preferences file name, read by UPrefs::Init through gs
'STR#' 1000 "Application" {
    "Qz Structure Browser"
    "Version"
    "KB free"
    "Structure browser for Qz databases."
    ""
    "Qz Structure Browser Preferences"
}
