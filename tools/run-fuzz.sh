#!/usr/bin/env bash
# Builds the ParseInteger fuzz target natively with clang's libFuzzer, in a folder of
# its own, and runs it for ten million inputs (or the count given), starting from
# numbers at the edges of the 32-bit range. An input on which ParseInteger and its
# model differ stops the run and is left in build/fuzz.
set -euo pipefail
repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
cd "$repo"
bash tools/setup.sh </dev/null
mkdir -p build/fuzz/seeds build/fuzz/corpus
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -Isrc \
    tests/fuzz/ParseIntegerFuzz.cpp src/job/JobSettings.cpp src/runtime/Text.cpp -o build/fuzz/parse_integer_fuzz
for seed in 2147483647 -2147483648 ' +0100' '$FFFFFFFF' '-0x80000000' 'X7fffffff'; do
    printf '%s' "$seed" >"build/fuzz/seeds/$(printf '%s' "$seed" | md5sum | cut -c1-8)"
done
rm -f build/fuzz/crash-*
status=0
start=$SECONDS
build/fuzz/parse_integer_fuzz -runs="${1:-10000000}" -max_len=64 -artifact_prefix=build/fuzz/ \
    build/fuzz/corpus build/fuzz/seeds 2>build/fuzz/log.txt || status=$?
grep -E '^(Done |==[0-9]+==|SUMMARY)' build/fuzz/log.txt || true
executions=$(grep -oE "^#[0-9]+" build/fuzz/log.txt | tail -1 | tr -d "#")
echo "executions: ${executions:-0}, time: $((SECONDS - start)) s," \
     "findings: $(find build/fuzz -maxdepth 1 -name 'crash-*' | wc -l)"
exit "$status"
