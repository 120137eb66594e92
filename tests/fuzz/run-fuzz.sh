#!/bin/sh
# Builds the progress parser's fuzz target with clang and runs it for a bounded time.
# Usage: run-fuzz.sh CLANGXX SOURCE_DIR WORK_DIR. Exits 77 (skipped) when clang has no libFuzzer.
set -eu
clangxx=$1
source=$2
work=$3
flags="-std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"

mkdir -p "$work/progress-corpus"
printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' \
    > "$work/probe.cpp"
if ! "$clangxx" $flags "$work/probe.cpp" -o "$work/probe" 2>/dev/null; then
    echo "clang++ has no libFuzzer runtime: progress fuzzing skipped"
    exit 77
fi

"$clangxx" $flags -Wall -Wextra -I"$source/src" \
    "$source/src/progress/progress_text.cpp" "$source/tests/fuzz/progress_fuzz.cpp" -o "$work/progress_fuzz"

# New inputs go to the build folder's corpus; the committed seeds are only read.
exec "$work/progress_fuzz" -max_total_time=20 -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
    -dict="$source/tests/fuzz/progress.dict" -artifact_prefix="$work/" -print_final_stats=1 \
    "$work/progress-corpus" "$source/tests/fuzz/corpus"
