#!/usr/bin/env bash
# The keyboard stays the desktop's: type ahead past a Return, then click another application
# before the next dialog has the focus. That application gets the keys typed there, another
# client can grab the keyboard (as a screen locker does), and none of it reaches the program,
# whose dialogs still take their answers when the user comes back. Under openbox with
# focusNew=no and under icewm, which leave the focus where the user put it. Runs in its own Xvfb
# server and D-Bus session.
source "$(dirname "$0")/lib.sh"

XCLIENT=$(dirname "$0")/xclient.py
OTHER_LOG=$WORK/other.log

focus_is() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
other_can_grab() { /usr/bin/python3 "$XCLIENT" grab; }
other_got() { grep -q "$1" "$OTHER_LOG"; }
other_window() { OTHER=$(xdotool search --onlyvisible --name '^other client$' | head -n 1) && [ -n "$OTHER" ]; }

# keys_stay_where_put NAME: with a window manager running.
keys_stay_where_put() {
    launch
    key alt+m
    answer_all 12 34 56
    label_shot reference
    /usr/bin/python3 "$XCLIENT" window "$OTHER_LOG" &
    BACKGROUND+=($!)
    wait_until 10 other_window || fail "$1: the other client's window did not appear"
    xdotool windowactivate --sync "$WID"
    press alt+h

    xdotool key --clearmodifiers --delay 12 alt+m 1 2 Return
    xdotool mousemove --window "$OTHER" 120 60 click 1
    wait_until 10 focus_is "$OTHER" || fail "$1: the other client did not get the focus"
    wait_until 5 other_can_grab || fail "$1: another client cannot grab the keyboard"
    xdotool type --delay 20 xyz
    wait_until 5 other_got xyz || fail "$1: the other client got '$(cat "$OTHER_LOG")', not xyz"
    pass "$1: the other client gets its keys and can grab the keyboard"

    # Back in the program, the dialog asking for b has nothing of what went elsewhere.
    local b
    b=$(wait_dialog none)
    xdotool windowactivate --sync "$b"
    xdotool type --delay 20 34
    key Return
    answer "$b" 56 >/dev/null
    wait_until 10 label_is reference || fail "$1: the summary is not the one of 12, 34 and 56"
    pass "$1: the answers typed into the program reach its dialogs"
    key alt+e
    wait_app_end
    kill "${BACKGROUND[-1]}"
}

mkdir -p "$WORK/openbox"
cat >"$WORK/openbox/rc.xml" <<'XML'
<?xml version="1.0"?>
<openbox_config xmlns="http://openbox.org/3.4/rc"><focus><focusNew>no</focusNew></focus></openbox_config>
XML
start_window_manager --config-file "$WORK/openbox/rc.xml"
keys_stay_where_put "openbox, focusNew=no"
kill "$WM_PID"
wait "$WM_PID" 2>/dev/null || true

icewm >"$WORK/icewm.log" 2>&1 &
BACKGROUND+=($!)
wm_is_icewm() { wmctrl -m 2>/dev/null | grep -qi icewm; }
wait_until 30 wm_is_icewm || { cat "$WORK/icewm.log" >&2; fail "icewm did not start"; }
keys_stay_where_put icewm
