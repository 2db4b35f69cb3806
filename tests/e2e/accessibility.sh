#!/usr/bin/env bash
# Runs inside its own Xvfb server and D-Bus session: brings up the accessibility bus, then the
# program with Qt's accessibility on, and reads it as a screen reader does (accessibility.py).
source "$(dirname "$0")/lib.sh"

# Asking the session bus for the accessibility bus starts it (D-Bus activation), as a desktop
# session would; asking that bus for the registry starts the registry. The program starts only
# once both answer, as it would in a desktop session that is up.
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
wait_until 10 a11y_bus_up || fail "the accessibility bus did not start"
wait_until 10 registry_up || fail "the accessibility registry did not start"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app
/usr/bin/python3 "$(dirname "$0")/accessibility.py"
wait_app_end
[ "$APP_STATUS" = 0 ] || fail "退出 pressed through AT-SPI ended the program with status $APP_STATUS"
pass "退出 pressed through AT-SPI ends the program with status 0"
