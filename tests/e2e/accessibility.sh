#!/usr/bin/env bash
# Runs inside its own Xvfb server and D-Bus session: brings up the accessibility bus, then the
# program with Qt's accessibility on, and reads it as a screen reader does (accessibility.py).
source "$(dirname "$0")/lib.sh"

start_accessibility
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app
/usr/bin/python3 "$(dirname "$0")/accessibility.py"
wait_app_end
[ "$APP_STATUS" = 0 ] || fail "退出 pressed through AT-SPI ended the program with status $APP_STATUS"
pass "退出 pressed through AT-SPI ends the program with status 0"
