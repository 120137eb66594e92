#!/bin/sh
# tools/fresh-debian.sh [--keep] [--ref REF] [--skip-test] DIR
# Tries the README's promise on a clean Debian 12: a debootstrap chroot of bookworm (made once in
# DIR/base and kept; each trial starts from a copy of it in DIR/root, --keep reuses the last
# one with what it installed), the repository cloned into it at REF (default: the commit checked
# out here), then, as root in the chroot, `make run` until the game's first frame shows in an
# X server of the host, `make test`, and the package installed with apt and purged again.
# Times go to DIR/summary.txt, the logs to DIR/*.log. Runs as root (chroot, mount).
set -eu
keep=no test=yes ref=""
while [ $# -gt 1 ]; do
    case $1 in
        --keep) keep=yes ;;
        --skip-test) test=no ;;
        --ref) ref=$2; shift ;;
        *) break ;;
    esac
    shift
done
[ $# -eq 1 ] || { echo "usage: $0 [--keep] [--ref REF] [--skip-test] DIR" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "$0: run as root (debootstrap, chroot and mount need it)" >&2; exit 2; }
mkdir -p "$1"
dir=$(cd "$1" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
[ -n "$ref" ] || ref=$(git -C "$source" rev-parse HEAD)
root=$dir/root
start=$(date +%s)
say() { echo "[fresh-debian $(($(date +%s) - start))s] $*"; }
since() { awk -v from="$1" -v now="$(date +%s.%N)" 'BEGIN { printf "%.1f", now - from }'; }

"$source/tools/install-deps.sh" trial

if [ ! -f "$dir/base/etc/debian_version" ]; then
    # From the mirror that the host's apt sources name for bookworm.
    mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '
        /^URIs:/ { uri = $2 }
        /^Suites:/ && / bookworm( |$)/ { print uri; exit }
        /^deb / { sub(/ \[[^]]*\]/, ""); if ($3 == "bookworm") { print $2; exit } }')
    [ -n "$mirror" ] || { echo "$0: the host's apt sources name no mirror of bookworm" >&2; exit 1; }
    say "debootstrap bookworm from $mirror into $dir/base (a few minutes)"
    rm -rf "$dir/base"
    debootstrap bookworm "$dir/base" "$mirror" > "$dir/debootstrap.log" 2>&1 ||
        { tail -20 "$dir/debootstrap.log"; exit 1; }
fi

# Mounts left by a trial that was killed: removing the tree must not reach into /dev or /sys.
unmount_all() {
    awk -v root="$root/" 'index($2, root) == 1 { print $2 }' /proc/mounts | sort -r |
        while read -r m; do umount -l "$m"; done
}
unmount_all
xvfb=""
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    # Whatever the trial left running inside the chroot holds its mounts.
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] && kill -9 "${proc#/proc/}" 2>/dev/null || true
    done
    unmount_all
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "$keep" = no ] || [ ! -d "$root" ]; then
    say "a clean copy of the base system in $root"
    [ -z "$(awk -v root="$root/" 'index($2, root) == 1' /proc/mounts)" ] || { echo "$root has mounts" >&2; exit 1; }
    rm -rf "$root"
    cp -a "$dir/base" "$root"
fi
# The host's apt sources (with their keyrings) and name server, so that apt reaches the same mirrors.
cp /etc/resolv.conf "$root/etc/resolv.conf"
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] || continue
    cp "$list" "$root$list"
    for key in $(sed -n 's/^Signed-By: *//p; s/.*signed-by=\([^] ]*\).*/\1/p' "$list"); do
        [ -f "$key" ] && mkdir -p "$root$(dirname "$key")" && cp "$key" "$root$key"
    done
done
# sources.list.d replaces what debootstrap wrote, when the host has one.
[ -f /etc/apt/sources.list ] || [ -z "$(ls /etc/apt/sources.list.d/*.sources 2>/dev/null)" ] ||
    rm -f "$root/etc/apt/sources.list"
for m in /proc /sys /dev /dev/pts /dev/shm /tmp/.X11-unix; do
    mkdir -p "$root$m"
    case $m in
        /proc) mount -t proc proc "$root$m" ;;
        /dev/shm) mount -t tmpfs -o mode=1777 shm "$root$m" ;;
        *) mkdir -p "$m"; mount --bind "$m" "$root$m" ;;
    esac
done

in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

say "cloning $ref of $source into /root/quenmarsh; installing git and make, the README's first step"
rm -rf "$root/root/quenmarsh"
git clone -q "$source" "$root/root/quenmarsh"
git -C "$root/root/quenmarsh" checkout -q "$ref"
in_root sh -c 'apt-get update -q && apt-get install -y -q git make' > "$dir/prerequisites.log" 2>&1 ||
    { tail -20 "$dir/prerequisites.log"; exit 1; }

# The game opens in an Xvfb of the host, whose socket the chroot shares.
start_xvfb() {
    exec 3> "$dir/xvfb-display"
    Xvfb -displayfd 3 -noreset -screen 0 960x540x24 -nolisten tcp 2>/dev/null &
    xvfb=$!
    exec 3>&-
    for _ in $(seq 100); do [ -s "$dir/xvfb-display" ] && break; sleep 0.1; done
    display=:$(cat "$dir/xvfb-display")
}
stop_xvfb() {
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=""
}

