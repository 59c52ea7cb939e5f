#!/usr/bin/env bash
# A test CA, a server certificate it signs for "localhost", and a
# self-signed one that nobody trusts.
#   make-certificates.sh FOLDER
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
[ -f server.pem ] && [ -f untrusted.pem ] && exit 0
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 30 -subj "/CN=Instalador Test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout server.key -out server.csr -subj "/CN=localhost" 2>/dev/null
printf 'subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' >server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out server.pem -days 30 -extfile server.ext 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -keyout untrusted.key -out untrusted.pem -days 30 -subj "/CN=localhost" \
  -addext "subjectAltName=DNS:localhost" 2>/dev/null
