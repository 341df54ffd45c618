# SPDX-FileCopyrightText: 2026 The Pavane developers
# SPDX-License-Identifier: BSD-3-Clause
# Turns dbus-monitor's output into one line per method call, signal and
# error that the run caused: who called whom, the member, and its top-level
# arguments (containers shortened). The bus daemon's own traffic is left out.
#
#   awk -v bus=system -f bus-transcript.awk monitor-output
function flush(    from, to, line) {
    if (kind == "")
        return
    if (member == "NameOwnerChanged" && nargs == 3 && args[1] !~ /^":/ && args[3] != "\"\"")
        owner[unquote(args[3])] = unquote(args[1])
    if (keep) {
        from = (sender in owner) ? owner[sender] : sender
        to = dest == "(null destination)" ? "*" : ((dest in owner) ? owner[dest] : dest)
        line = sprintf("%-8s %-8s %s -> %s  %s(%s)", bus, kind, from, to, member, joined())
        print line
    }
    kind = ""
}
function unquote(s) { gsub(/^"|"$/, "", s); return s }
function joined(    i, s) {
    s = ""
    for (i = 1; i <= nargs; i++)
        s = s (i > 1 ? ", " : "") args[i]
    return s
}
function field(name,    m) {
    if (match($0, name "=[^ ;]*")) {
        m = substr($0, RSTART + length(name) + 1, RLENGTH - length(name) - 1)
        return m
    }
    return ""
}
/^(method call|signal|method return|error) / {
    flush()
    kind = $1 == "method" ? ($2 == "call" ? "call" : "return") : $1
    sender = field("sender")
    dest = $0
    sub(/.*-> destination=/, "", dest)
    sub(/ serial=.*/, "", dest)
    member = kind == "error" ? field("error_name") : field("member")
    nargs = 0
    keep = kind != "return" && sender != "org.freedesktop.DBus" && dest != "org.freedesktop.DBus"
    next
}
/^   [^ ]/ {
    if (kind == "")
        next
    arg = substr($0, 4)
    if (arg ~ /^[\]})]/)
        next
    if (arg ~ /^(array|struct|dict entry|variant)/)
        arg = arg ~ /^array/ ? "[...]" : "{...}"
    else
        sub(/^[a-z0-9]+ /, "", arg)
    if (length(arg) > 48)
        arg = substr(arg, 1, 45) "..."
    args[++nargs] = arg
    next
}
END { flush() }
