#!/usr/bin/env bash
# Fails when the host program given holds any of the panel's code: the panel
# class, the cipher and digest, the print-settings writer and reader, the
# preference store or the folder exchange.
set -euo pipefail
found=$(nm -C "$1" | grep -E 'KorvelPrintPdeVx418JC|my_aes_|calcMD5|EVP_aes|writeJobControlEntries|readJobControlEntries|FileDomainStore|SOAPClient|parseFolderList' || true)
if [ -n "$found" ]; then
  echo "the host holds panel code:"
  echo "$found" | head -20
  exit 1
fi
echo "no panel code in $1"
