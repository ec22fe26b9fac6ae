#!/usr/bin/env bash
# Opens pipeloop-cli's metafiles and DXF drawings in real programs and leaves
# pictures to look at. Not part of ctest: it needs LibreOffice (and uses
# Inkscape and LibreCAD when present), which the build does not.
#
#   sudo apt-get install --no-install-recommends libreoffice-draw poppler-utils \
#        imagemagick                        # required
#   sudo apt-get install --no-install-recommends inkscape librecad   # optional
#   tests/scripts/interchange_readers_check.sh [BUILD_DIR] [OUT_DIR]
#
# For every sample project in data/samples and every view it has, the
# "Data Exchange" picture is written as PNG (our own raster), EMF and WMF
# (our own record writers). LibreOffice converts each metafile to PDF, which
# pdftoppm renders at 96 dpi; Inkscape, when installed, renders each metafile
# to PNG at 96 dpi. The script checks that every conversion succeeded and
# that the drawing each reader shows has the size of the PNG's drawing (the
# trimmed pictures agree within 4 pixels: scale and placement are right),
# then writes OUT_DIR/compare-SAMPLE-VIEW.png: from the top, our PNG, LibreOffice's
# EMF and WMF, Inkscape's EMF and WMF. Look at them. Known reader
# differences: LibreOffice paints hatched brushes solid and draws dotted pens
# as dashes (WMF: solid); the records carry the hatches and styles.
#
# The DXF of every sample goes through LibreOffice Draw and, when installed,
# LibreCAD's dxf2pdf; each must give a PDF with a drawing on it.
#
# Exit status: 0 when every conversion and size check passed, 1 otherwise.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-${PIPELOOP_BUILD_DIR:-$root/build}}
out=${2:-$(mktemp -d /tmp/pipeloop-readers.XXXXXX)}
cli=$build/src/cli/pipeloop-cli
export QT_QPA_PLATFORM=offscreen
mkdir -p "$out"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

for tool in libreoffice pdftoppm convert montage; do
  command -v "$tool" >/dev/null || { echo "needs $tool (see the head of $0)"; exit 1; }
done
[ -x "$cli" ] || { echo "no $cli: build first (scripts/build)"; exit 1; }
have_inkscape=$(command -v inkscape >/dev/null && echo yes || echo no)
have_librecad=$(command -v librecad >/dev/null && echo yes || echo no)

# The size of the trimmed drawing of a picture ("WxH").
drawn() { convert "$1" -background white -flatten -trim -format '%wx%h' info: 2>/dev/null; }
close() { # close A B: two "WxH" within 4 pixels each way
  local a=(${1/x/ }) b=(${2/x/ })
  [ ${#a[@]} -eq 2 ] && [ ${#b[@]} -eq 2 ] &&
    [ $(( ${a[0]} - ${b[0]} )) -le 4 ] && [ $(( ${b[0]} - ${a[0]} )) -le 4 ] &&
    [ $(( ${a[1]} - ${b[1]} )) -le 4 ] && [ $(( ${b[1]} - ${a[1]} )) -le 4 ]
}

for project in "$root"/data/samples/*.plf "$root"/data/samples/*.cph; do
  name=$(basename "${project%.*}")
  views="plan north east south west"
  [[ $project == *.cph ]] && views=plan
  # Zoom 100, or smaller when the building would not fit on LibreOffice's
  # page (about 680 pixels across): each picture is then shown 1:1.
  longest=$(tr -d '\r' <"$project" | sed -n 's/^Room\(EW\|NS\|HG\)=\([0-9]*\)$/\2/p' |
    sort -n | tail -1)
  zoom=$(( (${longest:-0} * 96 * 10 / 254 + 599) / 600 ))
  [ "$zoom" -lt 100 ] && zoom=100
  for view in $views; do
    base=$out/$name-$view
    for fmt in png emf wmf; do
      "$cli" picture "$project" --view "$view" --zoom "$zoom" --out "$base.$fmt" ||
        fail "$name $view $fmt: pipeloop-cli"
    done
    want=$(drawn "$base.png")
    pictures=("$base.png")
    for fmt in emf wmf; do
      mkdir -p "$out/lo-$fmt"
      libreoffice --headless --convert-to pdf --outdir "$out/lo-$fmt" "$base.$fmt" \
        >/dev/null 2>&1 || fail "$name $view $fmt: LibreOffice"
      pdf=$out/lo-$fmt/$name-$view.pdf
      if [ -s "$pdf" ]; then
        pdftoppm -png -r 96 -singlefile "$pdf" "${pdf%.pdf}"
        got=$(drawn "${pdf%.pdf}.png")
        close "$got" "$want" || fail "$name $view $fmt: LibreOffice shows $got, the PNG $want"
        convert "${pdf%.pdf}.png" -trim +repage "${pdf%.pdf}.png"
        pictures+=("${pdf%.pdf}.png")
      else
        fail "$name $view $fmt: no PDF from LibreOffice"
      fi
    done
    if [ "$have_inkscape" = yes ]; then
      for fmt in emf wmf; do
        mkdir -p "$out/ink-$fmt"
        png=$out/ink-$fmt/$name-$view.png
        inkscape "$base.$fmt" --export-type=png --export-dpi=96 --export-background=white \
          --export-filename="$png" >/dev/null 2>&1 || fail "$name $view $fmt: Inkscape"
        got=$(drawn "$png")
        close "$got" "$want" || fail "$name $view $fmt: Inkscape shows $got, the PNG $want"
        pictures+=("$png")
      done
    fi
    montage "${pictures[@]}" -tile 1x -geometry '+4+4' -background '#d0d0d0' \
      "$out/compare-$name-$view.png" 2>/dev/null
    echo "$name $view at 1:$zoom: drawing $want"
  done

  "$cli" dxf "$project" --out "$out/$name.dxf" || fail "$name: pipeloop-cli dxf"
  mkdir -p "$out/lo-dxf"
  libreoffice --headless --convert-to pdf --outdir "$out/lo-dxf" "$out/$name.dxf" \
    >/dev/null 2>&1
  [ -s "$out/lo-dxf/$name.pdf" ] && pdftoppm -png -r 50 -singlefile "$out/lo-dxf/$name.pdf" \
    "$out/lo-dxf/$name" && [ -n "$(drawn "$out/lo-dxf/$name.png")" ] ||
    fail "$name: LibreOffice Draw did not draw the DXF"
  if [ "$have_librecad" = yes ]; then
    mkdir -p "$out/librecad"
    (cd "$out/librecad" && cp "../$name.dxf" . &&
      librecad dxf2pdf -a "$name.dxf" >/dev/null 2>&1)
    [ -s "$out/librecad/$name.pdf" ] && pdftoppm -png -r 50 -singlefile \
      "$out/librecad/$name.pdf" "$out/librecad/$name" &&
      [ -n "$(drawn "$out/librecad/$name.png")" ] ||
      fail "$name: LibreCAD did not draw the DXF"
  fi
done

echo "pictures to look at: $out/compare-*.png, $out/lo-dxf/*.png, $out/librecad/*.png"
[ "$failures" -eq 0 ] && echo "all conversions passed" || echo "$failures checks failed"
[ "$failures" -eq 0 ]
