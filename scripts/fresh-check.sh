#!/usr/bin/env bash
# Runs commands the way a new user meets the project: as root, in a
# throw-away minimal Debian 12 tree (mmdebstrap --variant=apt bookworm) that
# holds a clone of the committed HEAD and nothing else.  Each COMMAND (one
# shell command line, default: each command the README's "Two commands"
# section gives) gets a tree of its own, so a missing install step fails.
#
# usage: scripts/fresh-check.sh [--data DIR] [COMMAND...]
#   --data DIR  make DIR readable, read-only, in the tree as ../shared/data
#               beside the clone (where the tests look for the official
#               model files, in its wmm/ and igrf/)
#
# Prints each command's exit status and wall time.  Exit status: 0 every
# command passed; 1 a command failed; 2 bad usage, not root, or no tree could
# be made; 3 the Debian mirror could not be reached (not a test failure);
# 129/130/143 hung up, interrupted or terminated.  The base tree is cached in
# /var/tmp/norvane-fresh-check (built in well under a minute); every command
# starts from a clean overlay of it, and every mount and process in it is gone
# when this script ends.
set -euo pipefail
cd "$(dirname "$0")/.."

me=fresh-check
usage() { echo "usage: $0 [--data DIR] [COMMAND...]" >&2; exit 2; }
data=
while (($#)); do
  case $1 in
    --data) (($# >= 2)) || usage
      [[ -d $2 ]] || { echo "$me: --data $2: no such directory" >&2; exit 2; }
      data=$(realpath "$2"); shift 2 ;;
    --) shift; break ;;
    -*) usage ;;
    *) break ;;
  esac
done
if [[ $(id -u) != 0 ]]; then
  echo "$me: must run as root: it builds a Debian tree, mounts it and" \
    "chroots into it" >&2
  exit 2
