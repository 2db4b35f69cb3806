# Debian packages the program and its checks need, and the helper that installs the missing
# ones. Sourced by scripts/run, scripts/test and bench/run.

# Building and running the program.
QZDS_RUN_PACKAGES=(
    g++ cmake ninja-build pkgconf
    qt6-base-dev libicu-dev libxcb1-dev
    fonts-arphic-ukai fonts-wqy-microhei
)

# Everything scripts/test exercises on top of that.
QZDS_TEST_PACKAGES=(
    "${QZDS_RUN_PACKAGES[@]}"
    libgtest-dev
    clang libclang-rt-14-dev clang-tidy clang-format
    xvfb xauth xdotool x11-utils imagemagick openbox wmctrl
    desktop-file-utils appstream appstream-compose dpkg-dev file locales
    debhelper lintian devscripts man-db autopkgtest g++-aarch64-linux-gnu
    dbus at-spi2-core python3 python3-pyatspi
    fcitx5 fcitx5-frontend-qt6
    python3-xlib icewm
)

# Installs whichever of the named packages are not installed yet; does nothing when all are.
# Runs apt-get directly as root, through sudo otherwise.
qzds_ensure_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing missing Debian packages: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}
