#!/usr/bin/env bash
# Builds SQLite for the powerpc target: a static libsqlite3.a and its headers,
# from Debian's own sqlite3 source package (the distribution ships no powerpc
# binary of it). The result goes to build/target-deps/sqlite/{lib,include},
# where cmake/toolchain-powerpc-linux-gnu.cmake picks it up for kqfmt.
#
# Idempotent: does nothing when the library is already built. Needs network
# access to the Debian archive only the first time.
#
# Environment:
#   KQ_TARGET_DEPS_DIR  cache directory (default: <repo>/build/target-deps)
#   KQ_TARGET_TRIPLE    cross compiler prefix (default: powerpc-linux-gnu)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
deps="${KQ_TARGET_DEPS_DIR:-$root/build/target-deps}"
triple="${KQ_TARGET_TRIPLE:-powerpc-linux-gnu}"
out="$deps/sqlite"
work="$deps/sqlite-work"

# Compile options: those of the distribution's own build that change what SQL
# accepts, so a configuration behaves on the target as it does on the host;
# minus threading and extension loading, which the tool does not use.
sqlite_defines=(
    -DSQLITE_THREADSAFE=0
    -DSQLITE_OMIT_LOAD_EXTENSION
    -DSQLITE_ENABLE_MATH_FUNCTIONS
    -DSQLITE_ENABLE_COLUMN_METADATA
    -DSQLITE_SECURE_DELETE
    -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS3_PARENTHESIS
    -DSQLITE_ENABLE_RTREE=1
    -DSQLITE_SOUNDEX=1
    -DSQLITE_ENABLE_DBSTAT_VTAB
    -DSQLITE_ALLOW_ROWID_IN_VIEW
    -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1
    -DSQLITE_LIKE_DOESNT_MATCH_BLOBS
    -DSQLITE_USE_URI=1
    -DSQLITE_MAX_SCHEMA_RETRY=25
    -DSQLITE_MAX_VARIABLE_NUMBER=250000
)

log() { echo "target-sqlite: $*"; }
die() { echo "target-sqlite: error: $*" >&2; exit 1; }

if [[ -f "$out/lib/libsqlite3.a" && -f "$out/include/sqlite3.h" && -f "$out/VERSION" ]]; then
    log "already built ($(cat "$out/VERSION")) in $out"
    exit 0
fi

for tool in "$triple-gcc" "$triple-ar" "$triple-ranlib" tclsh gcc make apt-get dpkg-source; do
    command -v "$tool" >/dev/null || die "'$tool' not found (run scripts/setup.sh)"
done

mkdir -p "$work"
cd "$work"

# 1. Fetch the source package through apt with a private configuration: one
#    deb-src list, its own index directory, so the system's apt state is not
#    touched.
if ! ls sqlite3_*.dsc >/dev/null 2>&1; then
    # shellcheck disable=SC1091  # the system's release description
    codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    mkdir -p apt/lists/partial apt/sources.list.d apt/cache/archives/partial
    {
        echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian $codename main"
        echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian-security $codename-security main"
    } >apt/sources.list
    apt_opts=(
        -o "Dir::Etc::SourceList=$work/apt/sources.list"
        -o "Dir::Etc::SourceParts=$work/apt/sources.list.d"
        -o "Dir::State::Lists=$work/apt/lists"
        -o "Dir::Cache=$work/apt/cache"
        -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
        -o "APT::Sandbox::User=root"
    )
    log "fetching the sqlite3 source package index"
    apt-get -q "${apt_opts[@]}" update >apt/update.log 2>&1 ||
        { cat apt/update.log >&2; die "apt-get update of the source index failed"; }
    log "downloading the sqlite3 source package"
    apt-get -q "${apt_opts[@]}" source --download-only sqlite3 >apt/source.log 2>&1 ||
        { cat apt/source.log >&2; die "apt-get source sqlite3 failed"; }
fi
dsc="$(find . -maxdepth 1 -name 'sqlite3_*.dsc' -printf '%f\n' | sort -V | tail -1)"
[[ -n "$dsc" ]] || die "no sqlite3 .dsc downloaded"

# 2. Unpack (with the distribution's patches) and generate the amalgamation
#    sqlite3.c / sqlite3.h with the host compiler and tclsh.
src="$work/src"
if [[ ! -f "$src/configure" ]]; then
    rm -rf "$src"
    log "unpacking $dsc"
    dpkg-source --no-check -x "$dsc" "$src" >unpack.log 2>&1 ||
        { cat unpack.log >&2; die "dpkg-source -x failed"; }
fi
amalg="$work/amalgamation"
if [[ ! -f "$amalg/sqlite3.c" || ! -f "$amalg/sqlite3.h" ]]; then
    rm -rf "$amalg"
    mkdir -p "$amalg"
    log "generating the amalgamation"
    (cd "$amalg" && "$src/configure" --disable-tcl >configure.log 2>&1 &&
        make -j2 sqlite3.c sqlite3.h >make.log 2>&1) ||
        { tail -30 "$amalg"/*.log >&2; die "generating sqlite3.c failed"; }
fi

# 3. Cross-compile into a static library and install it with its headers.
log "compiling sqlite3.c for $triple"
obj="$work/obj"
rm -rf "$obj"
mkdir -p "$obj"
"$triple-gcc" -O2 -fPIC -fno-strict-aliasing "${sqlite_defines[@]}" \
    -c "$amalg/sqlite3.c" -o "$obj/sqlite3.o"
rm -rf "$out.tmp"
mkdir -p "$out.tmp/lib" "$out.tmp/include"
"$triple-ar" rc "$out.tmp/lib/libsqlite3.a" "$obj/sqlite3.o"
"$triple-ranlib" "$out.tmp/lib/libsqlite3.a"
cp "$amalg/sqlite3.h" "$out.tmp/include/"
[[ -f "$src/src/sqlite3ext.h" ]] && cp "$src/src/sqlite3ext.h" "$out.tmp/include/"
basename "$dsc" .dsc >"$out.tmp/VERSION"
rm -rf "$out"
mv "$out.tmp" "$out"
log "built $(cat "$out/VERSION") into $out"
