# Debian packages the program and its checks need, and the helper that installs the missing
# ones, on Debian 12 and 13 alike. Sourced by scripts/run, scripts/test and bench/run.

# Building and running the program.
QZDS_RUN_PACKAGES=(
    build-essential cmake ninja-build pkgconf
    qt6-base-dev libicu-dev libxcb1-dev
    fonts-arphic-ukai fonts-wqy-microhei qt6-translations-l10n
)

# Everything scripts/test exercises on top of that. CLANG_RUNTIME stands for the sanitizer and
# fuzzer runtimes of the release's clang, whose package name carries its version (14 on Debian
# 12, 19 on Debian 13).
QZDS_TEST_PACKAGES=(
    "${QZDS_RUN_PACKAGES[@]}"
    libgtest-dev qt6-base-private-dev
    clang CLANG_RUNTIME clang-tidy clang-format
    xvfb xauth xdotool x11-utils imagemagick openbox wmctrl
    desktop-file-utils appstream appstream-compose dpkg-dev file locales
    debhelper lintian devscripts man-db autopkgtest g++-aarch64-linux-gnu
    dbus at-spi2-core python3 python3-pyatspi
    fcitx5 fcitx5-frontend-qt6
    python3-xlib icewm metacity fluxbox xfwm4 mutter xwayland
)

# The runtime package of the clang the release has (installed, or else to be installed);
# nothing while apt knows no clang yet.
qzds_clang_runtime() {
    local depends version
    depends=$(dpkg-query -W -f='${Depends}' clang 2>/dev/null ||
        apt-cache show --no-all-versions clang 2>/dev/null | sed -n 's/^Depends: //p')
    version=$(grep -o -m 1 'clang-[0-9][0-9]*' <<<"$depends" | head -n 1)
    [ -n "$version" ] && echo "libclang-rt-${version#clang-}-dev"
}

qzds_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Installs whichever of the named packages are not installed yet; does nothing when all are.
# Runs apt-get directly as root, through sudo otherwise.
qzds_ensure_packages() {
    local missing=() package runtime=false
    for package in "$@"; do
        if [ "$package" = CLANG_RUNTIME ]; then
            runtime=true
            package=$(qzds_clang_runtime) || { missing+=(CLANG_RUNTIME); continue; }
        fi
        qzds_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    if $runtime; then
        # Now that apt knows the release's clang.
        runtime=$(qzds_clang_runtime) || { echo "this release has no clang package" >&2; return 1; }
        missing=("${missing[@]/#CLANG_RUNTIME/$runtime}")
    fi
    echo "Installing missing Debian packages: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}
