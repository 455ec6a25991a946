#!/usr/bin/env bash
# Builds the kestrova Debian package from this tree.
#
#   build-deb.sh [--build-dir DIR] [--version VERSION] [--out DIR]
#
# --build-dir  a configured and built CMake tree to take the programs from;
#              without it a Release tree is configured and built in
#              build-deb/ (tests and benchmarks off).
# --version    the package version (default: the project's, 3.6.9); a higher
#              one is how the tests make an update package.
# --out        where the .deb, .buildinfo and .changes go (default build-deb/packages).
# Prints the path of the .deb as its last line.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=""
version=""
out=""
while [ $# -gt 0 ]; do
    case "$1" in
        --build-dir) build_dir=$2; shift 2 ;;
        --version) version=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        *) echo "build-deb: unknown argument $1" >&2; exit 2 ;;
    esac
done

project_version=$(sed -n 's/^project(Kestrova VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
version=${version:-$project_version}
if ! [[ "$version" =~ ^[0-9][0-9A-Za-z.+~-]*$ ]]; then
    echo "build-deb: not a package version: $version" >&2
    exit 2
fi

if [ -z "$build_dir" ]; then
    build_dir="$root/build-deb"
    cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DKESTROVA_BUILD_TESTS=OFF -DKESTROVA_BUILD_BENCH=OFF >&2
    cmake --build "$build_dir" -j2 --target kestrova kestrova-cli kestrovad kestrova-dns >&2
fi
build_dir=$(cd "$build_dir" && pwd)
out=${out:-$root/build-deb/packages}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# dpkg-buildpackage puts its results beside the folder it runs in, so the
# package is put together in a private folder and the results moved to --out.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
src="$work/kestrova-$version"
mkdir -p "$src"
cp -r "$root/packaging/debian" "$src/debian"
if [ "$version" != "$project_version" ]; then
    {
        printf 'kestrova (%s) stable; urgency=medium\n\n' "$version"
        printf '  * Release %s.\n\n' "$version"
        printf ' -- Kestrova developers <maintainers@kestrova.net>  %s\n\n' "$(date -R)"
        cat "$root/packaging/debian/changelog"
    } >"$src/debian/changelog"
fi

(
    cd "$src"
    export KESTROVA_BUILD_DIR="$build_dir"
    # Reproducible dates come from the changelog; no signing, binaries only.
    dpkg-buildpackage -b -us -uc --no-check-builddeps >&2
)
deb="kestrova_${version}_$(dpkg --print-architecture).deb"
for f in "$work"/kestrova_"$version"_*; do
    mv -f "$f" "$out/"
done
echo "$out/$deb"
