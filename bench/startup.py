"""Start-up and memory of the program against a plain Qt window with the same pixels (the anchor
that counts), the program without Qt's Chinese translation, a bare Qt window with one Latin word
and xmessage, measured alternately in the same X server. Run by bench/run inside Xvfb.

    startup.py BUILD_DIR RUNS
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

build, runs = sys.argv[1], int(sys.argv[2])
probe = f"{build}/bench/startup_probe"
IDLE_MS = "500"
ANCHOR = "same pixels (Qt)"

# The program once more, with a qt.conf beside it that points Qt to no translations: what the
# translation costs at start.
untranslated = tempfile.mkdtemp()
shutil.copy(f"{build}/app/qiuzuidashu", untranslated)
plugins = subprocess.run(["/usr/lib/qt6/bin/qtpaths6", "--query", "QT_INSTALL_PLUGINS"],
                         capture_output=True, text=True, check=True).stdout.strip()
with open(os.path.join(untranslated, "qt.conf"), "w") as conf:
    conf.write(f"[Paths]\nPlugins={plugins}\nTranslations=/nonexistent\n")

programs = {
    "qiuzuidashu": [f"{build}/app/qiuzuidashu"],
    ANCHOR: [f"{build}/bench/same_pixels_window"],
    "no Qt translation": [f"{untranslated}/qiuzuidashu"],
    "bare Qt (Latin)": [f"{build}/bench/bare_qt_window"],
    "xmessage": ["xmessage", "-geometry", "312x213", "Hello"],
}
COLUMNS = ("map ms", "frame ms", "settled ms", "peak RSS KiB", "PSS KiB", "anon KiB")


def measure(command):
    """One run's six figures, or None; a failing run is tried once more."""
    for _ in range(2):
        result = subprocess.run([probe, IDLE_MS, *command], capture_output=True, text=True)
        if result.returncode == 0:
            return tuple(float(v) for v in result.stdout.split())
        why = result.stderr.strip() or f"exit status {result.returncode}"
    print(f"  {command[0]}: {why} (twice); run left out", file=sys.stderr)
    return None


samples = {name: [] for name in programs}
for _ in range(runs):
    for name, command in programs.items():  # alternate, so drift hits all alike
        figures = measure(command)
        if figures is not None:
            samples[name].append(figures)
shutil.rmtree(untranslated)

if not samples[ANCHOR]:
    print(f"no run of the anchor succeeded; no table")
    sys.exit(1)
median = {name: [statistics.median(s[i] for s in runs_) for i in range(len(COLUMNS))]
          for name, runs_ in samples.items() if runs_}
anchor = median[ANCHOR]
print(f"{'program':<20}{'runs':>5}" + "".join(f"{c:>14}" for c in COLUMNS))
for name in programs:
    if name not in median:
        print(f"{name:<20}{0:>5}  no successful run")
        continue
    print(f"{name:<20}{len(samples[name]):>5}" +
          "".join(f"{v:>8.1f} {v / a:>4.2f}x" if i < 3 else f"{v:>8.0f} {v / a:>4.2f}x"
                  for i, (v, a) in enumerate(zip(median[name], anchor))))
frame, pss = median["qiuzuidashu"][1] / anchor[1], median["qiuzuidashu"][4] / anchor[4]
print(f"targets against the same pixels: first frame {frame:.2f}x (at most 1.05x), "
      f"PSS {pss:.2f}x (at most 1.10x)")
if "no Qt translation" in median:
    print(f"Qt's translation costs {median['qiuzuidashu'][1] - median['no Qt translation'][1]:+.1f} ms "
          f"to the first frame and {median['qiuzuidashu'][4] - median['no Qt translation'][4]:+.0f} KiB "
          "of PSS")
