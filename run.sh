#!/usr/bin/env bash
# Installs what is missing, builds and starts Vorblin Cascade.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
vorblin_install_missing

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target vorblin
exec build/vorblin "$@"
