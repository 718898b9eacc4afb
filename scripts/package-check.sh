#!/usr/bin/env bash
# Builds the Debian packages of kqformat and checks them:
#
#   amd64    build/package-deb: a host build installed into /usr, packed
#            with cpack; the packages' contents and fields, the shared
#            library's SONAME and exported symbols; then the packages are
#            unpacked into a temporary prefix, examples/consumer is built
#            against it (find_package and pkg-config) and run, and the
#            unpacked kqfmt runs.
#   powerpc  build/package-ppc, only when the cross build directory
#            build/ppc exists (the cross set-up is done): the same packages
#            for the target, with a PowerPC shared library in them; the
#            consumer is cross-built against them and run under qemu-ppc.
#            kqfmt is packed only when the target's SQLite has been built
#            (scripts/target-sqlite.sh).
#
# Packages are left in build/packages/<arch>/. Ends with "N passed, N
# failed" and exits non-zero when a check failed. KQ_JOBS sets the
# parallelism (default 2).
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 1
jobs="${KQ_JOBS:-2}"
version="$(sed -n 's/^project(kqformat VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
major="${version%%.*}"
passed=0
failed=0
work="$(mktemp -d "${TMPDIR:-/tmp}/kq-package-check.XXXXXX")"
trap 'rm -rf "$work"' EXIT

ok() {
    echo "  ok: $*"
    passed=$((passed + 1))
}
fail() {
    echo "  FAILED: $*"
    failed=$((failed + 1))
}
# check DESCRIPTION COMMAND...: one check, passed when the command succeeds.
check() {
    local what="$1"
    shift
    if "$@" >"$work/check.log" 2>&1; then ok "$what"; else
        fail "$what"
        sed 's/^/    /' "$work/check.log" | head -20
    fi
}

# The exported interface: the formatter's public members, the trace
# extension and the fourteen comparison functions, as `nm --demangle` names
# them. Nothing of the platform: that is its own library.
expected_exports() {
    local vec="std::vector<kq_formatted_col_data_struct, std::allocator<kq_formatted_col_data_struct> >&"
    printf '%s\n' \
        "KQ_FORMAT_DATA::KQ_FORMAT_DATA()" \
        "KQ_FORMAT_DATA::KQ_FORMAT_DATA(KW_MASTER_TABLE*)" \
        "KQ_FORMAT_DATA::~KQ_FORMAT_DATA()" \
        "KQ_FORMAT_DATA::Set_master_table_pointer(KW_MASTER_TABLE*)" \
        "KQ_FORMAT_DATA::GetFormattedValue(KQ_TABLE_COPY*, KWTABLE*, $vec, $vec)" \
        "KQ_ColumnKindName(KQ_COLUMN_KIND)" \
        "KQ_TraceFormattedValue(KW_MASTER_TABLE*, KQ_TABLE_COPY*, KWTABLE*, $vec, $vec, KQ_FORMAT_TRACE&)"
    local f
    for f in AreEqual IsLessThan IsGreaterThan; do
        printf '%sFLOAT32(float, float)\n%sFLOAT64(double, double)\n' "$f" "$f"
    done
    for f in IsPositive IsNonZero IsZero EnsureNonZero; do
        printf '%sFLOAT32(float)\n%sFLOAT64(double)\n' "$f" "$f"
    done
}

# exports_match NM LIBRARY: the library's defined dynamic symbols are
# exactly the expected ones.
exports_match() {
    local nm="$1" lib="$2"
    diff <(expected_exports | LC_ALL=C sort -u) \
        <("$nm" -D --defined-only --demangle "$lib" | cut -d' ' -f3- | LC_ALL=C sort -u)
}

# has_files DEB PATH...: the package lists every path (dpkg-deb -c).
has_files() {
    local deb="$1" path
    shift
    local listing
    listing="$(dpkg-deb -c "$deb" | awk '{print $6}')"
    for path in "$@"; do
        grep -qxF "./$path" <<<"$listing" || {
            echo "$(basename "$deb") lacks $path"
            return 1
        }
    done
}

# lacks_files DEB PATTERN: no path of the package matches the pattern.
lacks_files() {
    ! dpkg-deb -c "$1" | awk '{print $6}' | grep -E "$2"
}

# field_is DEB FIELD VALUE / field_has DEB FIELD TEXT (dpkg-deb -f).
field_is() { [[ "$(dpkg-deb -f "$1" "$2")" == "$3" ]] || { dpkg-deb -I "$1"; return 1; }; }
field_has() { [[ "$(dpkg-deb -f "$1" "$2")" == *"$3"* ]] || { dpkg-deb -I "$1"; return 1; }; }

