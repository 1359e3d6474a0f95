#!/bin/sh
# Runs each fuzz target for a set time.
#
#   run-fuzz.sh <fuzz build folder> <seconds per target>
#
# Each target starts from the committed seed corpus and kept regressions and
# from what earlier runs in the same build folder found (<build>/corpus/), so
# that runs add up. A crashing input is written to <build>/crashes/<target>/;
# keep it as a regression test by copying it to fuzz/regressions/<target>/.
set -eu

build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
status=0
# The page needs fonts, and the fonts a GUI application without a display.
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

for target in cheque_file quick_print; do
    corpus="$build/corpus/$target"
    crashes="$build/crashes/$target"
    log="$build/fuzz_$target.log"
    mkdir -p "$corpus" "$crashes"
    inputs="$corpus $here/corpus/$target"
    [ -d "$here/regressions/$target" ] && inputs="$inputs $here/regressions/$target"

    # shellcheck disable=SC2086
    if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
        -artifact_prefix="$crashes/" $inputs >"$log" 2>&1; then
        runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")
        echo "fuzz_$target: ${runs:-?} inputs in $seconds s, no failure"
    else
        status=1
        echo "fuzz_$target: FAILED (log: $log)"
        grep -v '^#' "$log" | tail -40
        echo "Keep the input as a regression test: cp $crashes/<file> fuzz/regressions/$target/"
    fi
done
exit $status
