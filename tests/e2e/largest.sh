#!/usr/bin/env bash
# The largest-of-three command as a user meets it: Alt+M, three dialogs one after the other,
# the summary in the label; then an unusable entry, the failure report, and the end.
source "$(dirname "$0")/lib.sh"

start_window_manager
launch
label_shot greeting

key alt+m
a=$(wait_dialog)
check_dialog_place "$a"
wait_label_change greeting
mv "$WORK/greeting-changed.png" "$WORK/instruction.png"
[ "$(text_bands instruction)" -ge 1 ] || fail "no instruction behind the dialog"
pass "Alt+M shows the instruction and the first dialog, titled '$DIALOG_TITLE', placed centred"

answer_all 5 9 2
wait_label_change instruction
pass "three dialogs one at a time, each centred a third of the way down; the label then changes"

# The same entries through the mouse give the same summary, pixel for pixel.
label_shot summary
click_at "${CMD_MAX[@]}"
answer_all 5 9 2
wait_until 5 label_is summary || fail "a second run with the same entries shows something else"
pass "a second run starts with empty fields and shows the same summary"

# An entry that is not a number: all three dialogs still appear, then the failure report.
key alt+m
answer_three x "" ""
report=$(wait_dialog "$LAST_DIALOG")
[ "$(window_title "$report")" = "$DIALOG_TITLE" ] || fail "the report's title is wrong"
label_shot during-report
same_image during-report instruction || fail "the label does not keep the instruction"
pass "an unusable entry shows the failure report; the label keeps the instruction"
key Return
wait_app_end
[ "$APP_STATUS" = 13 ] || fail "the program ended with status $APP_STATUS"
pass "dismissing the report ends the program with status 13"
