#!/usr/bin/env bash
# Builds Kalvero with its tests, tools and benchmarks and runs every test
# (offscreen, on a private D-Bus session for the player tests).
#
# --sanitize: builds once more in build-sanitize/ with AddressSanitizer and
# UndefinedBehaviorSanitizer (no benchmarks) and runs the whole suite there,
# leaks included; any report fails its test.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ordner=build
optionen=(-DKALVERO_TESTS=ON)
case "${1:-}" in
"") ;;
--sanitize)
    ordner=build-sanitize
    optionen+=(-DKALVERO_SANITIZE=ON)
    # The build runs the test programs too (to list their tests).
    export ASAN_OPTIONS="detect_leaks=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ;;
*)
    echo "usage: scripts/test.sh [--sanitize]" >&2
    exit 3
    ;;
esac

# Test-only programs: the desktop's own tools check the desktop entry and the
# index file's type; strace makes real faults in tool processes; mutagen
# writes ID3v2.4 tags as other taggers do; FAT and exFAT images are mounted
# through FUSE; acl and attr give files ACLs and extended attributes.
kalvero_install "${KALVERO_PACKAGES[@]}" libgtest-dev libgmock-dev libtag1-dev dbus \
    desktop-file-utils shared-mime-info libxml2-utils strace python3-mutagen \
    fuse3 fusefat dosfstools exfat-fuse exfatprogs acl attr
kalvero_build "$ordner" "${optionen[@]}"
export QT_QPA_PLATFORM=offscreen
cd "$ordner"
dbus-run-session -- ctest --output-on-failure -j"$(nproc)"
