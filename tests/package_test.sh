#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks it as its users meet it: its files, their
# modes and its dependencies; then, unpacked into a throwaway root (never into this system),
# vesk-calc, the MIME type, and the window started from that root, read-only and writable, with a
# home of its own: the start-up makes the model folder, a save lands there, the file named on the
# command line is the model shown.
# Run as: package_test.sh BUILD_DIR VERSION. Gives 77 (skipped) when this machine can make the
# root neither read-only nor run the window as a user who cannot write it.
set -euo pipefail

fail() {
    echo "package_test: $*" >&2
    exit 1
}

# The saved heifer below: the file's values, the defaults of a load for the keys it lacks.
saved_heifer=$'[Data]\r\nTipo=2\r\nConsumo=10\r\nPeso=380\r\nLactacion=1\r\nLeche=15\r\nGrasa=3.5\r\nProteina=3.20000004768372\r\nDIM=60\r\nTemperatura=20\r\nGDP=0\r\nADG=0.800000011920929\r\nFreshenning=0\r\n'

# window MODELS COMMAND...: under X, starts COMMAND with the heifer's file, presses "Guardar
# modelo" and checks that the model named after the file is saved into the folder MODELS.
window() {
    local models=$1
    shift
    "$@" "$input" &
    local pid=$!
    local wid
    wid=$(timeout 30 xdotool search --sync --limit 1 --onlyvisible --name '^Vesk: ') ||
        fail "no window"
    [ -d "$models" ] || fail "the start-up made no $models"
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    # The fixed layout: the second button of the right-hand toolbar, under the menu bar and the
    # 42 pixels of the top toolbar, in a client area 489 pixels high.
    local tries
    for tries in 1 2 3 4 5; do
        xdotool mousemove --window "$wid" $((WIDTH - 65)) $((HEIGHT - 489 + 42 + 57)) click 1
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            [ -f "$models/novilla.VM2" ] && break 2
            sleep 0.2
        done
    done
    cmp -s <(printf '%s' "$saved_heifer") "$models/novilla.VM2" ||
        fail "$models/novilla.VM2 holds $(cat -A "$models/novilla.VM2" 2>&1), not the heifer"
    # Ctrl+S is "Salir".
    xdotool windowfocus --sync "$wid" key ctrl+s
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        fail "the window did not close"
    fi
    wait "$pid" || fail "vesk ended with $?"
}

if [ "${1-}" = --window ]; then
    shift
    input=$1
    shift
    window "$@"
    exit 0
fi

build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A user without privileges, if the window runs as one, reaches the root and its input.
chmod 755 "$scratch"

# No umask at all: a mode left to the umask of whoever builds shows as writable by others.
(cd "$build" && umask 0 && cpack -G DEB -B "$scratch/out") >"$scratch/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
deb=$scratch/out/vesk_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb: $(ls "$scratch/out")"

# Every file with its mode and owner; every folder open to read and writable by root only.
contents=$(dpkg-deb --contents "$deb")
files=$(awk '$1 !~ /^d/ { print $1, $2, $6, $7, $8 }' <<<"$contents" | sed 's/ *$//' | sort -k 3)
expected=$(
    {
        echo "lrwxrwxrwx root/root ./usr/bin/vesk -> ../lib/vesk/vesk"
        echo "lrwxrwxrwx root/root ./usr/bin/vesk-calc -> ../lib/vesk/vesk-calc"
        echo "-rwxr-xr-x root/root ./usr/lib/vesk/vesk"
        echo "-rwxr-xr-x root/root ./usr/lib/vesk/vesk-calc"
        for file in lib/vesk/vesk-calc.ini lib/vesk/vesk.ini share/applications/vesk.desktop \
            share/doc/vesk/copyright share/icons/hicolor/scalable/apps/vesk.svg \
            share/metainfo/vesk.metainfo.xml share/mime/packages/vesk.xml; do
            echo "-rw-r--r-- root/root ./usr/$file"
        done
        for size in 16 22 24 32 48 64 128 256 512; do
            echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/${size}x$size/apps/vesk.png"
        done
    } | sort -k 3
)
[ "$files" = "$expected" ] || fail "the package holds
$files
not
$expected"
folders=$(awk '$1 ~ /^d/ && ($1 != "drwxr-xr-x" || $2 != "root/root")' <<<"$contents")
[ -z "$folders" ] || fail "folders with other modes or owners:
$folders"