# build_packages DIR OUT [cmake options...]: configure, build, pack.
build_packages() {
    local dir="$1" out="$2"
    shift 2
    rm -rf "$out"
    mkdir -p "$out"
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX=/usr -DKQ_BUILD_TESTS=OFF "$@" >"$dir.configure.log" 2>&1 &&
        cmake --build "$dir" -j"$jobs" >"$dir.build.log" 2>&1 &&
        (cd "$dir" && cpack -G DEB -B "$out") >"$dir.cpack.log" 2>&1 &&
        rm -rf "$out/_CPack_Packages"  # cpack's staging area
}

# check_packages ARCH OUT MULTIARCH WITH_TOOL: contents and fields.
check_packages() {
    local arch="$1" out="$2" libdir="usr/lib/$3" with_tool="$4"
    local runtime="$out/libkqformat${major}_${version}_${arch}.deb"
    local dev="$out/libkqformat-dev_${version}_${arch}.deb"
    local tool="$out/kqfmt_${version}_${arch}.deb"
    check "$arch: runtime package holds the shared libraries" \
        has_files "$runtime" "$libdir/libkqformat.so.$version" "$libdir/libkqformat.so.$major" \
        "$libdir/libkqplatform_host.so.$version" "$libdir/libkqplatform_host.so.$major"
    check "$arch: runtime package holds no headers or development links" \
        lacks_files "$runtime" '(\.h|\.so|\.cmake|\.pc)$'
    check "$arch: development package holds headers, links, CMake package, pkg-config file" \
        has_files "$dev" usr/include/kqformat/kq_format_data.h \
        usr/include/kqformat/kq_float_compare.h usr/include/kqformat/kq_export.h \
        usr/include/kqformat/kq_format_trace.h usr/include/kqformat/kq_host_log.h \
        usr/include/kqformat/kw_table.h usr/include/kqformat/kq_units.h \
        usr/include/kqformat/kq_log.h usr/include/kqformat/kw_parse_sys_var.h \
        usr/include/kqformat/csys_date_time_format.h usr/include/kqformat/kq_host_table.h \
        "$libdir/libkqformat.so" "$libdir/libkqplatform_host.so" \
        "$libdir/cmake/kqformat/kqformatConfig.cmake" \
        "$libdir/cmake/kqformat/kqformatConfigVersion.cmake" \
        "$libdir/cmake/kqformat/kqformatTargets.cmake" "$libdir/pkgconfig/kqformat.pc"
    check "$arch: development package holds no library file itself" \
        lacks_files "$dev" '\.so\.'
    check "$arch: runtime package carries the copyright file" \
        has_files "$runtime" "usr/share/doc/libkqformat${major}/copyright"
    check "$arch: development package carries the copyright file" \
        has_files "$dev" usr/share/doc/libkqformat-dev/copyright
    check "$arch: maintainer address is not localhost" \
        bash -c "! dpkg-deb -f '$runtime' Maintainer | grep -q localhost"
    local deb
    for deb in "$runtime" "$dev"; do
        check "$arch: $(basename "$deb"): Architecture $arch" field_is "$deb" Architecture "$arch"
        check "$arch: $(basename "$deb"): Version $version" field_is "$deb" Version "$version"
    done
    check "$arch: runtime package depends on the C++ runtime" \
        field_has "$runtime" Depends libstdc++6
    check "$arch: development package depends on the runtime of this version" \
        field_has "$dev" Depends "libkqformat${major} (= $version)"
    if [[ "$with_tool" == yes ]]; then
        check "$arch: tool package holds kqfmt" has_files "$tool" usr/bin/kqfmt
        check "$arch: tool package holds the man page, the completion and the copyright file" \
            has_files "$tool" usr/share/man/man1/kqfmt.1 \
            usr/share/bash-completion/completions/kqfmt usr/share/doc/kqfmt/copyright
        check "$arch: tool package: Architecture $arch" field_is "$tool" Architecture "$arch"
        check "$arch: tool package depends on the runtime of this version" \
            field_has "$tool" Depends "libkqformat${major} (= $version)"
    fi
}

