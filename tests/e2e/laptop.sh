#!/bin/sh
# Runs an end-to-end test process in a mount namespace of its own, where
# /sys/class/power_supply and /proc/meminfo are files of the test's: Wine
# reads the battery and the free memory from them, so the driver can put
# the program on a laptop (tests/e2e/laptop.h). Every Wine process started
# inside, the program under test included, sees the same files.
#
# The folder starts as a machine without a battery and a copy of the real
# meminfo. Where no namespace can be made (not root, no mount namespaces),
# the command runs as it is and TESSARIL_LAPTOP_UNAVAILABLE says why.
set -u

case ${TESSARIL_LAPTOP:-} in
  ?*) exec "$@" ;;  # already inside one
esac

dir=$(mktemp -d "${TMPDIR:-/tmp}/tessaril-laptop.XXXXXX") || exit 125
trap 'rm -rf "$dir"' EXIT INT TERM
mkdir "$dir/power_supply"
cat /proc/meminfo >"$dir/meminfo" 2>/dev/null

bind='mount --bind "$0/power_supply" /sys/class/power_supply &&
      mount --bind "$0/meminfo" /proc/meminfo'
if why=$(unshare -m sh -c "$bind" "$dir" 2>&1); then
  TESSARIL_LAPTOP=$dir unshare -m sh -c "$bind"' && exec "$@"' "$dir" "$@"
else
  TESSARIL_LAPTOP_UNAVAILABLE="no mount namespace for a fake battery and free memory here ($(
    printf '%s' "$why" | head -n 1))" "$@"
fi
