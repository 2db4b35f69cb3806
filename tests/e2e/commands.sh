#!/usr/bin/env bash
# The whole window driven as a person drives it: access keys, mouse clicks at the buttons'
# centres, Tab / Space / Enter along the tab order, Enter on 退出 and the close box ending with
# status 0, and the end after an entry that is not a number, with its error's number.
source "$(dirname "$0")/lib.sh"

start_window_manager

# first_line NAME: the first line of text of a label screenshot, the part that does not tick.
first_line() {
    convert "$WORK/$1.png" -crop "${LABEL_W}x$(first_line_end "$1")+0+0" +repage "$WORK/$1-top.png"
}
same_first_line() {
    first_line "$1"
    first_line "$2"
    same_image "$1-top" "$2-top"
}

# --- First instance: access keys as references, then mouse and keyboard compared with them.
launch
read -r _ _ w h < <(client_geometry "$WID")
[ "$w $h" = "312 213" ] || fail "the client area is ${w}x${h}"
pass "a client area of 312 x 213"
# The desktop entry's StartupWMClass names the window by the first, instance part.
[[ $(xprop -id "$WID" -notype WM_CLASS) == 'WM_CLASS = "qiuzuidashu", '* ]] ||
    fail "the window's WM_CLASS is $(xprop -id "$WID" -notype WM_CLASS)"

press alt+h && cp "$WORK/now.png" "$WORK/welcome.png"
press alt+t && cp "$WORK/now.png" "$WORK/time.png"
same_first_line time welcome && fail "Alt+T shows the welcome"
press alt+m && answer_all 1 1 1 && label_shot max
pass "Alt+H, Alt+T and Alt+M change the label"

press click "${CMD_WELCOME[@]}"
same_image now welcome || fail "clicking 欢迎 shows something else than Alt+H"
press click "${CMD_TIME[@]}"
same_first_line now time || fail "clicking 时间 shows something else than Alt+T"
click_at "${CMD_MAX[@]}" && answer_all 1 1 1 && label_shot now
same_image now max || fail "clicking 求最大数 shows something else than Alt+M"
pass "mouse clicks at the buttons' centres do what their access keys do"

# The focus is on 时间 after its click: Tab walks 欢迎, 求最大数, 退出, back to 时间. Space on
# 求最大数 starts it: the release that completes the press is not held for its dialogs.
click_at "${CMD_TIME[@]}"
key Tab && press space
same_image now welcome || fail "Tab from 时间 did not reach 欢迎"
key Tab && key space && answer_all 1 1 1 && label_shot now
same_image now max || fail "the second Tab did not reach 求最大数 (the label is skipped)"
key Tab Tab && press space
same_first_line now time || fail "Tab from 退出 did not come back to 时间"
pass "Tab / Space / Enter follow the tab order 时间, 欢迎, 求最大数, 退出"

key Tab Tab Tab && key Return
wait_app_end
[ "$APP_STATUS" = 0 ] || fail "Enter on 退出 ended with status $APP_STATUS"
pass "Enter on 退出 ends the program with status 0"

# --- Second instance: the close box. A confirmation or message window would keep it running.
launch
read -r x y w h < <(client_geometry "$WID")
read -r left right top _ < <(frame_extents "$WID")
xdotool mousemove $((x + w + right - 10)) $((y - top / 2)) click 1
wait_app_end
[ "$APP_STATUS" = 0 ] || fail "the close box ended with status $APP_STATUS"
pass "the close box ends the program with status 0 and no message"

# --- Third instance: an entry that is not a number. All three dialogs still ask, then the
# report stands over the instruction, and dismissing it ends the program with status 13.
launch
label_shot greeting
key alt+m
answer_three x "" ""
wait_dialog "$LAST_DIALOG" >/dev/null
label_shot during-report
same_image during-report greeting && fail "no instruction in the label behind the report"
key Return
wait_app_end
[ "$APP_STATUS" = 13 ] || fail "dismissing the report ended the program with status $APP_STATUS"
pass "an unusable entry: the report after the third dialog, then the end with status 13"
