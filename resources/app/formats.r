# Display-format characters, read by the kernel at start-up (LoadFormatChars),
# one byte each: digit placeholders '#' (unused vanish), '^' (unused show the
# fill), '*' (unused show '*'), '0' (unused show '0'); the decimal separator
# '.' (replaced by the system's); the section separator ';'; the fill ' ';
# '&' that starts the special forms; the exponent 'E'; the minus sign '-'.
'COM#' 8 {
    $"235E 2A30 2E3B 2026 452D"
}
