#!/bin/sh
# Runs the source package's autopkgtests (debian/tests) against the .deb
# the package tests built, as Debian's CI runs them on an installed package.
#   DebianAutopkgtest.sh PACKAGES_DIR DSC DEB
# The runner is autopkgtest's `null` one: the tests run on this machine
# itself, which installs the .deb and the tests' dependencies. The other
# runners need a testbed made first (a chroot, container or VM image with
# the Debian archive at hand), minutes this suite has not got; CI runs as
# root on a machine made for the one run, where the null runner changes
# nothing that lasts. Elsewhere it runs only as root and only where
# brindlemoor is not already installed, and it purges the package after,
# so that the machine is left as it was found.
set -eu
skip=77
packages=$1
dsc=$packages/$2
deb=$packages/$3

if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: autopkgtest's null runner installs the package, which needs root"
    exit $skip
fi
if dpkg-query -W -f='${Status}' brindlemoor 2>/dev/null | grep -q "install ok installed"; then
    echo "skipped: brindlemoor is installed here already, and the test would replace it"
    exit $skip
fi

output=$(mktemp -d)
trap 'dpkg --purge brindlemoor >/dev/null 2>&1 || true; rm -rf "$output"' EXIT
# 0: every test passed; 8: no test ran, which is a failure here too
status=0
autopkgtest --output-dir="$output/results" "$deb" "$dsc" -- null || status=$?
if [ $status -ne 0 ]; then
    echo "autopkgtest failed with status $status"
    exit 1
fi
