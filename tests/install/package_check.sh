#!/usr/bin/env bash
# Checks the Debian package as a distribution's packager would, and the
# editor's window against its launcher. Reports "skipped" (77) when a tool is
# missing or the build is not one a package is made from.
#   package_check.sh package BUILD_DIR BUILD_TYPE SANITIZE
#   package_check.sh window LUMORASKIN DESKTOP_FILE
set -u
mode=${1:-}
usage="usage: package_check.sh package BUILD_DIR BUILD_TYPE SANITIZE | window LUMORASKIN DESKTOP_FILE"
[ "$mode" = --help ] && echo "$usage" && exit 0
skip=77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
need_tool() {
    command -v "$1" >/dev/null && return
    echo "skipped: $1 not installed (Debian package $2)"
    exit $skip
}

check_package() {
    local build=$1 type=$2 sanitize=$3 deb root program command commands page
    if [ "$type" != Release ] || [ "$sanitize" = ON ]; then
        echo "skipped: the package is made from a Release build without sanitizers;" \
            "this tree is ${type:-untyped}, sanitizers $sanitize"
        exit $skip
    fi
    need_tool cpack cmake
    need_tool lintian lintian
    if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
        cat "$work/cpack.log"
        fail "cpack -G DEB"
        return
    fi
    deb=$(echo "$work"/*.deb)
    echo "package: $(basename "$deb")"

    # Errors and warnings fail; the informational tags are shown.
    lintian --display-info --fail-on error,warning "$deb" 2>/dev/null
    [ $? -eq 0 ] || fail "lintian reports errors or warnings"

    # Dependencies come from the binaries (Qt, the picture formats' libraries),
    # plus what is only loaded at run time; Qt's image plugins are not needed.
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    for package in libqt6widgets6 libqt6gui6 libqt6core6 libc6 qt6-qpa-plugins fonts-wine \
        libpng16-16 libjpeg62-turbo libgif7 libwebp7 libwebpdemux2 libtiff6; do
        [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
            fail "Depends lacks $package"
    done

    root=$work/root
    dpkg-deb -x "$deb" "$root"
    if command -v hardening-check >/dev/null; then
        # No program passes the control-flow check on Debian 12: its C start
        # files carry no CET marks, so the linker drops them from every binary.
        for program in lumoraskin skntool; do
            hardening-check --nocfprotection "$root/usr/bin/$program" || fail "hardening-check $program"
        done
    else
        echo "note: hardening-check not installed (Debian package devscripts)"
    fi

    # The packaged launcher and metadata, as software centres read them.
    local report
    if command -v desktop-file-validate >/dev/null; then
        report=$(desktop-file-validate "$root/usr/share/applications/io.github.kelvane.LumoraSkin.desktop" 2>&1) ||
            fail "desktop-file-validate"
        [ -z "$report" ] || fail "desktop-file-validate reports: $report"
    else
        echo "note: desktop-file-validate not installed (Debian package desktop-file-utils)"
    fi
    if command -v appstreamcli >/dev/null; then
        report=$(appstreamcli validate --pedantic --no-net \
            "$root/usr/share/metainfo/io.github.kelvane.LumoraSkin.metainfo.xml" 2>&1) ||
            fail "appstreamcli validate --pedantic"
        grep -E '^[EWIP]: ' <<<"$report" | grep -qv ' cid-contains-uppercase-letter ' &&
            fail "appstreamcli reports more than the upper-case id: $report"
    else
        echo "note: appstreamcli not installed (Debian package appstream)"
    fi

    # skntool's page describes every command that skntool's help lists.
    commands=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/skntool" --help |
        awk '/^Commands:/ { on = 1; next } on && /^$/ { exit } on && /^  [a-z]/ { print $1 }')
    [ -n "$commands" ] || fail "skntool --help lists no commands"
    page=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/skntool.1.gz" 2>&1)
    for command in $commands; do
        [ "$command" = help ] && continue
        grep -q "^ *skntool $command\b" <<<"$page" || fail "skntool.1 has no section for $command"
    done
    grep -q "^ *LUMORASKIN(1)" <(MANWIDTH=200 man -l "$root/usr/share/man/man1/lumoraskin.1.gz") ||
        fail "lumoraskin.1 is not a manual page"
}

# The window must report the class that the launcher's StartupWMClass names,
# or docks show it apart from its launcher.
check_window() {
    local program=$1 desktop=$2 expected
    need_tool xvfb-run xvfb
    need_tool xprop x11-utils
    need_tool xwininfo x11-utils
    expected=$(sed -n 's/^StartupWMClass=//p' "$desktop")
    [ -n "$expected" ] || fail "$desktop has no StartupWMClass"
    cat >"$work/probe.sh" <<'EOF'
QT_QPA_PLATFORM=xcb "$1" >"$2/program.log" 2>&1 &
pid=$!
for _ in $(seq 100); do
    for w in $(xwininfo -root -children | awk '/^ +0x/ { print $1 }'); do
        class=$(xprop -id "$w" WM_CLASS 2>/dev/null | sed -n 's/^WM_CLASS(STRING) = //p')
        [ -n "$class" ] && break 2
    done
    sleep 0.2
done
kill "$pid"
echo "$class"
EOF
    local class
    class=$(xvfb-run -a bash "$work/probe.sh" "$program" "$work")
    echo "WM_CLASS: ${class:-none}; StartupWMClass: $expected"
    if [ -z "$class" ]; then
        cat "$work/program.log"
        fail "no window of $program appeared"
    elif [[ "$class" != *", \"$expected\"" ]]; then
        fail "the window's class is not \"$expected\""
    fi
}

case $mode in
package) check_package "$2" "$3" "$4" ;;
window) check_window "$2" "$3" ;;
*)
    echo "$usage" >&2
    exit 2
    ;;
esac

[ "$failures" -eq 0 ] && echo "ok: $mode" && exit 0
exit 1
