#!/usr/bin/env bash
# Counts non-blank lines that are not // comments in the C++ sources (*.cpp, *.h): product
# code under src/, tests under tests/, and the tests as a share of the product.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { find "$1" \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | grep -v '^\s*$' | grep -cv '^\s*//'; }
product=$(count src)
tests=$(count tests)
echo "product lines (src/)  $product"
echo "test lines (tests/)   $tests"
echo "tests / product       $((100 * tests / product)) %  (at most 50 %)"
