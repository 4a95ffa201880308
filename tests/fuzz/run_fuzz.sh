#!/bin/sh
# Runs the fuzz target over the corpus kept in the repository, then on inputs it
# derives from it: RUNS of them (default 5000, a few seconds) or, given a time in
# seconds as FUZZ_SECONDS, for that long. New inputs go to a scratch folder, so the
# repository's corpus stays as committed.
#
#   run_fuzz.sh FUZZ_TARGET CORPUS [RUNS]
set -eu
target=$1
corpus=$2
runs=${3:-5000}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if [ -n "${FUZZ_SECONDS:-}" ]; then
    limit="-max_total_time=$FUZZ_SECONDS"
else
    limit="-runs=$runs"
fi
QT_QPA_PLATFORM=offscreen "$target" "$limit" -max_len=65536 -rss_limit_mb=2048 \
    -timeout=10 "$scratch" "$corpus"
