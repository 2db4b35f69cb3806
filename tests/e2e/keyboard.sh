#!/usr/bin/env bash
# The keyboard stays the desktop's, and the window manager knows the dialogs are modal. A click on
# another application after a Return that answers a dialog leaves the focus there, whether the
# program handles the Return after the click or the next dialog is already on the screen: that
# application gets the keys typed there, another client can grab the keyboard (as a screen locker
# does), none of it reaches the program, and its dialogs still take their answers when the user
# comes back. Alt+Tab leaves an asking dialog for another application, and a dialog iconified
# comes back when the main window is activated. Under openbox with focusNew=no, icewm, metacity
# and xfwm4. Every step waits for a state, never for a time:
# under load the program and the window manager may each act late. Runs in its own Xvfb server
# and D-Bus session.
source "$(dirname "$0")/lib.sh"

XCLIENT=$(dirname "$0")/xclient.py
OTHER_LOG=$WORK/other.log

focus_is() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
other_can_grab() { /usr/bin/python3 "$XCLIENT" grab; }
other_got() { grep -q "$1" "$OTHER_LOG"; }
other_window() { OTHER=$(xdotool search --onlyvisible --name '^other client$' | head -n 1) && [ -n "$OTHER" ]; }

# start_wm NAME COMMAND...: starts a window manager and waits until it names itself.
start_wm() {
    "${@:2}" >"$WORK/wm.log" 2>&1 &
    WM_PID=$!
    BACKGROUND+=($!)
    wm_is() { wmctrl -m 2>/dev/null | grep -qi "$1"; }
    wait_until 30 wm_is "$1" || { cat "$WORK/wm.log" >&2; fail "$1 did not start"; }
}
stop_wm() { end_processes "$WM_PID"; }

# The program with the summary of 12, 34 and 56 as the reference, and another client beside it.
launch_beside_other() {
    launch
    key alt+m
    answer_all 12 34 56
    label_shot reference
    : >"$OTHER_LOG"
    /usr/bin/python3 "$XCLIENT" window "$OTHER_LOG" "$WORK/activations.log" &
    BACKGROUND+=($!)
    wait_until 10 other_window || fail "the other client's window did not appear"
}
end_beside_other() {
    # Every request the program made to activate one of its windows carries the time of the
    # user's input it answers: stamped "now", it would win over a later click elsewhere.
    ! grep -q ' 0$' "$WORK/activations.log" || fail "an activation request without the user's time"
    key alt+e
    wait_app_end
    kill "${BACKGROUND[-1]}"
}

# The dialog asking for b, activated by the user coming back, takes 34, then c takes 56.
come_back_and_answer() {
    local b
    b=$(wait_dialog none)
    xdotool windowactivate --sync "$b"
    xdotool type --delay 20 34
    key Return
    answer "$b" 56 >/dev/null
    wait_until 10 label_is reference || fail "$1: the summary is not the one of 12, 34 and 56"
}

# click_away NAME WHEN...: for each, types ahead past a Return and clicks the other client; a
# second later the focus is still there. WHEN is "held": the program is stopped while the Return
# and the click go in, and let go once the other client has the focus, so that it handles the
# Return with the click already done; or "shown": the click comes once dialog b is on the screen
# (and perhaps focused). Neither depends on how soon the program or the window manager acts.
click_away() {
    local name=$1 when
    for when in "${@:2}"; do
        xdotool windowactivate --sync "$WID"
        press alt+h
        key alt+m
        local a
        a=$(wait_dialog none)
        xdotool type --delay 12 12
        if [ "$when" = held ]; then
            kill -STOP "$APP_PID"
            key Return
        else
            key Return
            wait_dialog "$a" >/dev/null
        fi
        xdotool mousemove --window "$OTHER" 120 60 click 1
        wait_until 10 focus_is "$OTHER" || { kill -CONT "$APP_PID"; fail "$name, $when: the other client did not get the focus"; }
        kill -CONT "$APP_PID"
        sleep 1
        focus_is "$OTHER" || fail "$name, $when: the program took the focus back"
        wait_until 5 other_can_grab || fail "$name, $when: another client cannot grab the keyboard"
        : >"$OTHER_LOG"
        xdotool type --delay 20 xyz
        wait_until 5 other_got xyz || fail "$name, $when: the other client got '$(cat "$OTHER_LOG")'"
        come_back_and_answer "$name, $when"
    done
    pass "$name: a click elsewhere (${*:2}) after a Return keeps the focus, and the answers typed back in the program reach its dialogs"
}

mkdir -p "$WORK/openbox"
cat >"$WORK/openbox/rc.xml" <<'XML'
<?xml version="1.0"?>
<openbox_config xmlns="http://openbox.org/3.4/rc"><focus><focusNew>no</focusNew></focus></openbox_config>
XML
start_window_manager --config-file "$WORK/openbox/rc.xml"
launch_beside_other
click_away "openbox, focusNew=no" held shown
# Alt+Tab from a dialog that asks goes to the other client, as from any modal dialog. Back in it,
# with the window manager held (as under load) while it answers, the keys typed on reach dialog
# b, which the window manager maps and focuses only later.
xdotool windowactivate --sync "$WID"
key alt+m
dialog=$(wait_dialog none)
key alt+Tab
wait_until 5 focus_is "$OTHER" || fail "Alt+Tab from an asking dialog did not reach the other client"
xdotool windowactivate --sync "$dialog"
xdotool type --delay 20 12
kill -STOP "$WM_PID"
key Return
dialogs_made() { [ "$(windows_titled "$DIALOG_TITLE" all | wc -l)" = 2 ]; }
wait_until 10 dialogs_made || { kill -CONT "$WM_PID"; fail "dialog b was not made"; }
xdotool type --delay 20 34
kill -CONT "$WM_PID"
answer "$(answer "$dialog" "")" 56 >/dev/null
wait_until 10 label_is reference || fail "window manager held: the keys typed on did not reach dialog b"
pass "Alt+Tab from an asking dialog reaches another application; keys typed on reach the next dialog"
end_beside_other
stop_wm

start_wm icewm icewm
launch_beside_other
click_away icewm held shown
end_beside_other
stop_wm

start_wm metacity metacity --replace
launch_beside_other
click_away metacity held shown
end_beside_other
stop_wm

# xfwm4 focuses every new window as it maps it, whatever its user time (it prevents no focus
# stealing unless told to): a dialog that maps after the click takes the focus, as Qt's own does.
start_wm xfwm4 xfwm4 --compositor=off
launch_beside_other
click_away xfwm4 shown
end_beside_other
stop_wm

# Iconified by the user, the asking dialog comes back with the main window and answers.
start_wm fluxbox fluxbox
launch_beside_other
xdotool windowactivate --sync "$WID"
key alt+m
dialog=$(wait_dialog none)
xdotool windowminimize --sync "$dialog"
xdotool windowactivate --sync "$WID" 2>/dev/null || true
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
wait_until 10 viewable "$dialog" || fail "fluxbox: the iconified dialog did not come back with the window"
wait_until 10 focus_is "$dialog" || fail "fluxbox: the dialog that came back has no focus"
xdotool type --delay 20 12
key Return
come_back_and_answer "fluxbox, iconified"
pass "fluxbox: an iconified dialog comes back with the main window and answers"
end_beside_other
