"""Runs one end-to-end script in a desktop session of its own, and ends the whole session with it.

  session.py [--x11] SECONDS COMMAND...

The session: its own D-Bus session bus and, with --x11, its own Xvfb server on a display no other
X server uses (the server picks it itself, so a chroot whose /tmp is empty cannot take a host's).
Whatever the script and the services it starts leave behind (an accessibility bus the session bus
activated, a window manager stuck in its SIGTERM handler, a child held with SIGSTOP) is ended once
the script ends: SIGTERM, then SIGKILL two seconds later. This process adopts every orphan of the
session (PR_SET_CHILD_SUBREAPER), so none escapes by double-forking, and the services write to a
log file, not to the test's output, which stays open only as long as the script. A script still
running after SECONDS fails with the processes it was waiting for.
"""
import ctypes
import os
import signal
import subprocess
import sys
import tempfile
import time

PR_SET_CHILD_SUBREAPER = 36


def descendants():
    """This process's living descendants, parents first: (pid, command line)."""
    children = {}
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{entry}/stat", "rb") as stat:
                state, parent = stat.read().rsplit(b")", 1)[1].split()[:2]
            with open(f"/proc/{entry}/cmdline", "rb") as cmdline:
                command = cmdline.read().replace(b"\0", b" ").decode(errors="replace")[:150]
        except OSError:
            continue
        if state != b"Z":
            children.setdefault(int(parent), []).append((int(entry), command.strip()))
    found, queue = [], [os.getpid()]
    while queue:
        for child in children.get(queue.pop(0), []):
            found.append(child)
            queue.append(child[0])
    return found


def signal_all(number):
    for pid, _ in descendants():
        try:
            os.kill(pid, number)
        except ProcessLookupError:
            pass


def end_all():
    """Ends every process of the session, and names those that only SIGKILL ended."""
    signal_all(signal.SIGTERM)
    signal_all(signal.SIGCONT)
    deadline = time.monotonic() + 2
    while descendants() and time.monotonic() < deadline:
        reap()
        time.sleep(0.05)
    stubborn = descendants()
    while descendants():
        signal_all(signal.SIGKILL)
        reap()
        time.sleep(0.05)
    if stubborn:
        print("ended only by SIGKILL:", *(f"{pid} {cmd}" for pid, cmd in stubborn), sep="\n  ",
              file=sys.stderr)


def reap():
    try:
        while os.waitpid(-1, os.WNOHANG)[0] != 0:
            pass
    except ChildProcessError:
        pass


def start(command, env, log, what):
    """Starts a server that prints its address on its first line; returns the address."""
    server = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=log, text=True)
    address = server.stdout.readline().strip()
    if not address:
        fail(f"{what} did not start", log)
    return address


def fail(message, log):
    print(f"FAIL: {message}", file=sys.stderr)
    log.flush()
    with open(log.name, encoding="utf-8", errors="replace") as services:
        tail = [line.rstrip() for line in services if line.strip()][-15:]
    print("what the session's services said:", *tail, sep="\n  ", file=sys.stderr)
    end_all()
    sys.exit(1)


def main():
    x11 = sys.argv[1] == "--x11"
    seconds, command = float(sys.argv[1 + x11]), sys.argv[2 + x11:]
    if ctypes.CDLL(None).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        print("cannot adopt the session's orphans: they may outlive it", file=sys.stderr)
    log = tempfile.NamedTemporaryFile("w", prefix="qzds-session-", suffix=".log", delete=False)
    env = dict(os.environ)
    if x11:
        env["DISPLAY"] = ":" + start(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24",
                                      "-noreset", "-nolisten", "tcp"], env, log, "the X server")
    # The services the bus starts (the accessibility bus, an input method) find the display.
    env["DBUS_SESSION_BUS_ADDRESS"] = start(
        ["dbus-daemon", "--session", "--nofork", "--print-address=1"], env, log, "the session bus")
    script = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL)
    for number in (signal.SIGTERM, signal.SIGINT):
        signal.signal(number, lambda number, _: fail(f"stopped by signal {number}", log))
    try:
        status = script.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        running = "\n  ".join(f"{pid} {cmd}" for pid, cmd in descendants())
        fail(f"{' '.join(command)} did not end within {seconds:.0f} s; running:\n  {running}", log)
    end_all()
    if status == 0:
        os.unlink(log.name)
    else:
        print(f"what the session's services said: {log.name}", file=sys.stderr)
    sys.exit(status)


if __name__ == "__main__":
    main()
