#!/bin/bash
# Signs a program with Authenticode (SHA-256) in place and verifies the
# signature; the program is left unsigned when either step fails.
#   sign_program.sh PROGRAM.exe CERT.p12 PASSWORD_FILE [TIMESTAMP_URL] [CA_FILE]
# CA_FILE holds the roots the verification trusts (default: the system's).
set -eu
program=$1 cert=$2 password=$3 timestamp=${4:-} ca=${5:-}
signed=$program.signed
rm -f "$signed"
trap 'rm -f "$signed"' EXIT
sign=(osslsigncode sign -pkcs12 "$cert" -readpass "$password" -h sha256
      -n "Photarium 64-bit Installation" -in "$program" -out "$signed")
if [ -n "$timestamp" ]; then sign+=(-ts "$timestamp"); fi
# the signing time otherwise makes every signed build differ
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then sign+=(-time "$SOURCE_DATE_EPOCH"); fi
"${sign[@]}" >/dev/null
verify=(osslsigncode verify -in "$signed")
if [ -n "$ca" ]; then verify+=(-CAfile "$ca"); fi
if ! report=$("${verify[@]}" 2>&1); then
  printf '%s\n' "$report" >&2
  echo "signature of $program does not verify" >&2
  exit 1
fi
printf '%s\n' "$report" | grep -E 'digest algorithm|Signature verification|^Succeeded' | sort -u
# the first signer's certificate: which one was used, and until when it holds
printf '%s\n' "$report" | awk '
  /Signer #0:/ { signer = 1 }
  signer && /^[ \t]*Subject *:/ && !subject { sub(/^[^:]*: */, ""); subject = $0 }
  signer && /^[ \t]*Serial *:/ && !serial { sub(/^[^:]*: */, ""); serial = $0 }
  signer && /^[ \t]*notAfter *:/ && !until { sub(/^[^:]*: */, ""); until = $0 }
  END { printf "signed by: %s (serial %s, valid until %s)\n", subject, serial, until }'
chmod --reference="$program" "$signed"
mv "$signed" "$program"
