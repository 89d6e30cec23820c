#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for SECONDS
# (default 30), seeded from a copy of the image corpus beside the checkout.
#   scripts/fuzz.sh [SECONDS]
# Findings (crash-*, leak-*, oom-*, timeout-*) are left in build-fuzz/findings/NAME/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
corpus=${MARROWFIN_CORPUS:-../shared/corpus}
if [ ! -f "$corpus/expected.tsv" ]; then
  echo "fuzz.sh: the image corpus ($corpus) is absent; nothing to seed from, skipping"
  exit 0
fi
bash scripts/setup.sh

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DMARROWFIN_FUZZ=ON -DMARROWFIN_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_all -j "$(nproc)"

# The seeds are a scratch copy: libFuzzer adds what it finds to its corpus folder.
seeds=build-fuzz/seeds
rm -rf "$seeds"
mkdir -p "$seeds"
find "$corpus" -type f ! -name '*.tsv' ! -name '*.md' ! -name '*.txt' -exec cp {} "$seeds"/ \;

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in build-fuzz/bin/fuzz_*; do
  name=$(basename "$target")
  work=build-fuzz/corpus/$name
  findings=build-fuzz/findings/$name
  mkdir -p "$work" "$findings"
  echo "== $name for ${seconds}s =="
  "$target" "$work" "$seeds" -max_total_time="$seconds" -rss_limit_mb=3072 -timeout=30 -max_len=131072 \
    -artifact_prefix="$findings/" -print_final_stats=1 || status=1
done
exit $status
