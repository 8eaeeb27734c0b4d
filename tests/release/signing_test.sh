#!/bin/bash
# Signs a copy of the setup program through the build's signing step with a
# throwaway certificate: osslsigncode verify accepts it when it trusts that
# certificate as root and refuses it otherwise, a byte changed after signing
# breaks it, and a wrong password leaves the program as it was. The signed
# copy stays in DATA_DIR/signed for e2e_release, which installs with it.
#   signing_test.sh PROGRAM.exe DATA_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
sign=$here/../../release/sign_program.sh
dir=$2/signed
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Calvorn Testsignatur" \
  -addext extendedKeyUsage=codeSigning -keyout key.pem -out root.pem 2>/dev/null
printf 'wegwerf\n' >password
openssl pkcs12 -export -inkey key.pem -in root.pem -out cert.p12 -passout file:password
cp "$1" photar64_setup.exe
fail=0

printf 'falsch\n' >wrong
cp "$1" unsigned.exe
if "$sign" unsigned.exe cert.p12 wrong "" root.pem >/dev/null 2>&1 || ! cmp -s "$1" unsigned.exe; then
  echo "FAIL a wrong password did not leave the program unsigned"; fail=1
fi

"$sign" photar64_setup.exe cert.p12 password "" root.pem
if ! report=$(osslsigncode verify -in photar64_setup.exe -CAfile root.pem 2>&1); then
  echo "FAIL not accepted when its root is trusted:"; printf '%s\n' "$report"; fail=1
fi
printf '%s\n' "$report" | grep -E 'Message digest algorithm *:|Signature verification|Number of verified' || true
if ! printf '%s\n' "$report" | grep -q 'Message digest algorithm  : SHA256'; then
  echo "FAIL the digest is not SHA-256"; fail=1
fi
if osslsigncode verify -in photar64_setup.exe -CAfile /etc/ssl/certs/ca-certificates.crt >/dev/null 2>&1; then
  echo "FAIL accepted without trusting the throwaway root"; fail=1
fi
cp photar64_setup.exe changed.exe
printf 'X' | dd of=changed.exe bs=1 seek=8192 conv=notrunc status=none
if osslsigncode verify -in changed.exe -CAfile root.pem >/dev/null 2>&1; then
  echo "FAIL a program changed after signing still verifies"; fail=1
fi
exit $fail
