#!/usr/bin/env bash
# Under GNOME's compositor, as Debian's default desktop runs the program: a headless mutter is the
# Wayland compositor, runs it through XWayland and is its window manager there; the keys come as
# GNOME's remote desktop sends them, through mutter's D-Bus API (gnome.py). Runs in its own D-Bus
# session (see CMakeLists.txt), never on the desktop's display.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY XAUTHORITY

# mutter runs one command once XWayland is up, with DISPLAY and XAUTHORITY set for it: a sleep
# that first writes them down for this script, with its own pid so that it ends with the rest.
mkdir -m 700 "$WORK/runtime"
XDG_RUNTIME_DIR=$WORK/runtime GSETTINGS_BACKEND=memory MUTTER_DEBUG=focus \
    mutter --wayland --headless --virtual-monitor 1280x1024 -- \
    sh -c 'echo "$$ $DISPLAY $XAUTHORITY" >"$0.new" && mv "$0.new" "$0" && exec sleep 600' \
    "$WORK/xwayland" >"$WORK/mutter.log" 2>&1 &
BACKGROUND+=($!)
xwayland_up() { [ -s "$WORK/xwayland" ]; }
wait_until 20 xwayland_up || { tail -n 20 "$WORK/mutter.log" >&2; fail "mutter did not start XWayland"; }
read -r inner DISPLAY XAUTHORITY <"$WORK/xwayland"
BACKGROUND+=("$inner")
export DISPLAY XAUTHORITY

start_accessibility
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app
pass "the window is up under mutter, through XWayland on $DISPLAY"
if ! /usr/bin/python3 "$(dirname "$0")/gnome.py" "$APP_PID" "$WID"; then
    echo "what mutter said of the focus last:" >&2
    grep -a 'FOCUS' "$WORK/mutter.log" | tail -n 25 | cut -c 20-180 >&2
    fail "under mutter"
fi
# No dialog gets the focus before XWayland has given it a surface: the focus would go nowhere and
# the keys typed in that moment would be lost ("no matching wayland surface" right after the focus
# is set). mutter 43 gives a window its surface once exposed, mutter 48 and 50 later, once XWayland
# has drawn it. The first window focused is the main window, which maps before any key is typed.
early=$(grep -a 'FOCUS' "$WORK/mutter.log" | awk '
    match($0, /Setting input focus to window 0x[0-9a-f]+/) {
        window = substr($0, RSTART + 30, RLENGTH - 30)
        main = main ? main : window
        left = window == main ? 0 : 3
        next
    }
    left > 0 && /no matching wayland surface/ { early++; left = 0 }
    { left-- }
    END { print early + 0 }')
[ "$early" = 0 ] || fail "mutter gave a dialog the focus before it had a surface, $early times"
granted=$(grep -c 'due to activation' "$WORK/mutter.log" || true)
refused=$(grep -c 'ignoring  *_NET_ACTIVE_WINDOW' "$WORK/mutter.log" || true)
echo "mutter granted $granted of the program's requests for the focus and refused $refused"
