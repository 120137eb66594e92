#!/bin/sh
# tools/soak.sh RUNS BUILD_DIR...: the end-to-end tests of each build tree, RUNS times over,
# while busy processes at normal priority, one a core, keep the whole machine loaded: a verdict
# that depends on the machine's speed shows here. Tells each run's result and time, again
# together at the end, and fails if any run failed. The Debian package's test is left out: it
# plays no game, it builds one, niced, which this load only starves.
set -u
runs=$1; shift
stress-ng --cpu "$(nproc)" --quiet &
load=$!
trap 'kill $load 2>/dev/null; wait $load' EXIT
trap 'exit 130' INT TERM
told=""
failed=0
for tree in "$@"; do
    for run in $(seq "$runs"); do
        start=$(date +%s)
        if (cd "$tree" && ctest -L e2e -E '^e2e_package$' --output-on-failure --timeout 600); then
            result=passed
        else
            result=FAILED
            failed=1
        fi
        line="soak: $tree, run $run of $runs: $result in $(($(date +%s) - start)) s"
        echo "$line"
        told="$told$line
"
    done
done
printf '%s' "$told"
exit $failed
