#!/usr/bin/env bash
# Runs inside its own Xvfb server and D-Bus session: brings up the accessibility bus, then the
# program with Qt's accessibility on, and reads it as a screen reader does (accessibility.py).
source "$(dirname "$0")/lib.sh"

# Asking the session bus for the accessibility bus starts it (D-Bus activation), as a desktop
# session would.
a11y_bus_up() {
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1
}
wait_until 10 a11y_bus_up || fail "the accessibility bus did not start"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app
/usr/bin/python3 "$(dirname "$0")/accessibility.py"
