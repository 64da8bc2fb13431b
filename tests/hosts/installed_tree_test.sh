#!/usr/bin/env bash
# Installs the build tree under a new prefix and runs the installed command
# from the root folder: it finds its module and the module its resources.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cd /
env -u JOBCONTROL_MODULE -u JOBCONTROL_BUNDLE_DIR XDG_CONFIG_HOME="$prefix/config" LANG=C \
  "$prefix/bin/jobcontrol" --version | grep -q "^plug-in interface version"
out=$(env -u JOBCONTROL_MODULE -u JOBCONTROL_BUNDLE_DIR XDG_CONFIG_HOME="$prefix/config" LANG=C \
  "$prefix/bin/jobcontrol" show --json)
echo "$out" | grep -q '"name": "Job Control"'
echo "$out" | grep -q '"printersAddressEditText"'
module=$(find "$prefix" -name jobcontrol-panel.so)
echo "installed and shown from /: $module"
