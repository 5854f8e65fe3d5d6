#!/usr/bin/env bash
# Draws every image the program embeds: the strip's background, bar and button
# images, the tray icon and the about window's images.
#
#   scripts/make_assets.sh [OUTPUT_DIR]      (default: assets/ beside scripts/)
#
# Needs only ImageMagick 6 and the WenQuanYi Micro Hei font (Debian packages
# imagemagick and fonts-wqy-microhei). The output is byte-for-byte the same on
# every run: PNG dates and text chunks are left out.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/assets}
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[ -f "$font" ] || { echo "make_assets: font $font missing (apt-get install fonts-wqy-microhei)" >&2; exit 1; }
command -v convert >/dev/null || { echo "make_assets: convert missing (apt-get install imagemagick)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out/strip" "$out/about"

# Shapes are drawn at S times the final size in final-pixel coordinates and
# box-averaged down, which gives soft alpha edges that stay crisp where a shape
# edge falls on a pixel boundary.
S=4

# Settings that make a written PNG reproducible and a true 8-bit RGBA image;
# fully transparent pixels are zeroed so the empty rows compress to almost nothing.
png_out=(-background none -alpha background -strip
         -define png:exclude-chunks=date,time,bKGD -define png:compression-level=9
         +set date:create +set date:modify)

# shape W H MVG [convert args...] DEST: queues an image drawn from MVG
# supersampled, then the extra args (for crisp 1x text) applied, written to DEST
# as RGBA PNG. The queue is drawn by one convert run (flush_shapes): starting
# ImageMagick once per small image would make up most of the run time.
shapes=()
shape() {
  local w=$1 h=$2 mvg=$3
  shift 3
  local args=("$@")
  local dest=${args[-1]}
  unset 'args[-1]'
  shapes+=(\( -size $((w * S))x$((h * S)) xc:none -draw "scale $S,$S $mvg" -scale "${w}x${h}!"
           "${args[@]}" "${png_out[@]}" -write "PNG32:$dest" +delete \))
}
flush_shapes() {
  convert -respect-parentheses "${shapes[@]}" xc:none null:
  shapes=()
}

# ---------------------------------------------------------------- product logo
# A disc showing misty azure peaks over a jade stream, in a white rim.
# logo SIZE DEST [RIM EDGE RIM_WIDTH] (supersampled; drawn in a 100-unit square).
# Small icons get a thicker dark rim so they still stand out on a light taskbar.
logo() {
  local size=$1 dest=$2 n=$(($1 * S))
  local rim=${3:-#ffffff} edge=${4:-#164055} rim_w=${5:-5.5}
  local k
  k=$(awk -v n="$n" 'BEGIN { printf "%.6f", n / 100 }')
  convert -size ${n}x$n xc:none \
    \( -size ${n}x$n gradient:'#d9eff6-#f4fbfb' \
       -draw "scale $k,$k
              fill #a8d0de polygon 0,64 18,44 30,52 48,30 66,48 78,40 100,60 100,100 0,100
              fill #3583a8 polygon 0,72 22,46 34,56 56,26 78,54 88,48 100,62 100,100 0,100
              fill #fcfefe path 'M 56,26 L 63,36 L 58,34 L 54,38 L 49,34 Z'
              fill #ffffff fill-opacity 0.55 path 'M 0,66 C 30,60 60,70 100,62 L 100,70 C 60,76 30,66 0,72 Z'
              fill-opacity 1 fill #3fb68b path 'M 0,74 C 26,66 44,84 70,72 C 82,66 92,68 100,70 L 100,100 L 0,100 Z'
              fill #2a8f6c path 'M 0,86 C 30,78 52,94 100,82 L 100,100 L 0,100 Z'
              fill none stroke #e9fff6 stroke-width 3 stroke-linecap round path 'M 10,80 C 28,74 44,88 66,78'" \
       \( -size ${n}x$n xc:none -draw "scale $k,$k fill white circle 50,50 50,4" \) \
       -compose DstIn -composite \) \
    -compose Over -composite \
    -draw "scale $k,$k fill none stroke $edge stroke-opacity 0.55 stroke-width 2 circle 50,50 50,1.5
           stroke $rim stroke-opacity 1 stroke-width $rim_w circle 50,50 50,$(awk -v w="$rim_w" "BEGIN { print 2.25 + w / 2 }")" \
    -scale "${size}x${size}!" "${png_out[@]}" "PNG32:$dest"
}

# -------------------------------------------------------------- strip header
# Rounded teal band (rows 0..22), the logo and the title on it, a red rule at
# rows 23..24 and an empty row 25; the right part stays plain for the buttons.
logo 18 "$work/logo18.png"
convert -size $((208 * S))x$((23 * S)) gradient:'#3f86a3-#1c4a62' \
  \( -size $((208 * S))x$((23 * S)) xc:none -draw "scale $S,$S fill white roundrectangle 0,0 207.99,40 6,6" \) \
  -compose CopyOpacity -composite -compose Over \
  -draw "scale $S,$S fill none stroke #ffffff stroke-opacity 0.22 stroke-width 1 line 6,1.5 202,1.5" \
  -scale '208x23!' -background none -extent 208x26 \
  "$work/logo18.png" -geometry +4+2 -composite \
  -font "$font" -pointsize 13 \
  -fill '#0b2533' -annotate +27+18 '青岚碧溪备忘条' \
  -fill '#ffffff' -annotate +26+17 '青岚碧溪备忘条' \
  -pointsize 9 -fill '#a9d8e6' -annotate +122+17 'v2.0' \
  -fill '#ec4a40' -draw 'rectangle 0,23 207,23' \
  -fill '#b9241f' -draw 'rectangle 0,24 207,24' \
  "$work/header.png"

# One background per row count: the header over 20 transparent pixels per row.
bg_args=()
for n in $(seq 1 41); do
  h=$((46 + 20 * (n - 1)))
  bg_args+=(\( +clone -background none -extent "208x$h" "${png_out[@]}" -write "PNG32:$out/strip/$(printf 'background_%02d.png' "$n")" +delete \))
done
convert "$work/header.png" "${bg_args[@]}" null:

# ---------------------------------------------------------------------- bars
# A faint dark fill keeps white memo text readable on light desktops and makes
# the row area hit-testable on the layered window (alpha 0 lets clicks through).
shape 207 20 "fill #10262f fill-opacity 0.36 stroke #ffffff stroke-opacity 0.55 stroke-width 1
              roundrectangle 0.5,0.5 206.5,19.5 4,4" "$out/strip/bar_normal.png"
shape 207 20 "fill #4a0d0a fill-opacity 0.38 stroke #ff3b30 stroke-width 2
              roundrectangle 1,1 206,19 4,4" "$out/strip/bar_red.png"
shape 207 20 "fill #3d3000 fill-opacity 0.38 stroke #ffcc00 stroke-width 2
              roundrectangle 1,1 206,19 4,4" "$out/strip/bar_yellow.png"

# ----------------------------------------------------------- header buttons
# add: a "+" in a pill; pill fill, pill rim, plus colour.
add_button() {
  shape 32 15 "fill $1 stroke $2 stroke-width 1 roundrectangle 1.5,1 30.5,13 6,6
               fill $3 stroke none rectangle 11,6 21,8 rectangle 15,2 17,12" "$4"
}
add_button '#f4f8fa' '#c9dbe3' '#1f4d66' "$out/strip/add_normal.png"
add_button '#d6338f' '#f27cbd' '#ffffff' "$out/strip/add_hover.png"
add_button '#2d6fd6' '#1a4c9e' '#ffffff' "$out/strip/add_pressed.png"

# help: a "?" in a shield (the control is placed 2 px above the strip's top).
help_button() {
  shape 20 20 "fill $1 stroke $2 stroke-width 1
               path 'M 10,3.5 L 15.5,5.5 L 15.5,10 C 15.5,13.6 13,16.3 10,18 C 7,16.3 4.5,13.6 4.5,10 L 4.5,5.5 Z'" \
    -font "$font" -pointsize 12 -fill "$3" -stroke "$3" -strokewidth 0.4 -gravity center -annotate +0+0 "?" "$4"
}
help_button '#f4f8fa' '#c9dbe3' '#1f4d66' "$out/strip/help_normal.png"
help_button '#2f86e0' '#8cc2f5' '#ffffff' "$out/strip/help_hover.png"
help_button '#1d5fb0' '#123f78' '#ffffff' "$out/strip/help_pressed.png"

# close: an "x"; grey at rest, white on a red or dark red disc otherwise.
cross='stroke-width 1.8 stroke-linecap round line 7,7 13,13 line 13,7 7,13'
shape 20 20 "fill none stroke #0b2533 stroke-opacity 0.35 stroke-width 3.2 stroke-linecap round line 7,7 13,13 line 13,7 7,13
             stroke #ccd6dc stroke-opacity 1 $cross" "$out/strip/close_normal.png"
shape 20 20 "fill #e5393b stroke none circle 10,10 10,2.5 fill none stroke #ffffff $cross" "$out/strip/close_hover.png"
shape 20 20 "fill #a3171a stroke none circle 10,10 10,2.5 fill none stroke #ffe2e2 $cross" "$out/strip/close_pressed.png"

# ------------------------------------------------------------ row buttons
# clock: an alarm clock; body, outline, hands.
clock_button() {
  shape 17 17 "stroke $2 stroke-width 1 fill $1
               path 'M 1.8,5.6 A 3,3 0 0 1 6.2,1.8 Z'
               path 'M 15.2,5.6 A 3,3 0 0 0 10.8,1.8 Z'
               stroke-width 1.4 stroke-linecap round line 5,14 3.6,15.8 line 12,14 13.4,15.8
               stroke-width 1 circle 8.5,9.5 8.5,3.5
               fill none stroke $3 stroke-width 1.3 line 8.5,9.5 8.5,6.2 line 8.5,9.5 11,10.6" "$4"
}
clock_button '#ffffff' '#2c3c46' '#2c3c46' "$out/strip/clock_off.png"
clock_button '#ffd21f' '#7a5600' '#5a3f00' "$out/strip/clock_on.png"
clock_button '#1c1c1c' '#d8d8d8' '#ffffff' "$out/strip/clock_hover.png"
clock_button '#34b04a' '#14682a' '#ffffff' "$out/strip/clock_pressed.png"

# delete: nothing at rest, so rows 2.. look like row 1 until pointed at.
shape 16 16 "" "$out/strip/delete_normal.png"
shape 16 16 "fill #fff5f5 fill-opacity 0.92 stroke #ffb3b3 stroke-width 1 circle 8,8 8,1.5
             fill none stroke #ff7373 stroke-width 1.6 stroke-linecap round line 5.5,5.5 10.5,10.5 line 10.5,5.5 5.5,10.5" \
  "$out/strip/delete_hover.png"
shape 16 16 "fill #ffe0e0 fill-opacity 0.95 stroke #f08080 stroke-width 1 circle 8,8 8,1.5
             fill none stroke #e01f1f stroke-width 1.9 stroke-linecap round line 5.5,5.5 10.5,10.5 line 10.5,5.5 5.5,10.5" \
  "$out/strip/delete_pressed.png"

# ------------------------------------------------------------------ tray icon
# 256 px stored as PNG, 48/32/16 px as 32-bit bitmaps (ImageMagick's ICO writer
# compresses only the 256 px entry).
S=2 logo 256 "$work/tray_256.png"   # big enough that 2x supersampling is smooth
logo 48 "$work/tray_48.png"
logo 32 "$work/tray_32.png" "#1f5f7d" "#ffffff" 8
logo 16 "$work/tray_16.png" "#1f5f7d" "#ffffff" 10
convert "$work/tray_256.png" "$work/tray_48.png" "$work/tray_32.png" "$work/tray_16.png" \
  "${png_out[@]}" "ICO:$out/tray.ico"

# -------------------------------------------------------------- about window
A=$out/about
L=2   # the face is large and soft; 2x supersampling is enough and much faster

# face: branding band, a landscape picture, two lines of text at the bottom.
logo 26 "$work/logo26.png"
convert -size $((427 * L))x$((284 * L)) gradient:'#f8fcfd-#e3eef2' \
  \( -size $((427 * L))x$((284 * L)) xc:none -draw "scale $L,$L fill white roundrectangle 0,0 426.99,283.99 10,10" \) \
  -compose CopyOpacity -composite -compose Over \
  \( -size $((427 * L))x$((35 * L)) gradient:'#3f86a3-#1c4a62' -background none -extent $((427 * L))x$((284 * L)) \
     \( -size $((427 * L))x$((284 * L)) xc:none -draw "scale $L,$L fill white roundrectangle 0,0 426.99,283.99 10,10" \) \
     -compose DstIn -composite \) -compose Over -composite \
  -draw "scale $L,$L fill none stroke #1c4a62 stroke-opacity 0.55 stroke-width 1 roundrectangle 0.5,0.5 426.5,283.5 10,10
         stroke #ffffff stroke-opacity 0.22 line 10,1.5 417,1.5" \
  -scale '427x284!' \
  -fill '#ec4a40' -draw 'rectangle 0,35 426,35' -fill '#b9241f' -draw 'rectangle 0,36 426,36' \
  "$work/logo26.png" -geometry +11+4 -composite \
  -font "$font" -pointsize 16 \
  -fill '#0b2533' -annotate +45+25 '青岚碧溪备忘条' -fill '#ffffff' -annotate +44+24 '青岚碧溪备忘条' \
  -pointsize 11 -fill '#a9d8e6' -annotate +165+24 'v2.0' \
  "$work/face_base.png"

# The picture: layered peaks in mist above a winding jade stream.
pw=394 ph=150
convert -size $((pw * L))x$((ph * L)) gradient:'#bfe0ec-#f4fafb' \
  -draw "scale $L,$L
         fill #fff7df fill-opacity 0.9 circle 318,38 318,20
         fill #ffffff fill-opacity 0.5 circle 318,38 318,12
         fill-opacity 1 fill #b3d5e2 polygon 0,92 40,60 70,74 110,40 150,70 190,52 240,80 280,46 330,72 364,58 394,70 394,150 0,150
         fill #ffffff fill-opacity 0.55 path 'M 0,84 C 80,74 160,92 240,80 C 300,72 350,86 394,78 L 394,92 C 320,98 260,88 200,96 C 120,104 60,90 0,98 Z'
         fill-opacity 1 fill #6ea9c1 polygon 0,108 30,84 58,96 96,62 130,90 168,78 206,100 250,70 290,94 330,80 370,98 394,90 394,150 0,150
         fill #ffffff fill-opacity 0.7 path 'M 0,104 C 90,96 180,112 270,100 C 320,94 360,102 394,98 L 394,110 C 300,116 200,106 100,114 C 60,117 30,112 0,114 Z'
         fill-opacity 1 fill #3583a8 polygon 0,130 44,100 70,112 112,84 150,114 180,104 214,122 394,118 394,150 0,150
         fill #3fb68b path 'M 0,150 C 40,138 80,140 120,132 C 170,122 200,134 250,128 C 300,122 340,128 394,124 L 394,150 Z'
         fill #2a8f6c path 'M 0,150 C 60,144 120,146 190,140 C 260,134 320,142 394,136 L 394,150 Z'
         fill none stroke #e9fff6 stroke-width 2 stroke-linecap round
         path 'M 60,144 C 100,138 140,140 180,134' path 'M 230,134 C 270,128 310,132 350,128'
         stroke-opacity 0.6 path 'M 20,147 C 50,143 80,145 110,142'" \
  \( -size $((pw * L))x$((ph * L)) xc:none -draw "scale $L,$L fill white roundrectangle 0,0 393.99,149.99 8,8" \) \
  -compose DstIn -composite -compose Over \
  -draw "scale $L,$L fill none stroke #1c4a62 stroke-opacity 0.35 stroke-width 1 roundrectangle 0.5,0.5 393.5,149.5 8,8" \
  -scale "${pw}x${ph}!" \
  -font "$font" -pointsize 17 \
  -fill '#ffffff' -annotate +19+33 '青岚映辉  碧溪奔腾' -fill '#1f4d66' -annotate +18+32 '青岚映辉  碧溪奔腾' \
  -pointsize 11 -fill '#3a6478' -annotate +19+52 '一条小小的备忘，替你记住每个时刻' \
  "$work/picture.png"

convert "$work/face_base.png" "$work/picture.png" -geometry +16+46 -composite \
  -font "$font" -pointsize 12 -fill '#33505e' -gravity NorthEast -annotate +227+239 '更改全部备忘文字颜色 →' \
  -gravity NorthWest -pointsize 11 -fill '#5b7480' -annotate +16+265 '双击托盘图标即可唤出备忘条' \
  "${png_out[@]}" "PNG32:$A/face.png"

# close: a cross button hanging from the top edge (its top 5 px lie above the window).
about_close() {
  shape 61 35 "fill $1 stroke $2 stroke-width 1 roundrectangle 13.5,8.5 53.5,29.5 5,5
               fill none stroke $3 stroke-width 2 stroke-linecap round line 29.5,15 37.5,23 line 37.5,15 29.5,23" "$4"
}
about_close '#23333d' '#5f7885' '#e8f0f3' "$A/close_normal.png"
about_close '#e5393b' '#ff8a8a' '#ffffff' "$A/close_hover.png"
about_close '#a3171a' '#6e0b0d' '#ffe2e2' "$A/close_pressed.png"

# product centre: a thin band with the maker's mark and the caption.
caption='产品中心'
cap_w=$(convert -font "$font" -pointsize 12 label:"$caption" -format '%w' info:)
mark_x=$(((322 - (12 + 6 + cap_w)) / 2))
product_centre() {
  local mark
  mark="translate $mark_x,4 fill #3583a8 polygon 6,0 12,6 6,12 0,6 fill #3fb68b polygon 6,3 9,6 6,9 3,6"
  shape 322 20 "fill $1 stroke $2 stroke-width 1 roundrectangle 0.5,0.5 321.5,19.5 4,4 stroke none $mark" \
    -font "$font" -pointsize 12 -fill "$3" -annotate +$((mark_x + 18))+15 "$caption" "$4"
}
product_centre 'rgba(31,77,102,0.08)' 'rgba(31,77,102,0.25)' '#1f4d66' "$A/product_centre_normal.png"
product_centre 'rgba(63,182,139,0.20)' '#3fb68b' '#17634a' "$A/product_centre_hover.png"
product_centre 'rgba(31,77,102,0.30)' '#1f4d66' '#0e2f40' "$A/product_centre_pressed.png"

# colour: a painter's palette; a pale tile behind it when pointed at or pressed.
palette() {
  shape 16 16 "$1 fill #f5e2bf stroke #8a6535 stroke-width 1
           path 'M 8,1.5 C 12.5,1.5 14.5,4.5 14.5,7.5 C 14.5,10 12.5,10 11.5,10.5 C 10.5,11 11.5,14.5 8,14.5 C 4,14.5 1.5,11.5 1.5,8 C 1.5,4.5 4,1.5 8,1.5 Z'
           stroke none fill #e53935 circle 5,6 5,4.7 fill #fbc02d circle 8.5,4.5 8.5,3.2
           fill #43a047 circle 11.5,6.5 11.5,5.2 fill #1e88e5 circle 4.8,10 4.8,8.7" "$2"
}
palette '' "$A/colour_normal.png"
palette 'fill #2f86e0 fill-opacity 0.22 roundrectangle 0,0 15.99,15.99 3,3 fill-opacity 1' "$A/colour_hover.png"
palette 'fill #1d5fb0 fill-opacity 0.40 roundrectangle 0,0 15.99,15.99 3,3 fill-opacity 1' "$A/colour_pressed.png"

# online: a chat bubble, lit when the contact is online and grey otherwise.
online_button() {
  local bubble=$1 dot=$2 text=$3 caption=$4 fill=$5 rim=$6 dest=$7
  shape 78 25 "fill $fill stroke $rim stroke-width 1 roundrectangle 0.5,0.5 77.5,24.5 5,5
           fill $bubble stroke none path 'M 5,5 L 20,5 C 21.5,5 22.5,6 22.5,7.5 L 22.5,14.5 C 22.5,16 21.5,17 20,17 L 11,17 L 7,20.5 L 8,17 L 7.5,17 C 6,17 5,16 5,14.5 L 5,7.5 C 5,6 6,5 7.5,5 Z'
           fill #ffffff circle 9.5,11 9.5,9.8 circle 13.75,11 13.75,9.8 circle 18,11 18,9.8
           fill $dot stroke #ffffff stroke-width 1 circle 21,17 21,14" \
    -font "$font" -pointsize 12 -fill "$text" -annotate +27+17 "$caption" "$dest"
}
for state in normal hover pressed; do
  case $state in
    normal)  fill='rgba(255,255,255,0.65)' rim='rgba(31,77,102,0.30)' ;;
    hover)   fill='#e4f2fb' rim='#2f86e0' ;;
    pressed) fill='#c7e2f4' rim='#1d5fb0' ;;
  esac
  online_button '#1e9be0' '#35c24f' '#1f4d66' '在线交谈' "$fill" "$rim" "$A/online_contact_on_$state.png"
  online_button '#a3adb3' '#c3c9cc' '#66767e' '给我留言' "$fill" "$rim" "$A/online_contact_off_$state.png"
done
flush_shapes
