#!/bin/sh
# Builds the Debian package from a build tree, checks it with lintian, installs it with apt as a
# user would, runs both installed programs, then purges it and checks that nothing it brought
# stays behind. Installing touches /usr, so this runs only as root and only when no reelcraft
# package is there already; otherwise it reports itself skipped (exit 77).
#     sh tests/package/debian-package.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)

if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installing the package needs root"
    exit 77
fi
state=$(dpkg-query -W -f '${db:Status-Status}' reelcraft 2>/dev/null || true)
if [ -n "$state" ] && [ "$state" != not-installed ]; then
    echo "skipped: a reelcraft package is already on this machine ($state)"
    exit 77
fi

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() {
    echo "[$(($(date +%s) - started)) s] $*"
}

work=$(mktemp -d /tmp/reelcraft-package.XXXXXX)
# apt reads a local package as its own unprivileged user.
chmod 755 "$work"
installed=no
cleanup() {
    status=$?
    if [ "$installed" = yes ]; then
        apt-get purge -y -q reelcraft >"$work/purge-on-exit.log" 2>&1 ||
            { cat "$work/purge-on-exit.log" >&2; status=1; }
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

started=$(date +%s)
# ---- build ----------------------------------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack could not build the package"; }
set -- "$work"/out/reelcraft_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || { cat "$work/cpack.log"; fail "cpack made no reelcraft_*.deb"; }
deb=$1
step "built $(basename "$deb")"

dpkg-deb -f "$deb"
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|; s|/$||' | grep -v '^$' >"$work/paths"

# Only the two programs: no test, benchmark or stand-in host editor.
programs=$(grep '^/usr/bin/' "$work/paths" | sort | tr '\n' ' ')
[ "$programs" = "/usr/bin/reelcraft /usr/bin/reelcraft-cli " ] ||
    fail "the package's programs are: $programs"
for file in /usr/share/doc/reelcraft/copyright /usr/share/doc/reelcraft/changelog.gz \
    /usr/share/applications/reelcraft.desktop /usr/share/man/man1/reelcraft.1.gz; do
    grep -qx "$file" "$work/paths" || fail "the package lacks $file"
done
grep -q '^/usr/share/metainfo/.*\.metainfo\.xml$' "$work/paths" || fail "the package has no AppStream metadata"

depends=$(dpkg-deb -f "$deb" Depends)
for library in 'libqt6gui6(t64)?' 'libqt6svg6(t64)?' 'libcurl4(t64)?' 'libc-ares2'; do
    echo "$depends" | grep -Eq "(^|, )$library( |,|$)" ||
        fail "Depends names no $library: $depends"
done

step "lintian"
# lintian exits non-zero on an error; warnings are printed for the log.
lintian -I "$deb" || fail "lintian found errors"

# ---- install --------------------------------------------------------------------------------
step "apt-get install"
installed=yes
apt-get install -y -q --no-install-recommends "$deb" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "apt-get could not install the package"; }
[ "$(dpkg-query -W -f '${db:Status-Status}' reelcraft)" = installed ] || fail "dpkg does not list reelcraft as installed"
appstreamcli validate --no-net $(grep '^/usr/share/metainfo/' "$work/paths") ||
    fail "the installed AppStream metadata is not valid"
# dpkg's trigger taught the desktop's MIME database the project type.
if command -v update-mime-database >/dev/null; then
    [ -e /usr/share/mime/application/x-reelcraft-project.xml ] || fail "the MIME database does not know project files"
fi

step "running the installed programs"
# The programs run from /usr with settings and data of their own.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" TMPDIR="$work/tmp"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$TMPDIR"
unset QT_QPA_PLATFORM

/usr/bin/reelcraft-cli --help >"$work/help.txt" || fail "reelcraft-cli --help failed"
grep -q 'make' "$work/help.txt" || fail "reelcraft-cli --help does not describe make"

mkdir "$work/pictures"
convert -size 64x48 gradient:navy-gold "$work/pictures/first.jpg"
convert -size 64x48 xc:seagreen -fill white -draw 'circle 32,24 32,8' "$work/pictures/second.gif"
show="$work/packaged-show.rcf"
/usr/bin/reelcraft-cli make "$show" "$work/pictures/first.jpg" "$work/pictures/second.gif" ||
    fail "reelcraft-cli make failed"
grep -q 'first\.jpg' "$show" && grep -q 'second\.gif' "$show" ||
    fail "the project names the two pictures: $(cat "$show")"

# The window opens the project and names it in its caption; SIGTERM closes it as a user would
# and the program ends cleanly. timeout bounds its life and passes the SIGTERM on.
window_check=$(cat <<'EOF'
timeout 60 /usr/bin/reelcraft "$1" >"$2/reelcraft.log" 2>&1 &
pid=$!
status=0
# xdotool ends with BadWindow when a window it reads closes meanwhile (the splash): ask again.
timeout 30 sh -c 'until xdotool search --sync --name "$0" >/dev/null 2>&1; do sleep 0.2; done' "$3" ||
    { echo "no window named $3 within 30 s"; status=1; }
kill -TERM "$pid"
wait "$pid" || { echo "the program ended with status $?"; status=1; }
exit "$status"
EOF
)
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "$window_check" sh "$show" "$work" 'packaged-show\.rcf' ||
    { cat "$work/reelcraft.log"; fail "the installed program did not show the project in a window"; }

# ---- purge ----------------------------------------------------------------------------------
step "apt-get purge"
apt-get purge -y -q reelcraft >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "apt-get purge failed"; }
installed=no
state=$(dpkg-query -W -f '${db:Status-Status}' reelcraft 2>/dev/null || true)
[ -z "$state" ] || [ "$state" = not-installed ] || fail "dpkg still lists reelcraft ($state)"

# Every file is gone; a folder that stays belongs to another package or holds others' files.
left=""
while read -r path; do
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        dpkg-query -S "$path" >/dev/null 2>&1 || [ -n "$(ls -A "$path")" ] || left="$left $path"
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left="$left $path"
    fi
done <"$work/paths"
[ -z "$left" ] || fail "left after purge:$left"
# The desktop's MIME database forgot the project type again.
[ ! -e /usr/share/mime/application/x-reelcraft-project.xml ] || fail "the MIME database still knows project files"

step "package built, checked, installed, run and purged"
