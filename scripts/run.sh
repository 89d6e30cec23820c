#!/usr/bin/env bash
# Builds Marrowfin and starts the editor, optionally on files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" --writer
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" -j "$(nproc)"
exec "$root/build/bin/marrowfin" "$@"
