#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs them, seeded from a copy of the
# image corpus beside the checkout, from small PNG, HEIC and WebP files made here by other
# programs and from small projects made by the project writer.
#   scripts/fuzz.sh [SECONDS]                        every target for SECONDS (default 30): CI
#   scripts/fuzz.sh --campaign SECONDS [TARGET...]   a long campaign of every (or the named)
#       target, one after the other, each for SECONDS; its corpus is kept between campaigns in
#       build-fuzz/campaign/NAME (or $MARROWFIN_FUZZ_CAMPAIGN/NAME) and minimised after each run.
# Both end with a summary per target: executions, executions a second, coverage and findings.
# Findings (crash-*, leak-*, oom-*, timeout-*) are left in build-fuzz/findings/NAME/.
set -euo pipefail
cd "$(dirname "$0")/.."
campaign=false
if [ "${1:-}" = --campaign ]; then
  campaign=true
  shift
fi
seconds=${1:-30}
shift || true
corpus=${MARROWFIN_CORPUS:-../shared/corpus}
bash scripts/setup.sh

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DMARROWFIN_FUZZ=ON -DMARROWFIN_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_all -j "$(nproc)"

# The seeds are a scratch copy: libFuzzer adds what it finds to its corpus folder.
seeds=build-fuzz/seeds
rm -rf "$seeds"
mkdir -p "$seeds"
if [ -f "$corpus/expected.tsv" ]; then
  find "$corpus" -type f ! -name '*.tsv' ! -name '*.md' ! -name '*.txt' -exec cp {} "$seeds"/ \;
else
  echo "fuzz.sh: the image corpus ($corpus) is absent; seeding from the made files only"
fi
# Small pictures of every photo format, with alpha, a colour profile, an animation and an
# EXIF orientation, so that each reader starts from files it accepts.
(
  cd "$seeds"
  convert -size 24x16 -seed 3 plasma:fractal -alpha set -channel A -fx 'i/w' +channel made-rgba.png
  convert made-rgba.png -alpha off -colors 16 -interlace PNG made-palette.png
  convert made-rgba.png -alpha off -colorspace gray -depth 16 made-grey16.png
  # TIFF layouts as other programs write them, small: corpus pages larger than the fuzz
  # targets' picture bound are refused before their layout is reached.
  convert made-rgba.png -depth 8 made-rgba.tif
  tiffcp -c lzw:2 made-rgba.tif made-lzw-predictor.tif
  tiffcp -p separate made-rgba.tif made-planar.tif
  tiffcp -t -w 16 -l 16 made-rgba.tif made-tiled.tif
  tiffcp -t -w 16 -l 16 -p separate -c lzw made-rgba.tif made-tiled-planar-lzw.tif
  convert made-rgba.png -alpha off -colorspace CMYK -depth 8 made-cmyk.tif
  convert made-rgba.png -alpha off -colorspace gray -depth 8 -compress lzw made-grey.tif
  convert made-rgba.png -alpha off -depth 8 -endian MSB made-big-endian.tif
  heif-enc -q 50 made-rgba.png -o made.heic >/dev/null
  cwebp -quiet made-rgba.png -o made-lossy.webp
  cwebp -quiet -lossless made-rgba.png -o made-lossless.webp
  convert -delay 10 made-palette.png made-rgba.png made-anim.gif && gif2webp -quiet made-anim.gif -o made-anim.webp
  /usr/bin/python3 -c "
from PIL import Image, ImageCms
im = Image.open('made-rgba.png').convert('RGB'); exif = Image.Exif(); exif[0x0112] = 6
srgb = ImageCms.ImageCmsProfile(ImageCms.createProfile('sRGB')).tobytes()
im.save('made-oriented.jpg', exif=exif, icc_profile=srgb); im.save('made-profile.png', icc_profile=srgb)"
)

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The formats whose structure a dictionary of their tags and markers helps the search through.
dictionary_for() {
  case "$1" in
    fuzz_tiff) echo fuzz/dict/tiff.dict ;;
    fuzz_project) echo fuzz/dict/project.dict ;;
    fuzz_gif) echo fuzz/dict/gif.dict ;;
    fuzz_jpeg) echo fuzz/dict/jpeg.dict ;;
  esac
}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for target in build-fuzz/bin/fuzz_*; do targets+=("$(basename "$target")"); done
fi
campaigns=${MARROWFIN_FUZZ_CAMPAIGN:-build-fuzz/campaign}
summary=build-fuzz/summary.txt
printf '%-14s %12s %10s %8s %9s\n' target executions "per second" coverage findings >"$summary"
status=0
for name in "${targets[@]}"; do
  target=build-fuzz/bin/$name
  if $campaign; then work=$campaigns/$name; else work=build-fuzz/corpus/$name; fi
  findings=build-fuzz/findings/$name
  mkdir -p "$work" "$findings"
  dictionary=$(dictionary_for "$name")
  echo "== $name for ${seconds}s =="
  log=build-fuzz/$name.log
  result=0
  "$target" "$work" "$seeds" -max_total_time="$seconds" -rss_limit_mb=3072 -timeout=30 -max_len=131072 \
    ${dictionary:+-dict="$dictionary"} -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || result=$?
  grep -E '^(#[0-9]+ *(INITED|DONE)|stat::(number_of_executed_units|average_exec_per_sec))|ERROR|SUMMARY' "$log" || true
  [ "$result" -eq 0 ] || status=1
  if $campaign; then
    # Keeps only the inputs that add coverage, so that the next campaign starts quickly.
    minimised=$work.min
    rm -rf "$minimised" && mkdir -p "$minimised"
    "$target" -merge=1 "$minimised" "$work" >/dev/null 2>&1 && rm -rf "$work" && mv "$minimised" "$work"
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  found=$(find "$findings" -type f | wc -l)
  printf '%-14s %12s %10s %8s %9s\n' "$name" "${executions:-?}" "${rate:-?}" "${coverage:-?}" "$found" >>"$summary"
done
cat "$summary"
exit $status
