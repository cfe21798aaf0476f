# Sourced by dev.sh and windows/build-qt.sh: install_missing PACKAGE... installs, with apt, those of
# the Debian packages that are not installed yet, as root or through sudo. What apt says goes to
# standard error, so that a script's standard output stays its own.
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  "${sudo[@]}" apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
}
