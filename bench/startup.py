"""Start-up time and memory of the program against a bare Qt window and xmessage, measured
alternately in the same X server. Run by bench/run inside Xvfb.

    startup.py BUILD_DIR RUNS
"""
import statistics
import subprocess
import sys

build, runs = sys.argv[1], int(sys.argv[2])
probe = f"{build}/bench/startup_probe"
IDLE_MS = "500"
programs = {
    "qiuzuidashu": [f"{build}/app/qiuzuidashu"],
    "bare Qt window": [f"{build}/bench/bare_qt_window"],
    "xmessage": ["xmessage", "-geometry", "312x213", "Hello"],
}

samples = {name: [] for name in programs}
for _ in range(runs):
    for name, command in programs.items():  # alternate, so drift hits all alike
        out = subprocess.run([probe, IDLE_MS, *command], capture_output=True, text=True,
                             check=True).stdout.split()
        samples[name].append(tuple(float(v) for v in out))


def column(name, i):
    return [s[i] for s in samples[name]]


def quartiles(values):
    q = statistics.quantiles(values, n=4)
    return q[0], q[2]


base_ms = statistics.median(column("bare Qt window", 0))
base_peak = statistics.median(column("bare Qt window", 1))
base_anon = statistics.median(column("bare Qt window", 2))
print(f"{'program':<16}{'map ms (median)':>16}{'IQR':>14}{'ratio':>7}"
      f"{'peak RSS KiB':>14}{'ratio':>7}{'own KiB':>10}{'ratio':>7}")
for name in programs:
    ms = column(name, 0)
    low, high = quartiles(ms)
    peak, anon = statistics.median(column(name, 1)), statistics.median(column(name, 2))
    print(f"{name:<16}{statistics.median(ms):>16.1f}{f'{low:.1f}-{high:.1f}':>14}"
          f"{statistics.median(ms) / base_ms:>7.2f}{peak:>14.0f}{peak / base_peak:>7.2f}"
          f"{anon:>10.0f}{anon / base_anon:>7.2f}")
