# The wait dialogs of long operations (SetWaitDialog, ChkWait): 1 Stop,
# 2 the progress bar, 3 a text of 'STR#' 1011, 4 the message area.
# 260 opens a structure; 281 serves every other long operation.
'DLOG' 260 {
    bounds 0 0 120 360
    title ""
    proc 5
    invisible
    items 260
}
'DITL' 260 {
    button 86 270 106 344 "Stop"
    control 62 16 74 344 260
    static 12 16 30 344 ""
    user 34 16 56 344
}
'DLOG' 281 {
    bounds 0 0 150 400
    title ""
    proc 5
    invisible
    items 281
}
'DITL' 281 {
    button 116 310 136 384 "Stop"
    control 92 16 104 384 281
    static 12 16 30 384 ""
    user 34 16 86 384
}

# The progress bars (kind 80), 0 to 100.
'CNTL' 260 "Progress" {
    $"003E 0010 004A 0158 0000 0100 0064 0000 0050 0000 0000 00"
}
'CNTL' 281 "Progress" {
    $"005C 0010 0068 0180 0000 0100 0064 0000 0050 0000 0000 00"
}

# Wait messages (SetWaitDialog's message index). Item 6 leads the progress
# line of each kind of object read.
'STR#' 1011 "Wait messages" {
    "Working…"
    "Searching…"
    "Replacing…"
    "Copying objects…"
    "Copying objects between structures…"   # 5 the copy of objects (DoMove)
    "Reading"
    "Opening the structure…"
    "Reading the declarations…"  # 8 the compiler declaration file (ReadCompFile)
    "Copying"         # 9 an object copied, or the destination's own object used instead
    "Checking…"
    "Grouping"        # 11 an object joins a group (AddGroup)
    "Ungrouping"      # 12 an object leaves its group (DelGroup)
    "Making the structure of"  # 13 a structure built of an SQL script (SQL), the script's path in the title
    "Exporting"       # 14 an object list exported as text (TRefPlane::Output), the document's name in the title
}
