#!/bin/sh
# Runs each fuzz target for a set time, on every core.
#
#   run-fuzz.sh <fuzz build folder> <seconds per target> [workers]
#
# Each target runs as one worker per core (or as many as given), all sharing
# one corpus: each takes up what the others found as it runs. The workers
# start from the committed seed corpus and kept regressions and from what
# earlier runs in the same build folder found (<build>/corpus/), so that runs
# add up. A crashing input is written to <build>/crashes/<target>/; keep it
# as a regression test by copying it to fuzz/regressions/<target>/.
set -eu

build=$1
seconds=$2
workers=${3:-$(nproc)}
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
# It also records where each block was allocated, thirty calls deep: for
# the many small blocks Qt allocates to shape a text, that was a fifth of an
# input's time. One call deep still names the function that allocated; for
# the whole stack, run the target on the kept input with
# ASAN_OPTIONS=malloc_context_size=30.
export ASAN_OPTIONS="quarantine_size_mb=64:malloc_context_size=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# libFuzzer's final statistic `name` in the log `log`.
final_stat() { sed -n "s/^stat::$1: *\([0-9]*\).*/\1/p" "$2"; }

for target in cheque_file quick_print register_values; do
    corpus="$build/corpus/$target"
    crashes="$build/crashes/$target"
    mkdir -p "$corpus" "$crashes"
    inputs="$corpus $here/corpus/$target"
    [ -d "$here/regressions/$target" ] && inputs="$inputs $here/regressions/$target"

    # Each worker writes what it finds into the first folder and reads the
    # others' finds from there. libFuzzer's leak check after each input is
    # off: the page's measures kept for later inputs (as the program keeps
    # them) leave most inputs with more allocated than freed, and libFuzzer
    # ran each of those again, counting it twice. LeakSanitizer still looks
    # for leaks when each worker ends.
    pids=""
    worker=1
    while [ "$worker" -le "$workers" ]; do
        # shellcheck disable=SC2086
        "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -max_len=4096 -detect_leaks=0 -print_final_stats=1 \
            -artifact_prefix="$crashes/" $inputs >"$build/fuzz_$target.$worker.log" 2>&1 &
        pids="$pids $!"
        worker=$((worker + 1))
    done
    failed=""
    worker=1
    for pid in $pids; do
        wait "$pid" || failed="$failed $worker"
        worker=$((worker + 1))
    done

    if [ -z "$failed" ]; then
        # libFuzzer's final statistics: inputs run and their rate over the
        # whole run, added up over the workers, with each worker's rate; the
        # most memory one worker held; and the machine's load over the last
        # minute, since the rate falls as other work shares the cores.
        inputs_run=0 rate=0 rates="" peak=0
        worker=1
        while [ "$worker" -le "$workers" ]; do
            log="$build/fuzz_$target.$worker.log"
            inputs_run=$((inputs_run + $(final_stat number_of_executed_units "$log")))
            worker_rate=$(final_stat average_exec_per_sec "$log")
            rate=$((rate + worker_rate))
            rates="${rates:+$rates + }$worker_rate"
            worker_peak=$(final_stat peak_rss_mb "$log")
            [ "$worker_peak" -gt "$peak" ] && peak=$worker_peak
            worker=$((worker + 1))
        done
        [ "$workers" -eq 1 ] && split="1 worker" || split="$workers workers: $rates"
        echo "fuzz_$target: $inputs_run inputs in $seconds s, $rate inputs/s ($split)," \
            "peak $peak MB resident per worker, load $(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo unknown)" \
            "on $(nproc) cores, no failure"
    else
        status=1
        for worker in $failed; do
            log="$build/fuzz_$target.$worker.log"
            echo "fuzz_$target: FAILED in worker $worker (log: $log)"
            grep -v '^#' "$log" | tail -40
        done
        echo "Keep the input as a regression test: cp $crashes/<file> fuzz/regressions/$target/"
    fi
done
exit $status
