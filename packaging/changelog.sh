#!/bin/sh
# Writes the Debian changelog (gzip-compressed) from NEWS.md, and fails when
# NEWS.md's newest version is not the project's version or when the AppStream
# metainfo lists other releases than NEWS.md, so the three cannot drift apart.
# NEWS.md: "## VERSION (YYYY-MM-DD)" headings, each followed by "- " items
# whose further lines are indented by two spaces.
# Usage: changelog.sh NEWS.md PACKAGE VERSION "NAME <EMAIL>" METAINFO OUTPUT.gz
set -eu
news=$1 package=$2 version=$3 maintainer=$4 metainfo=$5 output=$6

releases=$(sed -n 's/^## \([^ ]*\) (\([^)]*\))$/\1 \2/p' "$news")
newest=$(printf '%s\n' "$releases" | sed -n '1s/ .*//p')
if [ "$newest" != "$version" ]; then
    echo "$news: the newest version is '$newest', the project's is $version" >&2
    exit 1
fi
listed=$(sed -n 's/.*<release version="\([^"]*\)" date="\([^"]*\)".*/\1 \2/p' "$metainfo")
if [ "$listed" != "$releases" ]; then
    echo "$metainfo: the releases differ from $news's versions and dates" >&2
    exit 1
fi

awk -v package="$package" -v maintainer="$maintainer" -v file="$news" '
function fail(why) { printf "%s:%d: %s\n", file, NR, why > "/dev/stderr"; failed = 1; exit 1 }
function close_entry() {
    if (!open) return
    if (!items) fail("version " version " lists nothing")
    # The date was checked to be digits and dashes before it reaches the shell.
    command = "date -u -R -d " day
    if ((command | getline stamp) <= 0) fail("no date " day)
    close(command)
    printf "\n -- %s  %s\n", maintainer, stamp
    open = 0
}
/^## / {
    if (!match($0, /^## [0-9][0-9.]* \([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\)$/))
        fail("a version heading is \"## VERSION (YYYY-MM-DD)\"")
    close_entry()
    if (entries++) print ""
    version = $2
    day = substr($3, 2, 10)
    printf "%s (%s) unstable; urgency=medium\n\n", package, version
    open = 1; items = 0
    next
}
!open || /^$/ { next }
/^- / { print "  * " substr($0, 3); items++; next }
/^  [^ ]/ && items { print "    " substr($0, 3); next }
{ fail("inside a version only \"- \" items and their indented lines") }
END {
    if (failed) exit 1
    close_entry()
    if (!entries) fail("no version")
}' "$news" > "$output.txt"

if ! awk '/^  / && length > 80 { exit 1 }' "$output.txt"; then
    echo "$news: a change line of the changelog is longer than 80 characters" >&2
    exit 1
fi
gzip -9n -c "$output.txt" > "$output.tmp"
rm -f "$output.txt"
mv "$output.tmp" "$output"
