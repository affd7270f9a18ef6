#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The program on a Wayland desktop of two outputs, an ordinary one (scale 1)
# and a dense one (scale 2) to its right, as a laptop with a monitor: sway,
# headless, drawing in memory. With Qt's own Wayland platform (chosen by Qt
# in a Wayland session, no X server anywhere) the window must map with its
# caption and application id; the compass photograph must be drawn for the
# output it is on, pixel for pixel, when opened on either and after moving
# to the other; and the message box must carry the application's title.
#
#     window_on_wayland.sh PROGRAM ASSETS PHOTOGRAPH_ON_SCREEN
#
# sway refuses to run as root: as root, the compositor and the program run
# as the user nobody, in a folder of their own that is removed afterwards.
set -u

program=$(readlink -f "$1")
assets=$(readlink -f "$2")
photograph_on_screen=$(readlink -f "$3")
caption="Rotavel 1.1 - Quillo"
app_id=io.github.rotavel.Rotavel

session=$(mktemp -d /tmp/rotavel-wayland.XXXXXX)
session=$(readlink -f "$session")
sway_pid=
cleanup()
{
    [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null && wait "$sway_pid" 2>/dev/null
    rm -rf "$session"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

as_user=
if [ "$(id -u)" = 0 ]; then
    as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
    chown nobody:nogroup "$session"
fi
chmod 700 "$session"
# The program is copied in, so the user nobody can run it wherever it was built.
cp "$program" "$session/rotavel"
chmod 755 "$session/rotavel"

cat >"$session/config" <<CONFIG
output HEADLESS-1 resolution 1024x768 position 0,0 scale 1
output HEADLESS-2 resolution 2048x1536 position 1024,0 scale 2
default_border normal
for_window [app_id="$app_id"] floating enable
CONFIG
chmod 644 "$session/config"

# Everything inside the session sees only its own environment.
session_environment="HOME=$session XDG_RUNTIME_DIR=$session XDG_SESSION_TYPE=wayland"
session_environment="$session_environment WAYLAND_DISPLAY=wayland-1 SWAYSOCK=$session/sway.sock"
session_environment="$session_environment PATH=/usr/bin:/bin"
in_session()
{
    $as_user env -i $session_environment "$@"
}

$as_user env -i HOME="$session" XDG_RUNTIME_DIR="$session" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 \
    SWAYSOCK="$session/sway.sock" PATH=/usr/bin:/bin \
    sway -c "$session/config" >"$session/sway.log" 2>&1 &
sway_pid=$!
for _ in $(seq 50); do
    [ -S "$session/wayland-1" ] && [ -S "$session/sway.sock" ] && break
    sleep 0.2
done
if ! in_session swaymsg -t get_version >/dev/null 2>&1; then
    cat "$session/sway.log"
    echo "FAIL: sway did not start"
    exit 1
fi

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The program's windows, one a line: name, app id, output, scale, and the
# client area's top-left corner in the output's pixels, tab-separated.
windows()
{
    in_session swaymsg -r -t get_outputs >"$session/outputs.json"
    in_session swaymsg -r -t get_tree >"$session/tree.json"
    python3 - "$session/outputs.json" "$session/tree.json" <<'PYTHON'
import json, sys
scales = {o["name"]: o["scale"] for o in json.load(open(sys.argv[1]))}
def walk(node, output):
    if node.get("type") == "output":
        output = node
    if node.get("pid"):
        scale = scales[output["name"]]
        rect, inner = node["rect"], node["window_rect"]
        left = (rect["x"] + inner["x"] - output["rect"]["x"]) * scale
        top = (rect["y"] + inner["y"] - output["rect"]["y"]) * scale
        print("\t".join([node.get("name") or "", node.get("app_id") or "", output["name"],
                         "%g" % scale, str(round(left)), str(round(top))]))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child, output)
walk(json.load(open(sys.argv[2])), None)
PYTHON
}

# The main window's line, once it has mapped (within 20 s).
main_window()
{
    for _ in $(seq 100); do
        line=$(windows | grep -F "$caption	") && { echo "$line"; return 0; }
        sleep 0.2
    done
    return 1
}

# check_photograph WHAT: the main window's output, grabbed once the window
# has settled, shows the photograph for its scale.
check_photograph()
{
    sleep 1
    line=$(main_window) || { fail "$1: no window"; return; }
    output=$(echo "$line" | cut -f3)
    scale=$(echo "$line" | cut -f4)
    left=$(echo "$line" | cut -f5)
    top=$(echo "$line" | cut -f6)
    in_session grim -o "$output" "$session/shot.png"
    cp "$session/shot.png" "$session/$(echo "$1" | tr ' ' '-').png"
    if result=$("$photograph_on_screen" "$session/shot.png" "$left" "$top" "$scale" "$assets"); then
        echo "$1: on $output at scale $scale, $result"
    else
        fail "$1: on $output at scale $scale, $result"
    fi
}

start_program()
{
    in_session swaymsg focus output "$1" >/dev/null
    # Not through a function, which would run in a shell of its own: the
    # process id is the program's.
    $as_user env -i $session_environment "$session/rotavel" >"$session/program.log" 2>&1 &
    program_pid=$!
    line=$(main_window) || { cat "$session/program.log"; fail "no window named \"$caption\" mapped"; return 1; }
    echo "mapped: $(echo "$line" | cut -f1,2 | tr '\t' ' ')"
    [ "$(echo "$line" | cut -f2)" = "$app_id" ] || fail "app id \"$(echo "$line" | cut -f2)\""
    if grep -q 'qt.qpa' "$session/program.log"; then
        cat "$session/program.log"
        fail "Qt complained about its platform"
    fi
}

stop_program()
{
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
    for _ in $(seq 50); do
        windows | grep -F "$caption	" >/dev/null || return 0
        sleep 0.2
    done
}

echo "== opened on the ordinary output, then moved to the dense one"
if start_program HEADLESS-1; then
    check_photograph "opened at scale 1"
    in_session swaymsg "[app_id=\"$app_id\"] move container to output HEADLESS-2" >/dev/null
    check_photograph "moved to scale 2"
    in_session swaymsg "[app_id=\"$app_id\"] move container to output HEADLESS-1" >/dev/null
    check_photograph "moved back to scale 1"

    # A seventh character in Locator 1 (Tab twice reaches it), then a
    # locator in Locator 2: the message box for the long Locator 1.
    in_session swaymsg "[app_id=\"$app_id\"] focus" >/dev/null
    sleep 0.5
    # A pause before and between the keys: the program first takes the
    # virtual keyboard's keymap, and each key is handled before the next.
    in_session wtype -s 300 -k Tab -s 100 -k Tab -s 100 -k End -s 100 -k x -s 100 -k Tab \
        -s 100 -k BackSpace -s 100 -k BackSpace -s 100 -k BackSpace -s 100 -d 100 jn61fv
    title=
    for _ in $(seq 50); do
        title=$(windows | grep -vF "$caption	" | cut -f1 | head -n 1)
        [ -n "$title" ] && break
        sleep 0.2
    done
    in_session grim "$session/message-box.png"
    cp "$session/tree.json" "$session/message-box-tree.json"
    if [ "$title" = Rotavel ]; then
        echo "the message box's title: \"$title\""
    else
        fail "the message box's title is \"$title\", not \"Rotavel\""
    fi
    in_session wtype -k Return
    stop_program
fi

echo "== opened on the dense output"
if start_program HEADLESS-2; then
    check_photograph "opened at scale 2"
    stop_program
fi

if [ -n "${ROTAVEL_WAYLAND_SHOTS:-}" ]; then
    mkdir -p "$ROTAVEL_WAYLAND_SHOTS" && cp "$session"/*-*.png "$session"/*.json "$ROTAVEL_WAYLAND_SHOTS"/
fi
[ "$failures" = 0 ] && echo "passed" && exit 0
echo "$failures failures"
exit 1