fi
commands=("$@")
if ((${#commands[@]} == 0)); then
  # The README is the one home of the two commands: indented lines in its
  # "Two commands" section that start with "bash", without their comments.
  mapfile -t commands < <(sed -n '/^## Two commands/,/^## /{
    s/^    \(bash [^#]*[^ #]\).*/\1/p }' README.md)
  ((${#commands[@]})) || { echo "$me: no commands in README.md" >&2; exit 2; }
fi

repo=$(git rev-parse --show-toplevel)
head=$(git rev-parse HEAD)
[[ -z $(git status --porcelain) ]] ||
  echo "$me: note: checking the committed HEAD; uncommitted changes are left out" >&2

top=/var/tmp/norvane-fresh-check
mkdir -p "$top"

# apt's error lines (also in mmdebstrap's log) for a mirror it could not
# reach; only these, so that a test's own output never reads as one.
unreachable='^[EW]: (Failed to fetch|.*(Temporary failure resolving|Could not '
unreachable+='resolve|Unable to connect|Could not connect|Connection failed|'
unreachable+='Connection timed out|Network is unreachable|No route to host))'
apt_unreachable() {  # apt_unreachable LOG: prints apt's words, if it said so
  grep -E -m 5 "$unreachable" "$1" | sed 's/^/    /' | grep . >&2
}
network_failure() {  # network_failure WHAT: says the mirror was out of reach
  echo "$me: NETWORK: $1: the Debian mirror could not be reached; this is" \
    "not a test failure" >&2
  exit 3
}

command -v mmdebstrap >/dev/null || {
  echo "$me: installing mmdebstrap" >&2
  { apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -qq mmdebstrap arch-test; } >"$top/install.log" 2>&1 ||
    { apt_unreachable "$top/install.log" &&
        network_failure "installing mmdebstrap"
      cat "$top/install.log" >&2; exit 2; }
}

# This machine's Debian sources, so the tree uses the mirror reachable here.
sources=
for file in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list; do
  [[ -s $file ]] && { sources=$file; break; }
done
key=$(cat ${sources:+"$sources"} /dev/null | sha256sum | cut -c1-12)
base=$top/base-$key

# Runs hold the lock shared while they use the base; building it takes the
# lock alone, so no run ever sees half a base.
exec 9>"$top/lock"
if [[ ! -d $base ]]; then
  flock -x 9
  if [[ ! -d $base ]]; then
    echo "$me: building the minimal Debian 12 base tree in $base" >&2
    rm -rf "$base.tmp"
    if ! mmdebstrap --variant=apt bookworm "$base.tmp" ${sources:+"$sources"} \
        >"$top/base.log" 2>&1; then
      apt_unreachable "$top/base.log" &&
        network_failure "building the base tree"
      tail -n 20 "$top/base.log" >&2
      echo "$me: building the base tree failed (log: $top/base.log)" >&2
      exit 2
    fi
    mv "$base.tmp" "$base"
  fi
fi
flock -s 9

run=
root=
# Ends every process whose root is the tree (a wineserver, say), then
# unmounts everything in it and removes the run's layers.
cleanup() {
  [[ -n $run ]] || return 0
  local pass p found
  for pass in 1 2 3 4 5 6 7 8 9 10; do
    found=0
    for p in /proc/[0-9]*; do
      case $(readlink "$p/root" 2>/dev/null) in
        "$root" | "$root"/*) kill -9 "${p#/proc/}" 2>/dev/null && found=1 ;;
      esac
    done
    ((found)) || break
    sleep 0.2
  done
  umount -R "$root" 2>/dev/null || umount -R -l "$root" 2>/dev/null || true
  if grep -qF " $run/" /proc/self/mountinfo; then
    echo "$me: could not unmount everything under $run; left in place" >&2
  else
    rm -rf --one-file-system "$run"
  fi
  run=
}
trap cleanup EXIT
trap 'echo "$me: interrupted" >&2; cleanup; exit 130' INT
trap 'echo "$me: terminated" >&2; cleanup; exit 143' TERM
trap 'echo "$me: hung up" >&2; cleanup; exit 129' HUP

# Sets up a fresh tree: overlay, system mounts, the clone and the data.
make_tree() {
  run=$(mktemp -d "$top/run.XXXXXX")
  root=$run/root
  mkdir "$run/upper" "$run/work" "$root"
  mount -t overlay overlay \
    -o "lowerdir=$base,upperdir=$run/upper,workdir=$run/work" "$root"
  mount -t proc proc "$root/proc"
  mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys"
  mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"
  mount -t tmpfs -o size=8g tmpfs "$root/tmp"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  mkdir -p "$root/root/work"
  git clone -q --no-hardlinks "$repo" "$root/root/work/norvane"
  git -C "$root/root/work/norvane" checkout -q --detach "$head"
  if [[ -n $data ]]; then
    local to=$root/root/work/shared/data
    mkdir -p "$to"
    mount --bind "$data" "$to" && mount -o remount,bind,ro "$to"
  fi
}

minutes() { printf '%d min %02d s' $(($1 / 60)) $(($1 % 60)); }

results=()
failed=0 offline=0
for command in "${commands[@]}"; do
  make_tree
  echo "$me: $(git log -1 --format='%h %s' "$head")" >&2
  echo "$me: running in a pristine Debian 12 tree: $command" >&2
  start=$(date +%s)
  # In the background, so that a signal to this script is handled at once;
  # the command gets back the SIGINT and SIGQUIT that bash ignores there, and
  # no descriptor beside its standard ones, as in a new user's shell.
  (set -o pipefail
   chroot "$root" /usr/bin/env -i --default-signal=INT,QUIT \
     HOME=/root LANG=C.UTF-8 TERM=dumb \
     PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
     bash -c 'for fd in /proc/$$/fd/*; do fd=${fd##*/}
                ((fd < 3)) || [[ ! -e /proc/$$/fd/$fd ]] || eval "exec $fd>&-"
              done
              cd /root/work/norvane && eval "$1"' fresh-check "$command" \
     </dev/null 2>&1 |
     tee "$run/log") &
  rc=0
  wait $! || rc=$?
  took=$(minutes $(($(date +%s) - start)))
  if ((rc == 0)); then
    verdict=passed
  elif apt_unreachable "$run/log"; then
    verdict="NETWORK: the Debian mirror could not be reached"
    offline=1
  else
    verdict=FAILED
    failed=1
  fi
  results+=("$(printf '%-28s exit %3d  %s  %s' "$command" "$rc" "$took" "$verdict")")
  echo "$me: $command: exit $rc after $took: $verdict" >&2
  cleanup
  ((offline == 0)) || break
done

echo "$me: results in pristine Debian 12 trees ($(git log -1 --format=%h "$head")):"
printf '  %s\n' "${results[@]}"
((failed == 0)) || exit 1
if ((offline)); then
  network_failure "apt in the tree (later commands not run)"
fi
