"""gnome.py PID WINDOW: drives the program (its process and main window) under mutter as
GNOME's remote desktop does, keys through org.gnome.Mutter.RemoteDesktop from this one process so
that the gaps between them are the ones asked for; the label read through AT-SPI, the focus and
the dialogs through X. Run with the accessibility bus up, mutter on the session bus and DISPLAY
its XWayland.

Each dialog asked one at a time gets the focus and is modal while it has it; three answers typed
ahead at 12 ms a key while the program is held give the summary, with no dialog left and the
focus back on the main window; and the same at 12, 25 and 40 ms a key as it runs."""
import os
import signal
import struct
import sys
import threading
import time

import pyatspi
from gi.repository import Gio, GLib
from Xlib import display, error
from Xlib.ext import xinput

import xclient

TITLE = "求最大数 Tavrelo 2006.9."
DIALOG_TITLE = "求最大数"
WELCOME = "欢迎使用\nVisual Basic"
SUMMARY = "输入：a=12 b=34 c=56  计算结果：Max =56"
KEYSYMS = {"alt": 0xFFE9, "shift": 0xFFE1, "Return": 0xFF0D}
MUTTER = "org.gnome.Mutter.RemoteDesktop"
SESSION = MUTTER + ".Session"


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def wait_for(find, seconds):
    deadline = time.monotonic() + seconds
    while not (found := find()) and time.monotonic() < deadline:
        time.sleep(0.02)
    return found or None


def find_all(node, role):
    return pyatspi.findAllDescendants(node, lambda child: child.getRole() == role)


class Screen:
    """What X says: the window with the focus, the program's dialogs on the screen."""

    def __init__(self, pid, main):
        self.x = display.Display()
        self.pid, self.main = pid, main
        self.name = self.x.intern_atom("_NET_WM_NAME")
        self.state = self.x.intern_atom("_NET_WM_STATE")
        self.modal = self.x.intern_atom("_NET_WM_STATE_MODAL")

    def focus(self):
        focus = self.x.get_input_focus().focus
        return getattr(focus, "id", focus)  # None and PointerRoot come as numbers

    def property(self, window, atom):
        """The window's property; none for a window that has gone meanwhile."""
        try:
            reply = self.x.create_resource_object("window", window).get_full_property(atom, 0)
        except error.XError:
            return []
        return reply.value if reply is not None else []

    def focused_dialog(self):
        focus = self.focus()
        title = bytes(self.property(focus, self.name)).decode()
        return focus if focus != self.main and title == DIALOG_TITLE else None

    def dialogs(self):
        return list(xclient.windows(self.pid, DIALOG_TITLE, "viewable", self.x))


class RawKeys:
    """Counts the key presses and releases XWayland takes in, whichever window they go to."""

    def __init__(self):
        self.x = display.Display()
        self.x.screen().root.xinput_select_events(
            [(xinput.AllMasterDevices, xinput.RawKeyPressMask | xinput.RawKeyReleaseMask)])
        self.x.flush()
        self.count = 0
        threading.Thread(target=self.listen, daemon=True).start()

    def listen(self):
        while True:
            event = self.x.next_event()
            if getattr(event, "evtype", None) in (xinput.RawKeyPress, xinput.RawKeyRelease):
                self.count += 1


class Keyboard:
    """A remote desktop session of mutter's: keys as GNOME's remote desktop sends them."""

    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        self.session = self.call("/org/gnome/Mutter/RemoteDesktop", MUTTER, "CreateSession",
                                 reply="(o)").unpack()[0]
        self.call(self.session, SESSION, "Start")
        # The first key of a fresh session can be lost.
        self.type(["shift"], 10)
        time.sleep(0.2)

    def call(self, path, interface, method, reply=None):
        return self.bus.call_sync(MUTTER, path, interface, method, None,
                                  GLib.VariantType(reply) if reply else None,
                                  Gio.DBusCallFlags.NONE, 5000, None)

    def send(self, keysym, pressed):
        # No reply awaited: each key goes out on time, in order, on the one connection.
        message = Gio.DBusMessage.new_method_call(MUTTER, self.session, SESSION,
                                                  "NotifyKeyboardKeysym")
        message.set_body(GLib.Variant("(ub)", (keysym, pressed)))
        message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
        self.bus.send_message(message, Gio.DBusSendMessageFlags.NONE)
        self.bus.flush_sync(None)

    def type(self, keys, delay_ms):
        """Presses each key (or mod+key) DELAY ms after the one before, and lets it go halfway."""
        delay = delay_ms / 1000
        start = time.monotonic()
        for i, key in enumerate(keys):
            syms = [KEYSYMS.get(part, ord(part[0])) for part in key.split("+")]
            until(start + i * delay)
            for sym in syms:
                self.send(sym, True)
            until(start + i * delay + delay / 2)
            for sym in reversed(syms):
                self.send(sym, False)

    def stop(self):
        # Keys still on their way are dropped with the session.
        time.sleep(0.5)
        self.call(self.session, SESSION, "Stop")