say "make run (installs the build dependencies, builds, starts the game); log in $dir/make-run.log"
start_xvfb
run_start=$(date +%s.%N)
setsid chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 DISPLAY="$display" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    sh -c 'cd /root/quenmarsh && exec make run' > "$dir/make-run.log" 2>&1 &
run=$!
window="" shown="" last=$(date +%s)
while kill -0 "$run" 2>/dev/null; do
    if [ -z "$window" ] && DISPLAY=$display xdotool search --name '^Quenmarsh$' > /dev/null 2>&1; then
        window=$(since "$run_start")
        say "the game's window is up after $window s"
    fi
    # The first frame that is not all black: the intro's emblem fading in.
    if [ -n "$window" ] && [ "$(import -display "$display" -window root -depth 8 rgb:- 2>/dev/null |
                                tr -d '\000' | head -c 1 | wc -c)" -eq 1 ]; then
        shown=$(since "$run_start")
        break
    fi
    if [ $(($(date +%s) - last)) -ge 30 ]; then
        last=$(date +%s)
        say "make run: $(tail -1 "$dir/make-run.log" | cut -c1-100)"
    fi
    sleep 0.2
done
kill -- -"$run" 2>/dev/null || true
wait "$run" 2>/dev/null || true
stop_xvfb
[ -n "$shown" ] || { tail -30 "$dir/make-run.log"; say "make run ended before the game showed a frame"; exit 1; }
say "make run: first frame after $shown s"
echo "make run to the first frame: $shown s (window after $window s)" > "$dir/summary.txt"

if [ "$test" = yes ]; then
    say "make test; log in $dir/make-test.log"
    test_start=$(date +%s)
    { in_root sh -c 'cd /root/quenmarsh && make test' 2>&1; echo $? > "$dir/make-test.status"; } |
        tee "$dir/make-test.log"
    status=$(cat "$dir/make-test.status")
    test_time=$(($(date +%s) - test_start))
    echo "make test: $test_time s, $([ $status -eq 0 ] && echo passed || echo FAILED)" >> "$dir/summary.txt"
    say "make test took $test_time s"
fi

# The package as a player installs it, then purged (`make test` has built it already).
deb=$(cd "$root/root/quenmarsh" && ls build/quenmarsh_*_amd64.deb 2>/dev/null | head -1)
if [ -z "$deb" ]; then
    say "make deb; log in $dir/make-deb.log"
    in_root sh -c 'cd /root/quenmarsh && make deb' > "$dir/make-deb.log" 2>&1 || true
    deb=$(cd "$root/root/quenmarsh" && ls build/quenmarsh_*_amd64.deb 2>/dev/null | head -1)
fi
if [ -n "$deb" ]; then
    say "apt install ./$deb, then apt purge quenmarsh"
    in_root sh -c "cd /root/quenmarsh && apt-get install -y -q ./$deb" > "$dir/package.log" 2>&1
    result=ok
    # Every file and link the package holds is there, its links lead somewhere (the font's into
    # the font package).
    for path in $(in_root dpkg -L quenmarsh); do
        [ -e "$root$path" ] || { result="$path missing after install"; break; }
    done
    # The installed game, played for a moment and left with Escape, keeps the progress.
    rm -f "$root/root/.config/qmprogress.dat"
    start_xvfb
    setsid chroot "$root" /usr/bin/env -i HOME=/root DISPLAY="$display" /usr/games/quenmarsh \
        >> "$dir/package.log" 2>&1 &
    game=$!
    for _ in $(seq 300); do
        DISPLAY=$display xdotool search --name '^Quenmarsh$' > /dev/null 2>&1 && break
        sleep 0.1
    done
    # The intro reads no events: the key waits for the game loop.
    DISPLAY=$display xdotool mousemove 400 300 key Escape
    for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
    kill -- -"$game" 2>/dev/null && result="the installed game did not end on Escape"
    stop_xvfb
    [ -f "$root/root/.config/qmprogress.dat" ] || [ "$result" != ok ] || result="the installed game saved no progress"
    # Its files and links, and its own folders (the shared ones, /usr/share/icons..., stay).
    files=$(in_root dpkg -L quenmarsh | while read -r path; do
        [ -d "$root$path" ] && [ ! -L "$root$path" ] && [ "${path#*quenmarsh}" = "$path" ] || echo "$path"
    done)
    in_root apt-get purge -y -q quenmarsh >> "$dir/package.log" 2>&1
    for path in $files; do
        [ ! -e "$root$path" ] && [ ! -L "$root$path" ] || { result="$path left after purge"; break; }
    done
    [ -f "$root/root/.config/qmprogress.dat" ] || [ "$result" != ok ] || result="the purge took the progress"
    echo "package installed with apt and purged: $result" >> "$dir/summary.txt"
else
    result="make deb left no build/quenmarsh_*_amd64.deb"
    echo "package: $result" >> "$dir/summary.txt"
fi
say "done"
cat "$dir/summary.txt"
[ "${status:-0}" -eq 0 ] && [ "$result" = ok ]
