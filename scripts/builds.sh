#!/usr/bin/env bash
# Configures and builds Tallywick in every ordinary configuration, with GCC and with clang, each in
# its own folder under builds/, warnings as errors; prints one line per build and fails if any
# build failed or warned. Each build's output is kept in builds/NAME.log.
# Usage: builds.sh [NAME ...]   (all builds when none is named; names as in the list it prints,
#        e.g. gcc-Release clang-sanitize). BUILD_JOBS sets the parallel jobs (default 2);
#        BUILD_TESTING=OFF builds without the tests, as packagers build.
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/builds"
jobs="${BUILD_JOBS:-2}"
types=(Debug Release RelWithDebInfo MinSizeRel None-dpkg sanitize)
all=()
for compiler in gcc clang; do
    for type in "${types[@]}"; do
        all+=("$compiler-$type")
    done
done
names=("$@")
[ "${#names[@]}" -gt 0 ] || names=("${all[@]}")

failed=0
mkdir -p "$out"
for name in "${names[@]}"; do
    case " ${all[*]} " in
    *" $name "*) ;;
    *) echo "builds: unknown build '$name' (known: ${all[*]})" >&2; exit 2 ;;
    esac
    compiler=${name%%-*} type=${name#*-}
    case $compiler in
    gcc) cxx=g++ ;;
    clang) cxx=clang++ ;;
    esac
    dir="$out/$name" log="$out/$name.log"
    args=(-S "$root" -B "$dir" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
    env=()
    [ -z "${BUILD_TESTING:-}" ] || args+=(-DBUILD_TESTING="$BUILD_TESTING")
    case $type in
    sanitize) args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYWICK_SANITIZE=ON) ;;
    None-dpkg)
        # As a Debian package build configures: build type None and dpkg-buildflags' flags, with
        # the preprocessor's flags given to the compiler as debhelper does.
        export DEB_BUILD_MAINT_OPTIONS=hardening=+all
        args+=(-DCMAKE_BUILD_TYPE=None)
        env=(CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
            LDFLAGS="$(dpkg-buildflags --get LDFLAGS)")
        unset DEB_BUILD_MAINT_OPTIONS
        ;;
    *) args+=(-DCMAKE_BUILD_TYPE="$type") ;;
    esac
    # A fresh folder each time, so the flags of an earlier run cannot linger in its cache.
    rm -rf "$dir"
    start=$(date +%s)
    {
        env "${env[@]}" cmake "${args[@]}" && cmake --build "$dir" -j "$jobs"
    } >"$log" 2>&1
    status=$?
    seconds=$(($(date +%s) - start))
    warnings=$(grep -c 'warning:' "$log")
    version=$("$cxx" -dumpfullversion 2>/dev/null || "$cxx" -dumpversion)
    if [ "$status" -eq 0 ] && [ "$warnings" -eq 0 ]; then
        result="built"
    else
        result="FAILED (status $status, $warnings warnings; see builds/$name.log)"
        failed=$((failed + 1))
    fi
    printf '%-22s %-7s %-7s %4dm%02ds  %s\n' "$name" "$cxx" "$version" $((seconds / 60)) \
        $((seconds % 60)) "$result"
done
[ "$failed" -eq 0 ] || { echo "builds: $failed of ${#names[@]} builds failed"; exit 1; }
