"""Runs one end-to-end script in a desktop session of its own, and ends the whole session with it.

  session.py [--x11] SECONDS COMMAND...

The session: its own D-Bus session bus and, with --x11, its own Xvfb server on a display no other
X server uses (the server picks it itself, so a chroot whose /tmp is empty cannot take a host's).
Whatever the script and the services it starts leave behind (an accessibility bus the session bus
activated, a window manager's helper, a child held with SIGSTOP) is ended once the script ends:
SIGTERM, then SIGKILL after two seconds. This process adopts every orphan of the session
(PR_SET_CHILD_SUBREAPER), so none escapes by double-forking, and the services write to a log
file, not to the test's output, which stays open only as long as the script does. A script still
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
GRACE = 2.0  # seconds between SIGTERM and SIGKILL


def descendants():
    """This process's descendants, parents first: (pid, command line)."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", "rb") as stat:
                fields = stat.read().rsplit(b")", 1)[1].split()
            if fields[0] == b"Z":
                continue
            children.setdefault(int(fields[1]), []).append(int(entry))
        except (OSError, IndexError):
            continue
    found, queue = [], [os.getpid()]
    while queue:
        for pid in children.get(queue.pop(0), []):
            found.append(pid)
            queue.append(pid)
    return [(pid, command_line(pid)) for pid in found]


def command_line(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
            return cmdline.read().replace(b"\0", b" ").decode(errors="replace").strip()[:150]
    except OSError:
        return "?"


def reap():
    while True:
        try:
            if os.waitpid(-1, os.WNOHANG)[0] == 0:
                return
        except ChildProcessError:
            return


def end_all():
    """Ends every process of the session, and names those that only SIGKILL ended."""
    for sig in (signal.SIGTERM, signal.SIGCONT):
        for pid, _ in descendants():
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
    deadline = time.monotonic() + GRACE
    while time.monotonic() < deadline:
        reap()
        if not descendants():
            return
        time.sleep(0.05)
    stubborn = descendants()
    for pid, _ in stubborn:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    while descendants():
        reap()
        time.sleep(0.05)
    print("ended only by SIGKILL:", *(f"{pid} {cmd}" for pid, cmd in stubborn), sep="\n  ",
          file=sys.stderr)


def read_line(fd, seconds):
    """The first line written to a pipe, within SECONDS."""
    deadline, data = time.monotonic() + seconds, b""
    os.set_blocking(fd, False)
    while b"\n" not in data and time.monotonic() < deadline:
        try:
            chunk = os.read(fd, 256)
            if not chunk:
                break
            data += chunk
        except BlockingIOError:
            time.sleep(0.02)
    os.close(fd)
    return data.decode().strip() if b"\n" in data else None


def start(command, env, log, what):
    """Starts a server that writes its address to a pipe; returns the address."""
    reader, writer = os.pipe()
    subprocess.Popen([part.replace("FD", str(writer)) for part in command], env=env, stdout=log,
                     stderr=log, stdin=subprocess.DEVNULL, pass_fds=(writer,))
    os.close(writer)
    address = read_line(reader, 30)
    if not address:
        fail(f"{what} did not start", log)
    return address


def fail(message, log):
    print(f"FAIL: {message}", file=sys.stderr)
    log.flush()
    with open(log.name, encoding="utf-8", errors="replace") as services:
        tail = [line.rstrip() for line in services if line.strip()][-15:]
    if tail:
        print("the session's services said:", *tail, sep="\n  ", file=sys.stderr)
    end_all()
    sys.exit(1)


def main():
    args = sys.argv[1:]
    x11 = args[0] == "--x11"
    if x11:
        args = args[1:]
    seconds, command = float(args[0]), args[1:]
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        print("cannot adopt the session's orphans: they may outlive it", file=sys.stderr)
    log = tempfile.NamedTemporaryFile("w", prefix="qzds-session-", suffix=".log", delete=False)
    env = dict(os.environ)
    if x11:
        display = start(["Xvfb", "-displayfd", "FD", "-screen", "0", "1024x768x24", "-noreset",
                         "-nolisten", "tcp"], env, log, "the X server")
        env["DISPLAY"] = ":" + display
    # The services the bus starts (the accessibility bus, an input method) find the display.
    env["DBUS_SESSION_BUS_ADDRESS"] = start(
        ["dbus-daemon", "--session", "--nofork", "--print-address=FD"], env, log, "the session bus")
    script = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL)

    def stop(number, _frame):
        fail(f"stopped by signal {number}", log)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        status = script.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        tree = "\n  ".join(f"{pid} {cmd}" for pid, cmd in descendants())
        fail(f"{' '.join(command)} did not end within {seconds:.0f} s; running:\n  {tree}", log)
    end_all()
    if status == 0:
        os.unlink(log.name)
    else:
        print(f"what the session's services said: {log.name}", file=sys.stderr)
    sys.exit(status)


if __name__ == "__main__":
    main()
