#!/usr/bin/env bash
# Creates the machine's settings file, as an installer would, when it is missing: the
# key that holds the event name, with an empty event name, readable and writable by
# every user of the machine. An existing file is left as it is.
# Usage: tools/lay-settings.sh [SETTINGS-FILE]   (default /etc/jigtally-2008/registry.ini)
set -euo pipefail
file="${1:-/etc/jigtally-2008/registry.ini}"
[ -e "$file" ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ] && [ ! -w "$(dirname "$(dirname "$file")")" ]; then sudo="sudo"; fi
$sudo mkdir -p "$(dirname "$file")"
printf '%s\n%s\n' '[SOFTWARE\Jigtally Software\Jigtally 2008\0.1.0.0]' 'company=""' | $sudo tee "$file" >/dev/null
$sudo chmod 0666 "$file"
