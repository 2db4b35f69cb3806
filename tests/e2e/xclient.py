"""Another X client beside the program, for the end-to-end tests (Debian's python3-xlib).

  xclient.py window LOG ACTIVATIONS
                          a window titled "other client" that appends every character typed
                          into it to LOG, and every application's request to activate a window
                          to ACTIVATIONS ("window time" a line)
  xclient.py grab         grabs the keyboard as a screen locker does, and lets it go at once;
                          exits 0 if the grab succeeded
  xclient.py windows PID TITLE [all]
                          the ids of the process's windows with this exact title, one a line:
                          the viewable ones, or all. Unlike xdotool search, which misses windows
                          while others come and go (94 of 200 searches with windows churning
                          beside), a window that vanishes during the look-up is only passed over.
"""
import sys

from Xlib import X, XK, display, error


def window(log_path, activations_path):
    d = display.Display()
    screen = d.screen()
    screen.root.change_attributes(event_mask=X.SubstructureNotifyMask)
    active_window = d.intern_atom("_NET_ACTIVE_WINDOW")
    w = screen.root.create_window(
        700, 550, 240, 120, 0, screen.root_depth, X.InputOutput, X.CopyFromParent,
        background_pixel=screen.white_pixel, event_mask=X.KeyPressMask | X.ExposureMask)
    w.set_wm_name("other client")
    w.set_wm_hints(flags=1, input=1)  # takes the focus when clicked
    w.map()
    d.flush()
    with open(log_path, "a", encoding="utf-8") as log, open(activations_path, "a") as activations:
        while True:
            event = d.next_event()
            if event.type == X.ClientMessage and event.client_type == active_window:
                source, time = event.data[1][:2]
                if source == 1:
                    activations.write(f"{event.window.id} {time}\n")
                    activations.flush()
            elif event.type == X.KeyPress:
                text = XK.keysym_to_string(d.keycode_to_keysym(event.detail, 0))
                if text:
                    log.write(text)
                    log.flush()


def grab():
    d = display.Display()
    status = d.screen().root.grab_keyboard(True, X.GrabModeAsync, X.GrabModeAsync, X.CurrentTime)
    d.ungrab_keyboard(X.CurrentTime)
    d.flush()
    return 0 if status == X.GrabSuccess else 1


def windows(pid, title, which, d=None):
    """The ids of the windows, as the command line prints them."""
    d = d or display.Display()
    pid_atom, name_atom = d.intern_atom("_NET_WM_PID"), d.intern_atom("_NET_WM_NAME")
    pending = [d.screen().root]
    while pending:
        w = pending.pop()
        try:
            pending.extend(w.query_tree().children)
            owner = w.get_full_property(pid_atom, X.AnyPropertyType)
            if owner is None or owner.value[0] != pid:
                continue
            name = w.get_full_property(name_atom, X.AnyPropertyType)
            if name is None or name.value.decode("utf-8", "replace") != title:
                continue
            if which == "all" or w.get_attributes().map_state == X.IsViewable:
                yield w.id
        except error.BadWindow:
            pass


if __name__ == "__main__":
    if sys.argv[1] == "window":
        window(sys.argv[2], sys.argv[3])
    elif sys.argv[1] == "windows":
        print(*windows(int(sys.argv[2]), sys.argv[3], sys.argv[4] if len(sys.argv) > 4 else "viewable"),
              sep="\n")
    else:
        sys.exit(grab())
