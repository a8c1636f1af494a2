#!/usr/bin/env bash
# Builds Kalvero and starts it on its default index (or the index file given).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
kalvero_install "${KALVERO_PACKAGES[@]}"
kalvero_build build -DKALVERO_TESTS=OFF
exec ./build/kalvero "$@"
