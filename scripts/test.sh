#!/usr/bin/env bash
# Builds Kalvero with its tests, tools and benchmarks and runs every test
# (offscreen, on a private D-Bus session for the player tests).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
kalvero_install "${KALVERO_PACKAGES[@]}" libgtest-dev libgmock-dev libtag1-dev dbus
kalvero_build -DKALVERO_TESTS=ON
export QT_QPA_PLATFORM=offscreen
cd build
dbus-run-session -- ctest --output-on-failure -j"$(nproc)"
