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
# The command line's own catalogue is installed beside the panel's.
refusal=$(env -u JOBCONTROL_MODULE -u JOBCONTROL_BUNDLE_DIR XDG_CONFIG_HOME="$prefix/config" \
  LANGUAGE=ja "$prefix/bin/jobcontrol" show --bogus 2>&1 || true)
echo "$refusal" | grep -q "不明なオプションです: --bogus"
test -f "$prefix/share/jobcontrol/locale/ja/LC_MESSAGES/jobcontrol-cli.mo"
module=$(find "$prefix" -name jobcontrol-panel.so)
echo "installed and shown from /: $module"
