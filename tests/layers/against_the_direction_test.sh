#!/usr/bin/env bash
# The includes test fails, naming the file and line, on a tree where the
# lowest folder includes the panel, and on a host that includes a panel file.
# Usage: against_the_direction_test.sh INCLUDES_TEST
set -uo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/crypto" "$tree/hosts/cli" "$tree/plugin"
printf '#include <string>\n#include "crypto/md5.h"\n#include "plugin/panel.h"\n' >"$tree/crypto/md5.cpp"
printf '#include "plugin/host.h"\n#include "settings/writer.h"\n' >"$tree/hosts/cli/main.cpp"
printf '#include "settings/writer.h"\n#include "hosts/cli/main.h"\n' >"$tree/plugin/panel.cpp"
out=$(bash "$check" "$tree") && { echo "passed a tree with includes against the direction"; exit 1; }
expected="crypto/md5.cpp:3 includes plugin/panel.h against the direction of the layers
hosts/cli/main.cpp:2 includes settings/writer.h against the direction of the layers
plugin/panel.cpp:2 includes hosts/cli/main.h against the direction of the layers"
if [ "$(sort <<<"$out")" != "$expected" ]; then
  printf 'said:\n%s\nexpected:\n%s\n' "$out" "$expected"
  exit 1
fi
