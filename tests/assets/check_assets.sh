#!/usr/bin/env bash
# Checks the committed images under assets/: every file the program embeds is
# there, is an 8-bit RGBA PNG of exactly the size its control expects, has the
# transparency its role needs, the tray icon holds the four entries Windows
# picks from, and scripts/make_assets.sh reproduces every file byte for byte.
#
#   tests/assets/check_assets.sh [PROJECT_SOURCE_DIR]
#
# Prints one line per failure and exits 1 if there was any.
set -uo pipefail

src=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
assets=$src/assets
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# file  width x height  kind
#   mixed: has fully opaque and fully transparent pixels (buttons, face)
#   bar:   a row outline: transparent corners, edge stronger than the middle,
#          middle not fully transparent (alpha 0 would let clicks fall through
#          the layered strip window to the desktop)
#   blank: fully transparent
expected=(
  "strip/bar_normal.png         207x20  bar"
  "strip/bar_red.png            207x20  bar"
  "strip/bar_yellow.png         207x20  bar"
  "strip/add_normal.png         32x15   mixed"
  "strip/add_hover.png          32x15   mixed"
  "strip/add_pressed.png        32x15   mixed"
  "strip/help_normal.png        20x20   mixed"
  "strip/help_hover.png         20x20   mixed"
  "strip/help_pressed.png       20x20   mixed"
  "strip/close_normal.png       20x20   mixed"
  "strip/close_hover.png        20x20   mixed"
  "strip/close_pressed.png      20x20   mixed"
  "strip/clock_off.png          17x17   mixed"
  "strip/clock_on.png           17x17   mixed"
  "strip/clock_hover.png        17x17   mixed"
  "strip/clock_pressed.png      17x17   mixed"
  "strip/delete_normal.png      16x16   blank"
  "strip/delete_hover.png       16x16   mixed"
  "strip/delete_pressed.png     16x16   mixed"
  "about/face.png               427x284 mixed"
  "about/close_normal.png       61x35   mixed"
  "about/close_hover.png        61x35   mixed"
  "about/close_pressed.png      61x35   mixed"
  "about/product_centre_normal.png  322x20 mixed"
  "about/product_centre_hover.png   322x20 mixed"
  "about/product_centre_pressed.png 322x20 mixed"
  "about/colour_normal.png      16x16   mixed"
  "about/colour_hover.png       16x16   mixed"
  "about/colour_pressed.png     16x16   mixed"
  "about/online_contact_on_normal.png   78x25 mixed"
  "about/online_contact_on_hover.png    78x25 mixed"
  "about/online_contact_on_pressed.png  78x25 mixed"
  "about/online_contact_off_normal.png  78x25 mixed"
  "about/online_contact_off_hover.png   78x25 mixed"
  "about/online_contact_off_pressed.png 78x25 mixed"
)
for n in $(seq 1 41); do
  printf -v file 'strip/background_%02d.png' "$n"
  expected+=("$file 208x$((46 + 20 * (n - 1))) background")
done

declare -A size_of kind_of
png_files=()
for line in "${expected[@]}"; do
  read -r file size kind <<<"$line"
  size_of[$file]=$size
  kind_of[$file]=$kind
  png_files+=("$file")
done

# ------------------------------------------------------------ the PNG files
present=()
for file in "${png_files[@]}"; do
  path=$assets/$file
  if [ ! -f "$path" ]; then
    fail "$file is missing"
    continue
  fi
  present+=("$path")
done

if [ ${#present[@]} -gt 0 ]; then
  # One ImageMagick run for the format, size and alpha range of every file.
  # IHDR bit depth 8 and colour type 6: 8-bit RGBA, so GDI+ decodes the alpha.
  while read -r path format depth ctype w h alpha_min alpha_max edge middle; do
    file=${path#"$assets/"}
    [ "$format" = PNG ] || fail "$file: ImageMagick reads it as $format, not PNG"
    [ "$depth $ctype" = "8 6" ] || fail "$file is not 8-bit RGBA (IHDR bit depth $depth, colour type $ctype)"
    [ "${w}x$h" = "${size_of[$file]}" ] || fail "$file is ${w}x$h, expected ${size_of[$file]}"
    case ${kind_of[$file]} in
      mixed | background)
        [ "$alpha_min" = 0 ] || fail "$file has no fully transparent pixel (min alpha $alpha_min)"
        [ "$alpha_max" = 1 ] || fail "$file has no fully opaque pixel (max alpha $alpha_max)"
        ;;
      blank)
        [ "$alpha_max" = 0 ] || fail "$file must be fully transparent (max alpha $alpha_max)"
        ;;
      bar)
        [ "$alpha_min" = 0 ] || fail "$file: corners are not transparent (min alpha $alpha_min)"
        awk -v e="$edge" -v m="$middle" 'BEGIN { exit !(e > m && m > 0) }' ||
          fail "$file: not an outline with a hit-testable middle (edge alpha $edge, middle alpha $middle)"
        ;;
    esac
  done < <(identify -format '%d/%f %m %[png:IHDR.bit-depth-orig] %[png:IHDR.color-type-orig] %w %h %[fx:minima.a] %[fx:maxima.a] %[fx:p{1,10}.a] %[fx:p{103,10}.a]\n' "${present[@]}")
fi

# --------------------------------------------------------- the backgrounds
backgrounds=()
for n in $(seq 1 41); do
  printf -v f '%s/strip/background_%02d.png' "$assets" "$n"
  [ -f "$f" ] && backgrounds+=("$f")
