#!/bin/sh
# Builds the libFuzzer target for GenerateNewName with the address and
# undefined-behaviour sanitizers. Not part of the normal build or of CI.
#
#   fuzz/build.sh [output-folder]         (default: build-fuzz next to fuzz/)
#   mkdir -p corpus && cp fuzz/corpus/* corpus/
#   build-fuzz/generate_new_name_fuzzer -dict=fuzz/rule.dict -max_len=512 -max_total_time=600 corpus/
#
# fuzz/corpus holds the seeds: rules that once froze or stressed the engine.
#
# Needs clang++ (14) and its runtime libraries (Debian: libclang-rt-14-dev).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${1:-"$root/build-fuzz"}
cxx=${CXX:-clang++-14}
mkdir -p "$out"

sources=""
for f in "$root"/core/rule/*.cpp; do
  case "$f" in
    */rule_page.cpp) ;;  # the preview texts
    *) sources="$sources $f" ;;
  esac
done
# The platform layer (the file system base class and the text helpers the
# engine calls).
for f in "$root"/platform/*.cpp; do
  sources="$sources $f"
done

# shellcheck disable=SC2086
"$cxx" -std=c++20 -g -O1 -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" \
  "$here/generate_new_name_fuzzer.cpp" $sources -licuuc \
  -o "$out/generate_new_name_fuzzer"
echo "built $out/generate_new_name_fuzzer"
