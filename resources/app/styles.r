# Default text styles, looked up by name with findstyle ("|name").
'STQz' 0 "Styles" {
    style "Plain" "Geneva;12;0"
    style "Bold" "Geneva;12;1"
    style "Title" "Geneva;18;1"
    style "Code" "Monaco;9;0"
}
