# Helpers for the end-to-end scripts: start the window manager and the program, find windows,
# take screenshots of regions, and wait for things with timeouts instead of fixed sleeps.
# Sourced by each script, which runs inside its own Xvfb server (see CMakeLists.txt).

set -euo pipefail
# A failing command inside $(...) ends that subshell too, and fail() there ends the script.
shopt -s inherit_errexit
MAIN_SHELL=$$
trap 'exit 1' USR1

APP=${1:?usage: $0 PATH_TO_PROGRAM}
TITLE='求最大数 Tavrelo 2006.9.'
DIALOG_TITLE='求最大数'
# Label1 and the buttons in the client area, in pixels (960,480 twips, 2775 x 855 twips, ...).
LABEL_X=64 LABEL_Y=32 LABEL_W=185 LABEL_H=57
CMD_WELCOME=(56 104 97 33) CMD_TIME=(168 104 97 33) CMD_MAX=(56 160 97 33) CMD_EXIT=(168 160 97 33)

WORK=$(mktemp -d)
BACKGROUND=()
APP_PID=
WID=

cleanup() {
    end_processes ${APP_PID:-} "${BACKGROUND[@]}"
    rm -rf "$WORK"
}

# Ends these children of the script: SIGTERM, and SIGKILL for those still there 3 s later.
# Until they are gone they may still write to $WORK (fcitx5 saves its settings as it ends).
end_processes() {
    local pid deadline=$((SECONDS + 3))
    for pid in "$@"; do
        kill "$pid" 2>/dev/null || true
        kill -CONT "$pid" 2>/dev/null || true # one held by a test ends only once let go
    done
    for pid in "$@"; do
        while running "$pid" && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.05; done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
running() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null) && [[ $state != Z* ]]
}
trap cleanup EXIT

# Reports a failed check and ends the script, also from a subshell ($(...), <(...)): the
# script's own shell is told to end too, without a second report.
fail() {
    echo "FAIL: $*" >&2
    if [ -s "$WORK/app.log" ]; then
        echo "the program's output:" >&2
        tail -n 20 "$WORK/app.log" >&2
    fi
    # Leave a picture of the screen for whoever reads the failure.
    timeout 10 import -window root "/tmp/qzds-e2e-failure-$$.png" 2>/dev/null &&
        echo "screen at the failure: /tmp/qzds-e2e-failure-$$.png" >&2
    [ "$BASHPID" = "$MAIN_SHELL" ] || kill -USR1 "$MAIN_SHELL"
    exit 1
}

# X clients can wait for ever: xwininfo for a click on the window it is to describe when it
# finds none, xdotool --sync for a state that never comes. Each call is bounded.
bounded() {
    timeout 20 "$@" || {
        local status=$?
        [ "$status" != 124 ] || fail "$* did not end within 20 s"
        return "$status"
    }
}
xdotool() { bounded xdotool "$@"; }
xwininfo() { bounded xwininfo "$@"; }
xprop() { bounded xprop "$@"; }
import() { bounded import "$@"; }
pass() { echo "ok: $*"; }

# wait_until SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds; fails after SECONDS.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Starts openbox (with these options) and waits until it has finished starting: it announces
# itself (wmctrl -m) before it has grabbed its keys and taken over the screen, and a window or an
# Alt+F4 in that moment can go astray. Its --startup command runs once it is ready. Sets WM_PID.
start_window_manager() {
    rm -f "$WORK/openbox-ready"
    openbox --sm-disable --startup "touch $WORK/openbox-ready" "$@" >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    BACKGROUND+=($!)
    wait_until 10 test -e "$WORK/openbox-ready" || fail "the window manager did not start"
}

# The program's visible windows with this exact title, one id a line ("all": hidden ones too).
windows_titled() {
    bounded /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/xclient.py" windows "$APP_PID" "$1" "${2:-}"
}

