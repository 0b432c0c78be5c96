#!/usr/bin/env bash
# Makes skntool's manual page from the program's own texts, so the page can
# never say something the program does not: help2man turns --help and
# --version into the page, and each command's "help COMMAND" text becomes a
# section of it.
#   skntool_man.sh SKNTOOL OUTPUT.1.gz VERSION
set -euo pipefail
skntool=$1 output=$2 version=$3
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A sanitizer build of skntool runs here too; its leak report is the tests' business.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

"$skntool" --help >"$work/help"
# The commands are the first words of the indented lines under "Commands:".
commands=$(awk '/^Commands:/ { on = 1; next } on && /^$/ { exit } on && /^  [a-z]/ { print $1 }' \
    "$work/help")
if [ -z "$commands" ]; then
    echo "skntool_man.sh: no commands in \"$skntool --help\"" >&2
    exit 1
fi
# The one-line summary under the usage line names the page.
name=$(awk 'NR > 1 && NF { sub(/\.$/, ""); print; exit }' "$work/help")

{
    echo '[COMMANDS]'
    echo '.nh'
    for command in $commands; do
        [ "$command" = help ] && continue
        "$skntool" help "$command" >"$work/command"
        awk -f "$here/command_section.awk" "$work/command"
    done
    echo '[SEE ALSO]'
    echo '.BR lumoraskin (1),'
    echo 'the editor built on the same code.'
} >"$work/include"

# help2man reads the version from "skntool --version"; a skntool without that
# option gets the build's version instead of no page.
version_option=()
"$skntool" --version >/dev/null 2>&1 || version_option=(--version-string="$version")
help2man --no-info "${version_option[@]}" --name="$name" --include="$work/include" \
    --output="$work/skntool.1" "$skntool"
gzip -9n -c "$work/skntool.1" >"$output"
