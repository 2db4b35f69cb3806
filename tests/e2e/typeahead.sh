#!/usr/bin/env bash
# Typing ahead as people do, without waiting for the dialogs: "alt+m 1 2 Return 3 4 Return 5 6
# Return" must give the summary of 12, 34 and 56 every time, at xdotool's default 12 ms a key and
# at 40 ms, on a machine whose two cores are busy, and through the fcitx5 input method. Runs in
# its own Xvfb server and D-Bus session.
source "$(dirname "$0")/lib.sh"

RUNS=${QZDS_TYPEAHEAD_RUNS:-3}

# type_ahead WHAT DELAY: from the welcome line, types everything at once; then the summary must be
# the one of the reference, with no dialog left open.
type_ahead() {
    press alt+h
    xdotool key --clearmodifiers --delay "$2" alt+m 1 2 Return 3 4 Return 5 6 Return
    wait_until 20 label_is reference || fail "$1, $2 ms a key: the summary is not the one of 12, 34 and 56"
    no_dialog || fail "$1, $2 ms a key: a dialog stayed open"
}

# The reference: the same answers typed one dialog at a time (after waiting for $1, if given).
reference() {
    launch
    key alt+m
    [ -z "${1:-}" ] || wait_until 10 "$1" || fail "no $1"
    answer_all 12 34 56
    label_shot reference
}

start_window_manager
reference

# Both cores busy, for a bounded time, as when a build runs beside the program.
busy=()
for _ in 1 2; do
    timeout 120 sh -c 'while :; do :; done' &
    busy+=($!)
    BACKGROUND+=($!)
done
for delay in 12 40; do
    for _ in $(seq "$RUNS"); do
        type_ahead "both cores busy" "$delay"
    done
done
kill "${busy[@]}"
pass "typed ahead $RUNS times at 12 and at 40 ms a key with both cores busy: 12, 34 and 56 each time"

key alt+e
wait_app_end

# Through fcitx5 with its keyboard engine: a key typed into a dialog makes a round trip to the
# input method, which sends it back or commits it; what is typed ahead waits in the program's
# queue, and the input method commits to the focus it last saw.
export XDG_CONFIG_HOME=$WORK/config
fcitx5 --disable=all --enable=dbus,dbusfrontend,xcb,keyboard --verbose=key_trace=5 \
    >"$WORK/fcitx5.log" 2>&1 &
BACKGROUND+=($!)
# Asks the bus whether fcitx5 has its name: asking fcitx5 itself would start a second one.
fcitx_up() {
    dbus-send --session --dest=org.freedesktop.DBus --print-reply /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2>/dev/null | grep -q 'boolean true'
}
wait_until 10 fcitx_up || fail "fcitx5 did not start"
# A dialog's input context comes some time after the dialog, and until then its keys go
# straight to the field: the reference presses Shift until one reaches fcitx5, so that its
# answers are sure to go through it.
shift_reaches_fcitx() {
    key shift
    grep -q 'KeyEvent: Key(Shift_L' "$WORK/fcitx5.log"
}
export QT_IM_MODULE=fcitx
reference shift_reaches_fcitx
grep -q 'KeyEvent: Key(1' "$WORK/fcitx5.log" || fail "the keys did not go through fcitx5"
for delay in 12 40; do
    type_ahead "through fcitx5" "$delay"
done
pass "typed ahead through fcitx5 at 12 and at 40 ms a key: 12, 34 and 56 each time"
key alt+e
wait_app_end