# Depends: the linked libraries as shlibdeps found them, each with its version; the library
# opened at run time, from its shlibs entry; the fonts.
depends=$(dpkg-deb --field "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | sort | tr '\n' ' ')
[[ "$names" =~ ^fonts-liberation2\ libc6\ libgcc-s1\ libqt6core6\ libqt6gui6\ libqt6printsupport6\ libqt6widgets6\ libstdc\+\+6\ libxlsxwriter[0-9]+\ $ ]] ||
    fail "Depends names $names"
unversioned=$(tr ',' '\n' <<<"$depends" | grep -v -e '(>= ' -e fonts-liberation2 || true)
[ -z "$unversioned" ] || fail "Depends without a version: $unversioned"

root=$scratch/root
dpkg-deb -x "$deb" "$root"

[ "$("$root/usr/bin/vesk-calc")" = "$("$build/vesk-calc")" ] ||
    fail "the packaged vesk-calc reports otherwise than the built one"

# The MIME type as the desktop's database takes it: *.vm2 in any case, a kind of text.
XDG_DATA_DIRS="$root/usr/share" update-mime-database "$root/usr/share/mime" 2>"$scratch/mime.log" ||
    fail "update-mime-database failed: $(cat "$scratch/mime.log")"
[ ! -s "$scratch/mime.log" ] || fail "update-mime-database: $(cat "$scratch/mime.log")"
grep -qx '50:application/x-vesk-model:\*\.vm2' "$root/usr/share/mime/globs2" ||
    fail "globs2: $(cat "$root/usr/share/mime/globs2")"
grep -qx 'application/x-vesk-model text/plain' "$root/usr/share/mime/subclasses" ||
    fail "subclasses: $(cat "$root/usr/share/mime/subclasses")"

# The user's home, in a Spanish session, and the heifer to open.
home=$scratch/home
mkdir -p "$home/.config" "$scratch/runtime" "$scratch/in"
chmod 700 "$scratch/runtime"
printf 'XDG_DOCUMENTS_DIR="$HOME/Documentos"\n' >"$home/.config/user-dirs.dirs"
input=$scratch/in/novilla.vm2
printf '[Data]\r\nTipo=2\r\nPeso=380\r\nADG=0.8\r\n' >"$input"

# The root read-only in a mount namespace of its own; else, for root, a user who cannot write it.
mount_read_only='mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && exec "$@"'
if unshare --mount true 2>/dev/null; then
    read_only=(unshare --mount sh -c "$mount_read_only" "$root")
elif unshare --map-root-user --mount true 2>/dev/null; then
    read_only=(unshare --map-root-user --mount sh -c "$mount_read_only" "$root")
elif [ "$(id -u)" -eq 0 ]; then
    chown -R 65534:65534 "$home" "$scratch/runtime"
    read_only=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
    echo "package_test: skipped: no mount namespace and no other user to run the window as" >&2
    exit 77
fi

run_window() {
    env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$scratch/runtime" \
        xvfb-run --auto-servernum --server-args="-ac -screen 0 1024x768x24" \
        "$here/package_test.sh" --window "$input" "$@"
}

# Installed: the program folder takes no models; they go into the user's documents.
run_window "$home/Documentos/Vesk/Modelos" "${read_only[@]}" "$root/usr/bin/vesk"
[ ! -e "$root/usr/lib/vesk/Modelos" ] || fail "a model folder was made in the installed tree"
# Portable: a program folder that its user may write keeps its own Modelos.
chown -R "$(id -u):$(id -g)" "$home" "$scratch/runtime"
run_window "$root/usr/lib/vesk/Modelos" "$root/usr/bin/vesk"
