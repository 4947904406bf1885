#!/usr/bin/env bash
# Builds the benchmarks natively with optimisation and runs them. Each reports
# its time as a ratio against a floor measured in the same run, and fails when
# a ratio exceeds its limit.
set -euo pipefail
repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
cd "$repo"
bash tools/setup.sh </dev/null
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench -j2 --target job_bench
build/bench/bin/job_bench
