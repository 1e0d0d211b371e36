#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while on a copy of its seed corpus.
#   scripts/fuzz.sh [seconds per target] [target ...]
# Prints, per target, the executions and the coverage libFuzzer reached; a crash stops the
# target and leaves its reproducer in build-fuzz/artifacts/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
"$root/scripts/install-deps.sh"
if ! dpkg-query -W -f='${Status}' clang libclang-rt-14-dev 2>/dev/null | grep -c "install ok installed" | grep -q 2; then
    sudo_cmd=""; [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
    $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang libclang-rt-14-dev </dev/null
fi
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DZELVO_FUZZ=ON -DZELVO_TESTS=OFF -DZELVO_WINDOW=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
mkdir -p "$build/artifacts"
export ZELVO_FUZZ_CATALOGUE="$root/data/catalogue.dat"
status=0
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    [ -d "$root/fuzz/corpus/$t" ] && cp -n "$root/fuzz/corpus/$t"/* "$corpus"/ 2>/dev/null || true
    log="$build/$t.log"
    if "$build/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="$build/artifacts/$t-" "$corpus" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
    fi
    summary=$(grep -E "^#[0-9]+.*(DONE|cov:)" "$log" | tail -1 || true)
    echo "$t: $result ${summary}"
done
exit $status
