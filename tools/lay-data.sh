#!/usr/bin/env bash
# Lays the system tables and the example competition into the user's data folder, as an
# installer would: only files that are missing are copied, a user's tables are never
# overwritten. Usage: tools/lay-data.sh SYSTEM-TABLES-FOLDER
set -euo pipefail
source="$1"
docs="$(xdg-user-dir DOCUMENTS 2>/dev/null || true)"
if [ -z "$docs" ] || [ "$docs" = "$HOME" ]; then docs="$HOME/Documents"; fi
data="$docs/Jigtally 2008/data"
mkdir -p "$data"
for f in "$source"/*; do
    name="$(basename "$f")"
    # Look for the table without regard to letter case, as the program does.
    if ! find "$data" -maxdepth 1 -iname "$name" | grep -q .; then
        cp "$f" "$data/$name"
    fi
done
echo "$data"