# Brings up the accessibility bus and its registry, as a desktop session that is up has them:
# asking the session bus for the accessibility bus starts it (D-Bus activation), and asking that
# bus for the registry starts the registry. Sets A11Y_BUS.
start_accessibility() {
    wait_until 10 a11y_bus_up || fail "the accessibility bus did not start"
    wait_until 10 registry_up || fail "the accessibility registry did not start"
}
a11y_bus_up() {
    A11Y_BUS=$(dbus-send --session --dest=org.a11y.Bus --print-reply=literal /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ')
    [ -n "$A11Y_BUS" ]
}
registry_up() {
    dbus-send --bus="$A11Y_BUS" --dest=org.a11y.atspi.Registry --print-reply \
        /org/a11y/atspi/accessible/root org.freedesktop.DBus.Properties.Get \
        string:org.a11y.atspi.Accessible string:ChildCount >/dev/null 2>&1
}

# Starts the program and waits for its window: sets APP_PID and WID.
start_app() {
    "$APP" >"$WORK/app.log" 2>&1 &
    APP_PID=$!
    wait_until 15 has_main_window || fail "the window did not appear"
    WID=$(windows_titled "$TITLE" | head -n 1)
}
has_main_window() { [ -n "$(windows_titled "$TITLE")" ]; }

# Starts the program as a user meets it under a window manager: its window at the top left,
# clear of the dialogs in the middle of the screen, active, with the label painted.
launch() {
    start_app
    xdotool windowmove --sync "$WID" 10 30
    xdotool windowactivate --sync "$WID"
    wait_until 5 label_painted || fail "the label is not painted"
}

# "X Y W H" of a window's client area on the screen ("root" for the whole screen).
client_geometry() {
    [ -n "$1" ] || fail "client_geometry: no window"
    local which=(-id "$1")
    [ "$1" = root ] && which=(-root)
    xwininfo "${which[@]}" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                              /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# "LEFT RIGHT TOP BOTTOM": the widths of the frame the window manager puts around a window.
frame_extents() {
    xprop -id "$1" -notype _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}'
}

# Waits for the program to end and sets APP_STATUS to its exit status.
wait_app_end() {
    wait_until 10 app_gone || fail "the program did not end"
    APP_STATUS=0
    wait "$APP_PID" || APP_STATUS=$?
    APP_PID=
}
app_gone() { ! kill -0 "$APP_PID" 2>/dev/null; }

# shot NAME X Y W H: a screenshot of a screen region into $WORK/NAME.png.
shot() {
    import -window root -crop "$4x$5+$2+$3" +repage "$WORK/$1.png"
}

# label_shot NAME: the label's region of the main window.
label_shot() {
    local x y w h
    read -r x y w h < <(client_geometry "$WID")
    shot "$1" $((x + LABEL_X)) $((y + LABEL_Y)) "$LABEL_W" "$LABEL_H"
}

# The number of pixels in which two screenshots differ (ImageMagick 7 adds the share in
# brackets: "0 (0)").
pixels_differing() {
    { compare -metric AE "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 || true; } | awk '{print $1}'
}
same_image() { [ "$(pixels_differing "$1" "$2")" = 0 ]; }

# For each row of a label screenshot, 1 where it holds text (yellow pixels), else 0.
text_rows() {
    convert "$WORK/$1.png" -fuzz 25% -fill white -opaque yellow -fill black +opaque white \
        -colorspace gray -scale "1x${LABEL_H}!" -depth 8 txt:- |
        awk 'NR > 1 { print ($2 ~ /\(0/) ? 0 : 1 }'
}

# The row just below the first line of text in a label screenshot.
first_line_end() {
    text_rows "$1" | awk '$1 { seen = 1 } !$1 && seen { print NR - 1; exit }'
}

# How many pixels of a label screenshot have this exact colour.
colour_count() {
    convert "$WORK/$1.png" -format %c histogram:info:- | awk -v c="$2" 'index($0, c) {print $1+0}' |
        head -n 1
}

# Waits until the label region differs from screenshot NAME; leaves the new one in NAME-changed.
wait_label_change() {
    wait_until 5 label_differs "$1" || fail "the label did not change from $1"
}
label_differs() {
    label_shot "$1-changed"
    ! same_image "$1" "$1-changed"
}

key() { xdotool key --clearmodifiers "$@"; }

# press WHAT...: keys, or "click" and a control's rectangle; then waits until the label shows
# something else than before, and leaves it in now.png.
press() {
    label_shot before
    case "$1" in
    click) click_at "${@:2}" ;;
    *) key "$@" ;;
    esac
    wait_label_change before
    cp "$WORK/before-changed.png" "$WORK/now.png"
}

# Clicks the centre of a control given by its client-area rectangle in pixels.
click_at() {
    local x y w h
    read -r x y w h < <(client_geometry "$WID")
    xdotool mousemove $((x + $1 + $3 / 2)) $((y + $2 + $4 / 2)) click 1
}

# The one input dialog or failure report now open (waits for a new one, other than $1): the
# window that the check found, not one looked up again.
wait_dialog() {
    local previous=${1:-none}
    wait_until 10 one_new_dialog "$previous" || fail "no new dialog appeared (after $previous)"
    echo "$NEW_DIALOG"
}
one_new_dialog() {
    NEW_DIALOG=$(windows_titled "$DIALOG_TITLE")
    [ "$(printf '%s' "$NEW_DIALOG" | grep -c .)" = 1 ] && [ "$NEW_DIALOG" != "$1" ]
}

# Checks that a dialog sits centred horizontally with its top a third of the way down.
check_dialog_place() {
    local x y w h screen_w screen_h
    read -r x y w h < <(client_geometry "$1")
    read -r _ _ screen_w screen_h < <(client_geometry root)
    local off_centre=$((x + w / 2 - screen_w / 2)) below_third=$((y - screen_h / 3))
    [ "$off_centre" -ge -8 ] && [ "$off_centre" -le 8 ] ||
        fail "dialog ${w} wide at x=$x on a screen $screen_w wide"
    # The title bar the window manager adds sits between the requested top and the client area.
    [ "$below_third" -ge -2 ] && [ "$below_third" -le 40 ] ||
        fail "dialog's client area at y=$y on a screen $screen_h high"
}

# Checks the open dialog's place, types an answer and confirms it with Enter; prints the
# dialog's id.
answer() {
    local dialog
    dialog=$(wait_dialog "$1")
    check_dialog_place "$dialog"
    [ -n "$2" ] && xdotool type --delay 20 "$2"
    key Return
    echo "$dialog"
}

# answer_three A B C: answers the three dialogs in turn (see answer); the last id in LAST_DIALOG.
answer_three() {
    local a b
    a=$(answer none "$1")
    b=$(answer "$a" "$2")
    LAST_DIALOG=$(answer "$b" "$3")
}
# The same, and no dialog stays open.
answer_all() {
    answer_three "$@"
    wait_until 5 no_dialog || fail "a dialog stayed open"
}

label_painted() {
    label_shot painted
    [ "$(colour_count painted '#008000')" -gt 1000 ]
}

no_dialog() { [ -z "$(windows_titled "$DIALOG_TITLE")" ]; }
label_is() {
    label_shot "$1-now"
    same_image "$1" "$1-now"
}
