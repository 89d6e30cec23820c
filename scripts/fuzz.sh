#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for SECONDS
# (default 30), seeded from a copy of the image corpus beside the checkout and from small
# PNG, HEIC and WebP files made here by other programs.
#   scripts/fuzz.sh [SECONDS]
# Findings (crash-*, leak-*, oom-*, timeout-*) are left in build-fuzz/findings/NAME/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
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
