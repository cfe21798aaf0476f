#!/usr/bin/env bash
# Runs the README's test command, ./dev.sh test, as root in a fresh Debian root made with
# mmdebstrap, as on a new machine of that release: dev.sh must install everything it needs itself.
#   scripts/test_in_fresh_debian.sh [SUITE [DEV_SH_ARGUMENTS...]]
# SUITE is trixie (Debian 13) by default; other arguments run another dev.sh command instead of
# test, for example `scripts/test_in_fresh_debian.sh trixie fuzz 10`.
# Needs root (chroot, mounts) and Debian's mmdebstrap; installs it when it is missing.
#
# The root holds only what mmdebstrap's apt variant puts in (Essential packages and apt). It is
# made once and kept outside the clone, under a name keyed by the suite, mmdebstrap's options, the
# packages added and the revision of this recipe (bump recipe_revision when the steps below change
# what the root holds):
#   ${XDG_CACHE_HOME:-$HOME/.cache}/frustum/debian-<suite>-<hash>
# It is made in a scratch folder and moved into place only when complete. Each run works on a copy
# of it, which is deleted afterwards, so every run starts from the same fresh root. The packages
# that dev.sh downloads are kept beside it (apt-archives-<suite>) and reused by the next run.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/.." && pwd)"

suite="${1:-trixie}"
dev_sh_arguments=("${@:2}")
[ ${#dev_sh_arguments[@]} -gt 0 ] || dev_sh_arguments=(test)
recipe_revision=1
# Packages added to the apt variant: none, as on the most minimal install.
root_packages=()
mmdebstrap_options=(--variant=apt --components=main --format=directory)
[ ${#root_packages[@]} -eq 0 ] || mmdebstrap_options+=("--include=$(IFS=,; echo "${root_packages[*]}")")

if [ "$(id -u)" -ne 0 ]; then
  echo "$0: must run as root (it mounts and uses chroot)" >&2
  exit 1
fi
source "$here/install_missing.sh"
install_missing mmdebstrap debian-archive-keyring

key="$(printf '%s\n' "$recipe_revision" "$suite" "${mmdebstrap_options[@]}" | sha256sum | cut -c1-12)"
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/frustum"
root="$cache_root/debian-$suite-$key"
archives="$cache_root/apt-archives-$suite"
mkdir -p "$cache_root" "$archives/partial"

if [ -x "$root/usr/bin/apt-get" ]; then
  echo "Debian $suite: using the cached root $root" >&2
else
  started=$SECONDS
  scratch="$(mktemp -d "$cache_root/.debian-$suite.XXXXXX")"
  echo "Making a Debian $suite root in $scratch" >&2
  if ! mmdebstrap --quiet "${mmdebstrap_options[@]}" "$suite" "$scratch/root" >&2; then
    rm -rf "$scratch"
    echo "$0: mmdebstrap could not make the $suite root" >&2
    exit 1
  fi
  # Roots of the same suite made by an older recipe are of no further use.
  find "$cache_root" -maxdepth 1 -name "debian-$suite-*" -exec rm -rf {} +
  mv -T "$scratch/root" "$root"
  rmdir "$scratch"
  echo "Debian $suite root made in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s" >&2
fi

run="$(mktemp -d "$cache_root/.run-$suite.XXXXXX")"
trap 'rm -rf "$run"' EXIT
cp -a "$root/." "$run/"
cp /etc/resolv.conf "$run/etc/resolv.conf"
# The clone as it is, without build folders or anything else git ignores.
mkdir "$run/frustum"
(cd "$repo" && git ls-files -z --cached --others --exclude-standard |
  tar --null -T - -cf - | tar -xf - -C "$run/frustum")

# The mounts live in a mount namespace of their own and vanish with it, even when the run is
# interrupted. /tmp is the machine's own, so that the X servers that tests start inside and outside
# the root see each other's lock files and never take the same display number (the network, and
# with it X's abstract sockets, is shared). A clean environment, as a fresh login would have.
started=$SECONDS
status=0
unshare --mount --propagation private -- bash -euc '
  run=$1 archives=$2
  shift 2
  mount -t proc proc "$run/proc"
  mount --rbind /sys "$run/sys"
  mount --rbind /dev "$run/dev"
  mount --bind /tmp "$run/tmp"
  mount --bind "$archives" "$run/var/cache/apt/archives"
  exec chroot "$run" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "chown _apt:root /var/cache/apt/archives/partial && cd /frustum && ./dev.sh \"\$@\" &&
      apt-get autoclean -qq" bash "$@"
' bash "$run" "$archives" "${dev_sh_arguments[@]}" || status=$?
echo "./dev.sh ${dev_sh_arguments[*]} in a fresh Debian $suite root: exit status $status after" \
  "$(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s" >&2
exit "$status"