def until(moment):
    left = moment - time.monotonic()  # read once: under load a second reading can be later
    if left > 0:
        time.sleep(left)


def application():
    return next((app for app in pyatspi.Registry.getDesktop(0)
                 if app is not None and any(w is not None and w.name == TITLE for w in app)), None)


def shown_dialogs(app):
    """The program's dialogs on the screen, with what their fields hold."""
    return [(w.description, [t.queryText().getText(0, -1) for t in find_all(w, pyatspi.ROLE_TEXT)])
            for w in app if w is not None and w.getRole() == pyatspi.ROLE_DIALOG
            and w.getState().contains(pyatspi.STATE_SHOWING)]


def main():
    screen = Screen(int(sys.argv[1]), int(sys.argv[2]))
    app = wait_for(application, 10) or fail("the program is not on the accessibility bus")
    label = next(iter(find_all(app, pyatspi.ROLE_NOTIFICATION)), None)
    label or fail("the program has no label")
    keyboard = Keyboard()
    wait_for(lambda: screen.focus() == screen.main, 10) or fail("the window has not the focus")

    def ends_well(what):
        if not wait_for(lambda: label.name == SUMMARY, 5):
            fail(f"{what}: the label reads {label.name!r}; dialogs on the screen: "
                 f"{shown_dialogs(app)}")
        wait_for(lambda: not screen.dialogs(), 3) or fail(f"{what}: a dialog stayed")
        wait_for(lambda: screen.focus() == screen.main, 3) or fail(
            f"{what}: the focus did not come back to the main window")

    keyboard.type(["alt+m"], 12)
    seen = []
    for name, answer in zip("abc", ["12", "34", "56"]):
        dialog = wait_for(lambda: (d := screen.focused_dialog()) not in seen and d, 5)
        dialog or fail(f"dialog {name} did not get the focus")
        seen.append(dialog)
        wait_for(lambda: screen.modal in screen.property(dialog, screen.state), 3) or fail(
            f"dialog {name} has the focus but is not modal")
        keyboard.type([*answer, "Return"], 12)
    ends_well("answered one at a time")
    print("ok: each dialog gets the focus, modal; the summary follows; no dialog stays")

    burst = ["alt+m", "1", "2", "Return", "3", "4", "Return", "5", "6", "Return"]

    def type_ahead(how, delay, raw=None):
        """Three rounds; with raw keys counted, while the program is held: every key is in
        XWayland before any dialog maps, and what the program does with them shows alone."""
        for n in range(1, 4):
            keyboard.type(["alt+h"], delay)
            wait_for(lambda: label.name == WELCOME, 5) or fail(f"Alt+H: the label reads {label.name!r}")
            start, events = raw and raw.count, 2 * (len(burst) + 1)  # Alt is a key too
            if raw:
                os.kill(screen.pid, signal.SIGSTOP)
            try:
                keyboard.type(burst, delay)
                if raw and not wait_for(lambda: raw.count - start >= events, 5):
                    fail(f"{how}, round {n}: XWayland took in {raw.count - start} of {events} keys")
            finally:
                os.kill(screen.pid, signal.SIGCONT)
            ends_well(f"{how}, round {n}")
        print(f"ok: {how}, 3 times: the summary of 12, 34 and 56")

    type_ahead("typed ahead at 12 ms a key while the program was held", 12, RawKeys())
    for delay in (12, 25, 40):
        type_ahead(f"typed ahead at {delay} ms a key", delay)
    keyboard.stop()


main()
