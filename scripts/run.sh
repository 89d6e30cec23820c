#!/usr/bin/env bash
# Builds Marrowfin and starts it, optionally on a file.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" -j "$(nproc)"
if [ -x "$root/build/bin/marrowfin" ]; then
  exec "$root/build/bin/marrowfin" "$@"
fi
# Until the editor window is built, the command-line companion stands in for it.
if [ $# -gt 0 ]; then
  exec "$root/build/bin/marrowfin-cli" info "$1"
fi
exec "$root/build/bin/marrowfin-cli"
