#!/bin/sh
# A fresh installation on a virtual display: each launcher started with an empty data
# folder brings up its program's main window and no message box beside it. A picture of
# each screen is kept in OUT_DIR (first-start-<launcher>.png).
#   first_start_on_screen.sh BUILD_DIR OUT_DIR [CMAKE]
# Exits 77 (skipped) without xvfb-run or xwininfo (packages xvfb and x11-utils).
set -eu

if [ "${1-}" = --on-display ]; then
  bin=$2 out=$3 data=$4
  failed=0
  # launcher and the title of its main window
  for entry in "wavora|Wavora" "tydchain|連続計算 - Tydchain" "reliefscope|Q-SONA領域抽出ﾌﾟﾛｸﾞﾗﾑ - 無題"; do
    launcher=${entry%%|*} title=${entry#*|}
    # Each from a data folder of its own: a first start every time.
    XDG_DATA_HOME="$data/$launcher" "$bin/$launcher" >"$out/$launcher.log" 2>&1 &
    pid=$!
    # The main window: that title, bigger than the toolkit's hidden 1x1 helper window.
    tries=0
    until xwininfo -root -children | grep -F "\"$title\":" | grep -vq ' 1x1+'; do
      tries=$((tries + 1))
      if [ $tries -gt 300 ] || ! kill -0 $pid 2>/dev/null; then
        echo "$launcher: no main window \"$title\""
        cat "$out/$launcher.log"
        failed=1
        break
      fi
      sleep 0.1
    done
    # Start-up shows its messages right after the window; give it time to.
    sleep 2
    # Every window on the screen but the main one (the toolkit's helpers are never mapped).
    others=
    for id in $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
      info=$(xwininfo -id "$id" 2>/dev/null) || continue
      echo "$info" | grep -q 'Map State: IsViewable' || continue
      name=$(echo "$info" | sed -n 's/^xwininfo: Window id: 0x[0-9a-f]* //p')
      [ "$name" = "\"$title\"" ] || others="$others $name"
    done
    if [ -n "$others" ]; then
      echo "$launcher: windows beside the main window: $others"
      failed=1
    fi
    if command -v import >/dev/null; then import -window root "$out/first-start-$launcher.png"; fi
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
  done
  exit $failed
fi

build=$1 out=$2 cmake=${3:-cmake}
if ! command -v xvfb-run >/dev/null || ! command -v xwininfo >/dev/null; then
  echo "xvfb-run or xwininfo is missing"
  exit 77
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
scratch=$(mktemp -d "$out/run-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# Blanks in every folder; settings, locks and the work folder inside the scratch folder.
prefix="$scratch/pre fix"
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" || { cat "$scratch/install.log"; exit 1; }
mkdir -m 700 "$scratch/run time"
XDG_RUNTIME_DIR="$scratch/run time" XDG_CONFIG_HOME="$scratch/con fig" \
  HOME="$scratch/ho me" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" sh "$0" --on-display "$prefix/bin" "$out" "$scratch/da ta"
