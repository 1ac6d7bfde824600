#!/usr/bin/env bash
# Installs what Jigtally needs, builds it, lays the system tables into the data folder
# when they are missing, and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJIGTALLY_TESTS=OFF -DJIGTALLY_BENCH=OFF
cmake --build build
tools/lay-data.sh build/share/jigtally/data >/dev/null
if [ -x tools/lay-settings.sh ]; then tools/lay-settings.sh; fi
exec build/src/app/jigtally