# unpack OUT DIR: every package of OUT extracted into DIR.
unpack() {
    local deb
    mkdir -p "$2"
    for deb in "$1"/*.deb; do dpkg-deb -x "$deb" "$2" || return 1; done
}

expected_consumer_output() {
    printf 'row 0: 212.0 \xc2\xb0F | On\nrow 1: -40.0 \xc2\xb0F | Off\n'
    printf 'mode: static pick list by check_if_static_picklist: On\ncomparisons: as expected\n'
}
export -f expected_consumer_output  # the pkg-config check runs in its own shell

# ---- amd64 ------------------------------------------------------------------
echo "==== amd64 packages (build/package-deb) ===="
out="$root/build/packages/amd64"
multiarch="$(gcc -print-multiarch)"
if build_packages "$root/build/package-deb" "$out"; then
    ok "amd64: configured, built and packed: $(cd "$out" && echo *.deb)"
    check_packages amd64 "$out" "$multiarch" yes

    prefix="$work/amd64"
    check "amd64: packages unpack (dpkg-deb -x)" unpack "$out" "$prefix"
    lib="$prefix/usr/lib/$multiarch/libkqformat.so.$version"
    check "amd64: SONAME is libkqformat.so.$major" \
        bash -c "readelf -d '$lib' | grep -F '(SONAME)' | grep -F '[libkqformat.so.$major]'"
    check "amd64: only the public interface is exported" exports_match nm "$lib"

    consumer="$work/consumer-amd64"
    check "amd64: examples/consumer configures and builds with find_package(kqformat)" \
        bash -c "cmake -S '$root/examples/consumer' -B '$consumer' -G Ninja \
                   -DCMAKE_PREFIX_PATH='$prefix/usr' && cmake --build '$consumer'"
    check "amd64: examples/consumer prints the formatted table" \
        diff <(expected_consumer_output) <("$consumer/kq_consumer")
    check "amd64: examples/consumer builds with pkg-config and prints the same" \
        bash -c "export PKG_CONFIG_PATH='$prefix/usr/lib/$multiarch/pkgconfig'
                 g++ -std=c++17 '$root/examples/consumer/main.cpp' -o '$work/consumer-pc' \
                     \$(pkg-config --cflags --libs kqformat) &&
                 LD_LIBRARY_PATH='$prefix/usr/lib/$multiarch' '$work/consumer-pc' |
                     diff <(expected_consumer_output) -"
    check "amd64: the unpacked kqfmt runs" \
        bash -c "'$prefix/usr/bin/kqfmt' explain '%d of N' --json | grep -q '\"formatter\": \"none\"'"
else
    fail "amd64: configure, build or cpack failed (logs: build/package-deb.*.log)"
    tail -20 "$root/build/package-deb.cpack.log" "$root/build/package-deb.build.log" 2>/dev/null
fi

# ---- powerpc ----------------------------------------------------------------
echo "==== powerpc packages (build/package-ppc) ===="
if [[ ! -d "$root/build/ppc" ]]; then
    echo "  skipped: no cross build directory build/ppc (run scripts/test-all.sh or set up the cross build)"
else
    out="$root/build/packages/powerpc"
    with_tool=no
    tools=OFF
    if [[ -f "$root/build/target-deps/sqlite/lib/libsqlite3.a" ]]; then
        with_tool=yes
        tools=ON
    else
        echo "  (no target SQLite in build/target-deps: kqfmt is not packed for powerpc)"
    fi
    if build_packages "$root/build/package-ppc" "$out" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-powerpc-linux-gnu.cmake" \
        -DKQ_BUILD_TOOLS="$tools"; then
        ok "powerpc: configured, built and packed: $(cd "$out" && echo *.deb)"
        check_packages powerpc "$out" powerpc-linux-gnu "$with_tool"

        prefix="$work/powerpc"
        check "powerpc: packages unpack (dpkg-deb -x)" unpack "$out" "$prefix"
        lib="$prefix/usr/lib/powerpc-linux-gnu/libkqformat.so.$version"
        check "powerpc: the library is a 32-bit big-endian PowerPC shared object" \
            bash -c "readelf -h '$lib' | grep -q 'Class: *ELF32' &&
                     readelf -h '$lib' | grep -q 'big endian' &&
                     readelf -h '$lib' | grep -q 'Machine: *PowerPC\$' &&
                     readelf -h '$lib' | grep -q 'Type: *DYN'"
        check "powerpc: SONAME is libkqformat.so.$major" \
            bash -c "readelf -d '$lib' | grep -F '(SONAME)' | grep -F '[libkqformat.so.$major]'"
        check "powerpc: only the public interface is exported" \
            exports_match powerpc-linux-gnu-nm "$lib"

        consumer="$work/consumer-powerpc"
        check "powerpc: examples/consumer cross-builds against the packages" \
            bash -c "cmake -S '$root/examples/consumer' -B '$consumer' -G Ninja \
                       -DCMAKE_TOOLCHAIN_FILE='$root/cmake/toolchain-powerpc-linux-gnu.cmake' \
                       -Dkqformat_DIR='$prefix/usr/lib/powerpc-linux-gnu/cmake/kqformat' &&
                     cmake --build '$consumer'"
        check "powerpc: examples/consumer prints the formatted table under qemu-ppc" \
            diff <(expected_consumer_output) \
            <(qemu-ppc -L /usr/powerpc-linux-gnu "$consumer/kq_consumer")
        if [[ "$with_tool" == yes ]]; then
            check "powerpc: the unpacked kqfmt runs under qemu-ppc" \
                bash -c "qemu-ppc -L /usr/powerpc-linux-gnu '$prefix/usr/bin/kqfmt' explain '%d of N' \
                           --json | grep -q '\"formatter\": \"none\"'"
        fi
    else
        fail "powerpc: configure, build or cpack failed (logs: build/package-ppc.*.log)"
        tail -20 "$root/build/package-ppc.cpack.log" "$root/build/package-ppc.build.log" 2>/dev/null
    fi
fi

echo "$passed passed, $failed failed"
((failed == 0))
