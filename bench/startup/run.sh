#!/usr/bin/env bash
# Starts the program 11 times under Xvfb and prints the median time from its start to
# its main window mapped, over the last 10 starts (the first one fills the file cache).
# Each start has a home of its own where the alias exists, so no first-start message.
# Usage: bench/startup/run.sh [BUILD-DIR] [STARTS]     (default build-rel, 10)
set -euo pipefail
build="$(cd "${1:-build-rel}" && pwd)"
starts="${2:-10}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
data="$home/Documents/Jigtally 2008/data"
mkdir -p "$data" "$home/.config/jigtally"
cp "$build"/share/jigtally/data/* "$data/"
printf '[aliases]\n1\\driver=DBASE\n1\\name=jigtally 2008\n1\\path=%s\nsize=1\n' "$data" \
    >"$home/.config/jigtally/aliases.ini"
HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/bench/startup/bench_startup" "$build/src/app/jigtally" "$starts"
