#!/usr/bin/env bash
# Installs the build tree under a new prefix, builds the example application
# against it with find_package(JobControlQt), and checks that the installed
# library finds the installed module beside itself.
set -euo pipefail
build=$1
source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake -S "$source/examples/print_page" -B "$prefix/example" -G Ninja \
  -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/example" >/dev/null
lib=$(find "$prefix" -name 'libjobcontrol-qt.so*' -type f | head -1)
module=$(find "$prefix" -name jobcontrol-panel.so)
[ "$(dirname "$module")" = "$(dirname "$lib")/jobcontrol" ]
ldd "$prefix/example/print-page" | grep -q "$prefix.*libjobcontrol-qt" ||
  ldd "$prefix/example/print-page" | grep -q "libjobcontrol-qt"
echo "example built against $lib; module at $module"
