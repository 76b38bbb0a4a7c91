#!/bin/sh
# Writes a program's manual page from its own --help text (and, for
# keyloomctl, every command's --help), so that the two cannot drift apart.
# Usage: manpage.sh PROGRAM NAME VERSION "ONE-LINE SUMMARY" OUTPUT
set -eu
program=$1 name=$2 version=$3 summary=$4 output=$5

# roff: a backslash is written \e, a line starting with . or ' gets \& first.
escape() { sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"; }
upper=$(printf '%s' "$name" | tr '[:lower:]' '[:upper:]')

{
    printf '.TH %s 1 "" "Keyloom %s" "User Commands"\n' "$upper" "$version"
    printf '.SH NAME\n%s \\- %s\n' "$name" "$summary"
    printf '.SH DESCRIPTION\n.nf\n'
    "$program" --help | escape
    printf '.fi\n'
    if [ "$name" = keyloomctl ]; then
        printf '.SH COMMANDS\n'
        "$program" --help | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p' | while read -r command; do
            printf '.SS %s\n.nf\n' "$command"
            "$program" "$command" --help | escape
            printf '.fi\n'
        done
    fi
    printf '.SH SEE ALSO\n'
    if [ "$name" = keyloomctl ]; then printf 'keyloom(1)\n'; else printf 'keyloomctl(1)\n'; fi
} > "$output.tmp"
mv "$output.tmp" "$output"