done
if [ ${#backgrounds[@]} -gt 0 ]; then
  # Rows start at y = 26: everything below the header must be empty, or it
  # would show through between and behind the memo rows.
  while read -r name rows_max; do
    [ "$rows_max" = 0 ] || fail "strip/$name: the row area below y = 26 is not fully transparent (max alpha $rows_max)"
  done < <(convert "${backgrounds[@]}" -crop 208x10000+0+26 +repage -format '%f %[fx:maxima.a]\n' info:)
  # The strip swaps backgrounds as rows come and go; the header must not change.
  header_sums=$(convert "${backgrounds[@]}" -crop 208x26+0+0 +repage -format '%f %[fx:maxima.a] %#\n' info:)
  first_sum=$(head -n 1 <<<"$header_sums" | cut -d' ' -f3)
  while read -r name header_max sum; do
    [ "$header_max" = 1 ] || fail "strip/$name: the header has no opaque pixel"
    [ "$sum" = "$first_sum" ] || fail "strip/$name: the header differs from background_01.png's"
  done <<<"$header_sums"
fi

# ---------------------------------------------------------- the tray icon
ico=$assets/tray.ico
if [ ! -f "$ico" ]; then
  fail "tray.ico is missing"
else
  mapfile -t b < <(od -An -tu1 -v -w1 "$ico" | tr -d ' ')
  ico_size=${#b[@]}
  # le OFFSET COUNT: the little-endian number there, in $r (bytes past the end
  # read as 0; plain arithmetic, as a subshell per read would copy the array).
  le() {
    local k
    r=0
    for ((k = $2 - 1; k >= 0; k--)); do r=$(((r << 8) + ${b[$1 + k]:-0})); done
  }
  le 0 2; reserved=$r; le 2 2; type=$r; le 4 2; count=$r
  if [ "$reserved $type $count" != "0 1 4" ]; then
    fail "tray.ico: header is not an icon with 4 images (reserved, type, count: $reserved $type $count)"
  else
    sizes_seen=""
    for i in 0 1 2 3; do
      e=$((6 + 16 * i))
      le "$e" 1; w=$r
      le $((e + 1)) 1; h=$r
      [ "$w" = 0 ] && w=256  # the directory stores 256 as 0
      [ "$h" = 0 ] && h=256
      le $((e + 6)) 2; bpp=$r
      le $((e + 8)) 4; len=$r
      le $((e + 12)) 4; off=$r
      sizes_seen+="${w}x$h "
      [ "$bpp" = 32 ] || fail "tray.ico entry $i (${w}px) is $bpp bits per pixel, expected 32"
      if [ $((off + len)) -gt "$ico_size" ]; then
        fail "tray.ico entry $i (${w}px) points past the end of the file"
        continue
      fi
      if [ "$w" = 256 ]; then
        [ "${b[*]:off:8}" = "137 80 78 71 13 10 26 10" ] || fail "tray.ico: the 256px image is not PNG-compressed"
      else
        # An uncompressed DIB: 40-byte header, height doubled for the AND
        # mask, 32 bits, no compression, BGRA rows then a 1-bit mask.
        dib=""
        for field in 0:4 4:4 8:4 14:2 16:4; do
          le $((off + ${field%:*})) "${field#*:}"
          dib+="$r "
        done
        [ "$dib" = "40 $w $((2 * h)) 32 0 " ] ||
          fail "tray.ico: the ${w}px image is not a 32-bit uncompressed bitmap (size, width, height, bits, compression: $dib)"
        want_len=$((40 + w * h * 4 + h * ((w + 31) / 32) * 4))
        [ "$len" = "$want_len" ] || fail "tray.ico: the ${w}px image has $len bytes, expected $want_len"
      fi
    done
    [ "$sizes_seen" = "256x256 48x48 32x32 16x16 " ] || fail "tray.ico holds ${sizes_seen}instead of 256, 48, 32 and 16 px"
    # Each entry shows the round logo: opaque middle, transparent corners.
    while read -r idx w alpha_min alpha_max; do
      [ "$alpha_min" = 0 ] && [ "$alpha_max" = 1 ] ||
        fail "tray.ico image $idx (${w}px) lacks opaque or transparent pixels (alpha $alpha_min..$alpha_max)"
    done < <(identify -format '%p %w %[fx:minima.a] %[fx:maxima.a]\n' "$ico")
  fi
fi

# ------------------------------------------------------ nothing unexpected
while read -r path; do
  file=${path#"$assets/"}
  case $file in *.png) ;; *) continue ;; esac  # the rc, manifest and build files live here too
  [ -n "${size_of[$file]:-}" ] || fail "$file is not an expected image (stale, or missing from this check's table)"
done < <(find "$assets" -type f | sort)

# --------------------------------------------------- byte-for-byte rebuild
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
if ! bash "$src/scripts/make_assets.sh" "$tmp/assets" >"$tmp/log" 2>&1; then
  fail "scripts/make_assets.sh failed: $(tr '\n' ' ' <"$tmp/log")"
else
  for file in "${png_files[@]}" tray.ico; do
    [ -f "$assets/$file" ] || continue  # reported above
    if [ ! -f "$tmp/assets/$file" ]; then
      fail "scripts/make_assets.sh does not write $file"
    elif ! cmp -s "$tmp/assets/$file" "$assets/$file"; then
      fail "$file differs from what scripts/make_assets.sh makes now (rerun it and commit the result)"
    fi
  done
  while read -r path; do
    file=${path#"$tmp/assets/"}
    [ "$file" = tray.ico ] || [ -n "${size_of[$file]:-}" ] || fail "scripts/make_assets.sh writes $file, which is not in this check's table"
  done < <(find "$tmp/assets" -type f | sort)
fi

if [ "$failures" -gt 0 ]; then
  echo "check_assets: $failures failure(s)"
  exit 1
fi
echo "check_assets: ${#png_files[@]} PNG files and tray.ico are as expected and reproducible"
