#!/usr/bin/env bash
# Draws the demo skin's pictures into demo/skin/ with ImageMagick: 24-bit
# Windows bitmaps, magenta (255, 0, 255) where a picture is see-through.
# Shapes on magenta are drawn without smoothing so no pink fringe shows.
set -euo pipefail
cd "$(dirname "$0")/skin"
key='#ff00ff'
# Writes the picture described by the arguments (all but the last) to the last.
draw() {
    local out=${*: -1}
    convert "${@:1:$#-1}" -alpha off -type TrueColor "BMP3:$out"
}

# Player screen backdrop: night-blue to plum, a status strip along the top and
# two light bands behind the cover.
draw -size 240x268 gradient:'#23325e-#2a1434' \
    -fill '#ffffff14' -draw 'rectangle 0,0 239,21' \
    -fill '#ffffff0c' -draw 'polygon 0,150 240,40 240,90 0,200' \
    -fill '#ffffff08' -draw 'polygon 0,110 240,0 240,20 0,130' \
    background.bmp

# Album cover: a warm sleeve with a record sliding out of it.
draw -size 96x96 gradient:'#ffb347-#e0356f' \
    -fill '#121219' -draw 'circle 60,48 60,8' \
    -fill none -stroke '#2a2a36' -strokewidth 1 \
    -draw 'circle 60,48 60,14' -draw 'circle 60,48 60,20' -draw 'circle 60,48 60,26' \
    -stroke none -fill '#ffd27a' -draw 'circle 60,48 60,35' \
    -fill '#121219' -draw 'circle 60,48 60,45' \
    -fill '#ff8a3d' -draw 'rectangle 0,0 40,95' \
    -fill '#ffffff' -draw 'rectangle 8,70 32,73' -draw 'rectangle 8,78 24,80' \
    -fill '#ffffff55' -draw 'polygon 4,4 36,4 4,36' \
    cover.bmp

# Trackbar: the groove is an image under the bar; progress and thumb belong to the bar.
draw -size 200x6 xc:'#0e1430' -fill '#3a4572' -draw 'rectangle 0,0 199,0' progress-track.bmp
draw -size 6x200 gradient:'#ffb347-#ff3d7f' -rotate -90 -fill '#ffffff66' -draw 'rectangle 0,0 199,1' \
    progress.bmp
draw -size 12x12 xc:"$key" +antialias -fill '#ffffff' -draw 'circle 5.5,5.5 5.5,0' \
    -fill '#ff6a3d' -draw 'circle 5.5,5.5 5.5,3' scroller.bmp

# Scroll wheel: a light ring with a centre button, its icons and its balls.
wheel() { # ring colour, centre colour, file
    draw -size 80x80 xc:"$key" +antialias \
        -fill '#9aa1b5' -draw 'circle 39.5,39.5 39.5,0' \
        -fill "$1" -draw 'circle 39.5,39.5 39.5,1' \
        -fill '#9aa1b5' -draw 'circle 39.5,39.5 39.5,24' \
        -fill "$2" -draw 'circle 39.5,39.5 39.5,25' "$3"
}
wheel '#e4e7ee' '#cfd4df' wheel-normal.bmp
wheel '#c5cad6' '#cfd4df' wheel-pressed.bmp
wheel '#e4e7ee' '#ff8a3d' wheel-center-pressed.bmp
draw -size 14x14 xc:"$key" +antialias -fill '#3b4257' -draw 'polygon 3,1 12,7 3,13' wheel-play.bmp
draw -size 14x14 xc:"$key" +antialias -fill '#3b4257' \
    -draw 'rectangle 2,1 5,12' -draw 'rectangle 8,1 11,12' wheel-pause.bmp
draw -size 14x10 xc:"$key" +antialias -fill '#3b4257' \
    -draw 'rectangle 0,0 1,9' -draw 'polygon 7,0 2,5 7,9' -draw 'polygon 13,0 8,5 13,9' wheel-previous.bmp
draw -size 14x10 xc:"$key" +antialias -fill '#3b4257' \
    -draw 'polygon 0,0 5,5 0,9' -draw 'polygon 6,0 11,5 6,9' -draw 'rectangle 12,0 13,9' wheel-next.bmp
draw -size 4x4 xc:"$key" +antialias -fill '#7c849b' -draw 'rectangle 1,0 2,3' -draw 'rectangle 0,1 3,2' \
    wheel-ball.bmp

# Volume buttons: round, with a minus and a plus, darker when pressed.
volume() { # face colour, with plus, file
    local sign=(-draw 'rectangle 7,12 18,13')
    [ "$2" = plus ] && sign+=(-draw 'rectangle 12,7 13,18')
    draw -size 26x26 xc:"$key" +antialias -fill '#9aa1b5' -draw 'circle 12.5,12.5 12.5,0' \
        -fill "$1" -draw 'circle 12.5,12.5 12.5,1' -fill '#3b4257' "${sign[@]}" "$3"
}
volume '#e4e7ee' minus volume-down.bmp
volume '#c5cad6' minus volume-down-pressed.bmp
volume '#e4e7ee' plus volume-up.bmp
volume '#c5cad6' plus volume-up-pressed.bmp

# Playlist icons.
draw -size 16x16 xc:"$key" +antialias -fill '#c98a1c' -draw 'rectangle 1,3 7,5' \
    -draw 'rectangle 1,5 14,13' -fill '#ffc94d' -draw 'rectangle 2,7 13,12' folder-icon.bmp
draw -size 16x16 xc:"$key" +antialias -fill '#7fd3ff' -draw 'rectangle 6,2 7,11' \
    -draw 'rectangle 8,2 12,3' -draw 'rectangle 11,4 12,5' -draw 'ellipse 4,12 3,2 0,360' song-icon.bmp
