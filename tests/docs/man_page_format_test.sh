#!/usr/bin/env bash
# Checks built manual pages (PAGE.gz...): every placeholder filled in, groff
# formats them without a warning, and the gzip header keeps no file name and
# no time, so that the packaged page is the same from build to build.
set -euo pipefail
status=0
for page in "$@"; do
  name=$(basename "$page")
  if zcat "$page" | grep -n '@[A-Za-z_]*@' >&2; then
    echo "$name: a placeholder is left" >&2
    status=1
  fi
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
  if [ -n "$warnings" ]; then
    echo "$name: groff warns: $warnings" >&2
    status=1
  fi
  # Bytes 3 to 7: the flags (2^3 = a file name follows) and the time.
  header=$(od -An -tx1 -j3 -N5 "$page" | tr -d ' \n')
  if [ "$header" != 0000000000 ]; then
    echo "$name: the gzip header keeps a name or a time ($header)" >&2
    status=1
  fi
done
exit $status
