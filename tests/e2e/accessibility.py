"""What a screen reader sees of the running program, through AT-SPI: the window's name, the
label's greeting (a notification, which Orca speaks each time it shows anew), the buttons' names
and keys; pressing 欢迎 through AT-SPI changes the label; the dialogs can be answered, and 退出
ends the program. Run with the accessibility bus up."""
import sys
import time

import pyatspi
from gi.repository import GLib

TITLE = "求最大数 Tavrelo 2006.9."


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def wait_for(what, find, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            found = find()
        except GLib.GError:  # an answered dialog went away as the tree was read: read it again
            found = None
        if found is not None:
            return found
        time.sleep(0.05)
    fail(f"no {what} within {seconds} s")


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "qiuzuidashu":
            return app
    return None


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


app = wait_for("application qiuzuidashu on the accessibility bus", application)
window = wait_for("window", lambda: next((w for w in app if w.name == TITLE), None))
print(f"ok: the window is announced as '{window.name}'")

controls = list(descendants(window))
labels = [c for c in controls if c.getRole() == pyatspi.ROLE_NOTIFICATION]
buttons = {c.name: c for c in controls if c.getRole() == pyatspi.ROLE_PUSH_BUTTON}
if len(labels) != 1:
    fail(f"{len(labels)} labels")
label = labels[0]
if not label.name.startswith("欢迎光临！今天是：\n"):
    fail(f"the label reads {label.name!r}")
print(f"ok: the label reads {label.name!r}")

for name, key in (("欢迎(H)", "H"), ("时间(T)", "T"), ("求最大数(M)", "M"), ("退出(E)", "E")):
    if name not in buttons:
        fail(f"no button named {name}; there are {sorted(buttons)}")
    binding = buttons[name].queryAction().getKeyBinding(0)
    if key not in binding or "Alt" not in binding:
        fail(f"{name} has the key binding {binding!r}")
print("ok: the buttons are named by their captions without '&', with their Alt keys")

def press(control):
    action = control.queryAction()
    action.doAction(next(i for i in range(action.nActions) if action.getName(i) in ("press", "Press")))


def open_dialog(prompt=None):
    """The open input dialog (the one asking PROMPT, if given), or None."""
    return next((w for w in app if w.getRole() == pyatspi.ROLE_DIALOG and w.name == "求最大数"
                 and w.getState().contains(pyatspi.STATE_SHOWING)
                 and prompt in (None, w.description)), None)


# Orca speaks a notification as it shows, though the focus is elsewhere: each new text shows anew.
shown = []
pyatspi.Registry.registerEventListener(
    lambda event: shown.append(event.source.name) if event.detail1 else None,
    "object:state-changed:showing")
press(buttons["欢迎(H)"])
wait_for("welcome text", lambda: True if label.name == "欢迎使用\nVisual Basic" else None)
wait_for("the welcome text shown anew", lambda: True if "欢迎使用\nVisual Basic" in shown else None)
print("ok: pressing 欢迎 through AT-SPI shows the welcome text, anew for a screen reader")

press(buttons["求最大数(M)"])
for letter, entry in (("a", "5"), ("b", "9"), ("c", "2")):
    prompt = f"输入 {letter}"
    dialog = wait_for(f"the dialog {prompt}", lambda: open_dialog(prompt))
    parts = list(descendants(dialog))
    field = next(c for c in parts if c.getRole() == pyatspi.ROLE_TEXT)
    field.queryEditableText().setTextContents(entry)
    press(next(c for c in parts if c.getRole() == pyatspi.ROLE_PUSH_BUTTON and c.name == "确定"))
    wait_for(f"the dialog {prompt} to close", lambda: True if open_dialog(prompt) is None else None)
summary = "输入：a=5 b=9 c=2  计算结果：Max =9"
wait_for("the summary", lambda: True if label.name == summary else None)
wait_for("the summary shown anew", lambda: True if summary in shown else None)
print("ok: the three dialogs answered through AT-SPI give the summary")
press(buttons["退出(E)"])
