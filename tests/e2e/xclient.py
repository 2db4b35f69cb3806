"""Another X client beside the program, for the end-to-end tests (Debian's python3-xlib).

  xclient.py window LOG ACTIVATIONS
                          a window titled "other client" that appends every character typed
                          into it to LOG, and every application's request to activate a window
                          to ACTIVATIONS ("window time" a line)
  xclient.py grab         grabs the keyboard as a screen locker does, and lets it go at once;
                          exits 0 if the grab succeeded
"""
import sys

from Xlib import X, XK, display


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


if __name__ == "__main__":
    if sys.argv[1] == "window":
        window(sys.argv[2], sys.argv[3])
    else:
        sys.exit(grab())
