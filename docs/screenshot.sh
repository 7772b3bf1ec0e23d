#!/usr/bin/env bash
# Takes docs/screenshot.png: the dialog under Xvfb with the openbox window manager, listing the
# dependencies of a real package from the corpus against a small made-up installation that holds
# some of them. Needs a built tree (default: build), xvfb, openbox, xdotool, x11-utils and
# imagemagick.
#
#   docs/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
lintara=$build/ui/lintara
package=$PWD/../shared/corpus/supersonic1999__UT2004-Command-And-Conquer/compiled/CommandAndConquer.u
[ -x "$lintara" ] || { echo "no $lintara: build first" >&2; exit 1; }
[ -f "$package" ] || { echo "no $package: the corpus is needed" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# The installation, where the community installer puts it, so that the dialog finds it by itself.
install=$work/home/.local/share/OldUnreal/UT2004
for file in System/2K4Menus.u System/Core.u System/Engine.u System/UnrealGame.u System/XGame.u \
            System/XInterface.u System/XEffects.u System/XWeapons.u System/Onslaught.u \
            System/OnslaughtFull.u System/UT2k4Assault.u System/UT2k4AssaultFull.u \
            Textures/AbaddonArchitecture.utx Textures/ArboreaTerrain.utx Textures/AS_FX_TX.utx \
            Textures/AW-2004Explosions.utx Textures/AW-2004Particles.utx Textures/BenTex01.utx \
            Textures/EmitterTextures.utx Textures/EpicParticles.utx Textures/ExplosionTex.utx \
            Textures/HUDContent.utx Textures/InterfaceContent.utx \
            StaticMeshes/AS_Weapons_SM.usx StaticMeshes/ParticleMeshes.usx \
            Sounds/GameSounds.uax Sounds/IndoorAmbience.uax Sounds/MenuSounds.uax \
            Sounds/WeaponSounds.uax Animations/SniperAnims.ukx Music/KR-UT2004-Menu.ogg; do
  mkdir -p "$(dirname "$install/$file")"
  : > "$install/$file"
done
mkdir -p "$work/cwd"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x560x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
sleep 1
DISPLAY=$display openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1
(cd "$work/cwd" && exec env -u XDG_CONFIG_HOME -u XDG_CONFIG_DIRS HOME="$work/home" DISPLAY="$display" \
  QT_QPA_PLATFORM=xcb "$OLDPWD/$lintara") >"$work/lintara.log" 2>&1 &
pids+=($!)

export DISPLAY=$display
window=""
for _ in $(seq 50); do
  window=$(xdotool search --onlyvisible --name '^Lintara$' 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "the dialog did not open" >&2; cat "$work/lintara.log" >&2; exit 1; }
sleep 0.5
# Focus starts in the result list: Tab to the file-name box, type the path, Tab twice to Go!.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key Tab
xdotool type --delay 2 "$package"
xdotool key Tab Tab space
sleep 1
# Back to the list, and select a row, as a user reading it would.
xdotool key shift+Tab shift+Tab shift+Tab Down Down Down Down Down Down Down Down Down Down Down
sleep 0.5

# The window with the frame that the window manager draws around it.
eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
                                      /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
extents=$(xprop -id "$window" _NET_FRAME_EXTENTS); read -r left right top bottom < <(echo "$extents" | sed "s/.*= //; s/,//g")
import -window root "$work/root.png"
/usr/bin/convert "$work/root.png" -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" \
  +repage -strip docs/screenshot.png
echo "wrote docs/screenshot.png"
