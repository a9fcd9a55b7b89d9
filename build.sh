#!/usr/bin/env bash
# ./build.sh demo      install what is missing, build, start Tallowick on the demo folder
# ./build.sh test      install what is missing, build, run every test
# ./build.sh bench     install what is missing, build, run the benchmark
# ./build.sh sanitize  build with ASan+UBSan and run every test
# ./build.sh fuzz SECS build the fuzz targets with clang and run each for SECS seconds
# ./build.sh mame [FOLDER] install MAME if missing, build, set up a program folder (default ~/Tallowick) and start Tallowick
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev libgl-dev clang-format git)
# What the tests run besides Tallowick: the desktop entry's validator and GLib's launcher.
test_packages=(desktop-file-utils libglib2.0-bin)
want() {
    local missing=()
    for p in "$@"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p"); done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

# TALLOWICK_WERROR=ON (as CI sets it) makes every compiler warning an error.
configure_and_build() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLOWICK_WERROR="${TALLOWICK_WERROR:-OFF}" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}

# Every C++ file as the committed .clang-format lays it out; CI fails on a file that is off.
check_format() {
    local files
    files=$(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
    # shellcheck disable=SC2086
    clang-format --dry-run --Werror $files || {
        echo "Formatting is off in the files above: run clang-format -i on them." >&2
        return 1
    }
}

run_tests() {
    local dir=$1
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
}

case "${1:-}" in
demo)
    want "${packages[@]}"
    configure_and_build build
    cmake --build build --target demo-folder
    echo "Starting Tallowick in build/demo"
    STANDIN_SHOW=1 exec build/demo/tallowick
    ;;
test)
    want "${packages[@]}" "${test_packages[@]}"
    check_format
    configure_and_build build
    run_tests build
    ;;
bench)
    want "${packages[@]}"
    configure_and_build build
    cmake --build build --target tallowick-bench
    QT_QPA_PLATFORM=offscreen build/bench/tallowick-bench
    ;;
sanitize)
    want "${packages[@]}" "${test_packages[@]}"
    configure_and_build build-sanitize -DTALLOWICK_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-sanitize
    ;;
fuzz)
    seconds=${2:-60}
    want "${packages[@]}" clang libclang-rt-14-dev
    CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLOWICK_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j"$(nproc)" --target fuzz-targets
    fuzz/run.sh build-fuzz/fuzz "$seconds"
    ;;
mame)
    want "${packages[@]}" mame desktop-file-utils
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j"$(nproc)" --target tallowick tallowick-mame
    mameadapter/install-folder.sh build "${@:2}"
    ;;
*)
    sed -n '2,7p' "$0"
    exit 2
    ;;
esac
