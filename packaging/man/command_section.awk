# Turns the text of "skntool help COMMAND" into a section of the manual page:
# the usage line as its heading, prose as filled paragraphs, and indented
# lines (option lists, tables) kept as they are.
function roff(s) {
    gsub(/\\/, "\\e", s)
    gsub(/-/, "\\-", s)
    if (s ~ /^[.']/) s = "\\&" s
    return s
}
function end_block() {
    if (mode == "table") print ".fi"
    mode = ""
}
NR == 1 {
    sub(/^Usage: /, "")
    s = roff($0)
    gsub(/"/, "\\(dq", s)
    print ".SS \"" s "\""
    next
}
/^$/ { end_block(); next }
/^ / {
    if (mode != "table") {
        end_block()
        print ".PP"
        print ".nf"
        mode = "table"
    }
    print roff(substr($0, 3))
    next
}
{
    if (mode != "prose") {
        end_block()
        print ".PP"
        mode = "prose"
    }
    print roff($0)
}
END { end_block() }
