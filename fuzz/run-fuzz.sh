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
# The page's own fonts and few others (fonts.conf says why).
export FONTCONFIG_FILE="$here/fonts.conf"
# AddressSanitizer keeps freed memory aside to catch its use, 256 MiB of it
# by default: the resident memory of a run grew to that, and every input
# paid for touching fresh pages. A quarter of it still holds what many
# inputs freed, far more than one input allocates.
export ASAN_OPTIONS="quarantine_size_mb=64${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

for target in cheque_file quick_print; do
    corpus="$build/corpus/$target"
    crashes="$build/crashes/$target"
    log="$build/fuzz_$target.log"
    mkdir -p "$corpus" "$crashes"
    inputs="$corpus $here/corpus/$target"
    [ -d "$here/regressions/$target" ] && inputs="$inputs $here/regressions/$target"

    # shellcheck disable=SC2086
    if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$crashes/" $inputs >"$log" 2>&1; then
        # libFuzzer's final statistics: inputs run, their rate over the
        # whole run, and the most memory the target held; and the machine's
        # load over the last minute, since the rate falls as other work
        # shares the cores.
        final_stat() { sed -n "s/^stat::$1: *\([0-9]*\).*/\1/p" "$log"; }
        echo "fuzz_$target: $(final_stat number_of_executed_units) inputs in $seconds s," \
            "$(final_stat average_exec_per_sec) inputs/s, peak $(final_stat peak_rss_mb) MB resident," \
            "load $(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo unknown) on $(nproc) cores, no failure"
    else
        status=1
        echo "fuzz_$target: FAILED (log: $log)"
        grep -v '^#' "$log" | tail -40
        echo "Keep the input as a regression test: cp $crashes/<file> fuzz/regressions/$target/"
    fi
done
exit $status
