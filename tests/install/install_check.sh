#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that every file sits
# where the freedesktop tools look for it.
#   install_check.sh layout|desktop|appstream BUILD_DIR [PROGRAM...]
set -u
usage="usage: install_check.sh layout|desktop|appstream BUILD_DIR [PROGRAM...]"
[ "${1:-}" = --help ] && echo "$usage" && exit 0
[ $# -ge 2 ] || { echo "$usage" >&2 && exit 2; }
mode=$1 build=$2
shift 2
programs=("$@")
id=io.github.kelvane.LumoraSkin
skip=77

prefix=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$prefix" "$log"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
need() { [ -e "$prefix/$1" ] || fail "missing $1"; }

# The pixel size a PNG declares in its header (bytes 16-19 width, 20-23 height).
png_size() {
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    echo "${w}x${h}"
}

# Value of a key in the [Desktop Entry] group.
desktop_key() { sed -n "s/^$1=//p" "$prefix/share/applications/$id.desktop" | head -n 1; }

if ! cmake --install "$build" --prefix "$prefix" >"$log" 2>&1; then
    cat "$log"
    echo "FAIL: cmake --install $build"
    exit 1
fi

check_layout() {
    local p size file
    for p in "${programs[@]}"; do
        [ -x "$prefix/bin/$p" ] || fail "bin/$p is missing or not executable"
    done
    for size in 16 32 48 128 256; do
        for file in "apps/$id.png" "mimetypes/application-x-lumora-skin.png"; do
            p=share/icons/hicolor/${size}x${size}/$file
            need "$p"
            [ -e "$prefix/$p" ] && [ "$(png_size "$prefix/$p")" != "${size}x${size}" ] &&
                fail "$p is $(png_size "$prefix/$p"), not ${size}x${size}"
        done
    done
    for file in "apps/$id.svg" "mimetypes/application-x-lumora-skin.svg"; do
        p=share/icons/hicolor/scalable/$file
        need "$p"
        grep -q "<svg" "$prefix/$p" 2>/dev/null || fail "$p is not an SVG picture"
    done
    need "share/applications/$id.desktop"
    need "share/mime/packages/$id.xml"
    need "share/metainfo/$id.metainfo.xml"
    [ "$failures" -eq 0 ] || return

    # The launcher, the file type and the metadata must name each other.
    local exec icon
    exec=$(desktop_key Exec)
    [ "$exec" = "lumoraskin %f" ] || fail "Exec=$exec: the editor takes the one file to open"
    [ -x "$prefix/bin/${exec%% *}" ] || fail "Exec names ${exec%% *}, which is not installed"
    icon=$(desktop_key Icon)
    [ -e "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "Icon=$icon is not installed"
    desktop_key MimeType | grep -q '^application/x-lumora-skin;' ||
        fail "the launcher does not open application/x-lumora-skin"
    grep -q 'type="application/x-lumora-skin"' "$prefix/share/mime/packages/$id.xml" ||
        fail "the MIME definition lacks application/x-lumora-skin"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
        "$prefix/share/metainfo/$id.metainfo.xml" || fail "the metainfo does not launch $id.desktop"

    # The thumbnailer is run by file managers as its Exec line with %s, %i and
    # %o filled in, skntool found on PATH; it must leave a PNG within the size.
    if [[ " ${programs[*]} " == *" skntool "* ]]; then
        check_thumbnailer
    fi

    # update-mime-database is what a distribution runs on share/mime after
    # installing a package; it only registers a type from a well-formed file.
    if command -v update-mime-database >/dev/null; then
        XDG_DATA_DIRS="$prefix/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" \
            update-mime-database "$prefix/share/mime" || fail "update-mime-database failed"
        need share/mime/application/x-lumora-skin.xml
    else
        echo "note: update-mime-database not installed (Debian package shared-mime-info)"
    fi
}

# Value of a key in the thumbnailer's one group.
thumbnailer_key() { sed -n "s/^$1=//p" "$prefix/share/thumbnailers/lumoraskin.thumbnailer" | head -n 1; }

check_thumbnailer() {
    local word words size out skin=$prefix/wide.skn
    need share/thumbnailers/lumoraskin.thumbnailer
    [ -e "$prefix/share/thumbnailers/lumoraskin.thumbnailer" ] || return
    [ "$(thumbnailer_key TryExec)" = skntool ] || fail "TryExec=$(thumbnailer_key TryExec)"
    thumbnailer_key MimeType | grep -q '^application/x-lumora-skin;' ||
        fail "the thumbnailer is not for application/x-lumora-skin"
    "$prefix/bin/skntool" new --size 400x200 "$skin" || fail "skntool new"
    for size in 128 256 1024; do
        out=$prefix/thumbnail-$size.png
        words=()
        for word in $(thumbnailer_key Exec); do
            word=${word//%s/$size}
            word=${word//%i/$skin}
            words+=("${word//%o/$out}")
        done
        PATH="$prefix/bin:$PATH" "${words[@]}" || fail "the thumbnailer failed at size $size"
        local expected=128x64
        [ "$size" = 256 ] && expected=256x128
        [ "$size" = 1024 ] && expected=400x200 # never scaled up
        [ -e "$out" ] && [ "$(png_size "$out")" = "$expected" ] ||
            fail "the thumbnail at size $size is $(png_size "$out" 2>/dev/null), not $expected"
    done
}

check_appstream() {
    if ! command -v appstreamcli >/dev/null; then
        echo "skipped: appstreamcli not installed (Debian package appstream)"
        exit $skip
    fi
    # Pedantic, and nothing may be reported beyond the note on the upper-case
    # letters of the reverse-DNS id, which stores accept.
    local report issues
    report=$(appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1)
    [ $? -eq 0 ] || fail "appstreamcli validate --pedantic"
    echo "$report"
    issues=$(grep -E '^[EWIP]: ' <<<"$report" | grep -v ' cid-contains-uppercase-letter ')
    [ -z "$issues" ] || fail "appstreamcli reports more than the upper-case id: $issues"
    # Usable without a pointing device as well as with one.
    for control in pointing keyboard; do
        grep -q "<control>$control</control>" "$prefix/share/metainfo/$id.metainfo.xml" ||
            fail "the metainfo does not declare the $control control"
    done
    # The whole tree: the metainfo's launcher and icon must be installed beside it.
    appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree"
}

case $mode in
layout)
    check_layout
    ;;
desktop)
    if ! command -v desktop-file-validate >/dev/null; then
        echo "skipped: desktop-file-validate not installed (Debian package desktop-file-utils)"
        exit $skip
    fi
    # Clean means silent: hints and warnings leave the exit status at 0.
    report=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) || fail "desktop-file-validate"
    [ -z "$report" ] || fail "desktop-file-validate reports: $report"
    ;;
appstream)
    check_appstream
    ;;
*)
    echo "$usage" >&2
    exit 2
    ;;
esac

[ "$failures" -eq 0 ] && echo "ok: $mode" && exit 0
exit 1
