#!/usr/bin/env bash
# Measures the download path and the window's responsiveness under Wine and
# prints one table. Speed and memory are reported here, never asserted.
#
#   tools/benchmark.sh [ROUNDS]     (default 3; each figure is the median)
#
# Uses the demo build (build/demo), its payload, and a private nginx on
# 127.0.0.1:8080 and vendor server on 127.0.0.1:18281 for slow and stalling
# answers; everything it starts is stopped when it ends.
set -euo pipefail

root=$(realpath "$(dirname "$(realpath "$0")")/..")
source "$root/tests/harness/common.sh"
rounds=${1:-3}
demo="$root/build/demo"
work="$root/build/bench"
files="$work/files"
prefix="$work/prefix"
logs="$work/logs"
port=8080
slow_port=18281

say() { echo "benchmark: $*" >&2; }
die() {
  echo "benchmark: error: $*" >&2
  exit 1
}
to_windows() { echo "Z:${1//\//\\}"; }

unset http_proxy https_proxy ftp_proxy all_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY ALL_PROXY
export no_proxy='*' NO_PROXY='*'
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

cleanup() {
  local status=$?
  trap - EXIT
  [ -d "$prefix" ] && wineserver -k 2>/dev/null || true
  for pid in desktop wineserver xvfb nginx vendor; do stop_pid_file "$work/$pid.pid"; done
  exit "$status"
}

prepare() {
  bash "$root/tools/setup.sh"
  say "building the demo preset"
  (cd "$root" && cmake --preset demo && cmake --build --preset demo) >"$work/build.log" 2>&1 || die "the build failed (see $work/build.log)"
  if [ ! -f "$demo/payload/payload.tsv" ]; then
    say "making the demo payload"
    python3 "$root/tools/make_payload.py" --profile demo --out "$demo/payload" --standins "$demo/standins"
  fi
  mkdir -p "$files" "$logs"
  for size in 1 200 1024; do
    [ -f "$files/$size.bin" ] || head -c $((size * 1048576)) /dev/urandom >"$files/$size.bin"
  done
  head -c 400000 /dev/zero | tr '\0' 'x' >"$files/slow.bin"
}

start_servers() {
  port_in_use "$port" && die "port $port is taken"
  port_in_use "$slow_port" && die "port $slow_port is taken"
  mkdir -p "$work/nginx/temp"
  cat >"$work/nginx/nginx.conf" <<CONF
$([ "$(id -u)" -ne 0 ] || echo "user root root;")
worker_processes 1;
pid "$work/nginx/nginx.pid";
error_log "$work/nginx/error.log" warn;
events { worker_connections 64; }
http {
  default_type application/octet-stream;
  sendfile on;
  access_log off;
  client_body_temp_path "$work/nginx/temp";
  server {
    listen 127.0.0.1:$port;
    location /download/ { alias "$demo/payload/"; }
    location /bench/ { alias "$files/"; }
  }
}
CONF
  start_detached "$work/nginx.pid" "$logs/nginx.log" nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -e "$work/nginx/error.log" -g 'daemon off;'
  start_detached "$work/vendor.pid" "$logs/vendor.log" /usr/bin/python3 "$root/tests/vendor_server/vendor_server.py" \
    --root "$files" --port "$slow_port" --ready-file "$work/vendor.port"
  for _ in $(seq 100); do
    curl -sf -o /dev/null "http://127.0.0.1:$port/bench/1.bin" && [ -s "$work/vendor.port" ] && return
    sleep 0.1
  done
  die "the servers did not start (see $logs)"
}

start_wine() {
  start_xvfb "$work" "$logs" || die "Xvfb did not start"
  bash "$root/tools/wine-prefix.sh" "$prefix"
  start_wine_session "$work" "$logs" || die "Wine does not start"
  mkdir -p "$prefix/drive_c/bench"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
bench() { wine "$demo/bench/$1.exe" "${@:2}" </dev/null 2>/dev/null; }

# seconds for: curl | BareLoop | WindowDownload, over the URLs given
time_curl() {
  local args=() url
  for url in "$@"; do args+=(-o /dev/null "$url"); done
  local start=$EPOCHREALTIME
  curl -sf "${args[@]}"
  awk "BEGIN { print $EPOCHREALTIME - $start }"
}
time_bare() { bench BareLoop 'C:\bench' "$@" | cut -d' ' -f2; }
time_window() { bench WindowDownload 'C:\bench' "$@" | cut -d' ' -f2; }

# A row: name, bytes, then the median seconds of each way.
speed_row() {
  local name=$1 bytes=$2
  shift 2
  local curl bare window r
  curl=$(for r in $(seq "$rounds"); do time_curl "$@"; done | median)
  bare=$(for r in $(seq "$rounds"); do time_bare "$@"; done | median)
  window=$(for r in $(seq "$rounds"); do time_window "$@"; done | median)
  awk -v n="$name" -v b="$bytes" -v c="$curl" -v x="$bare" -v w="$window" 'BEGIN {
    mib = b / 1048576
    printf "%-26s %8.1f MiB  curl %7.1f MiB/s  bare loop %6.1f MiB/s  DownloadFile %6.1f MiB/s  ratio %.2f\n",
      n, mib, mib / c, mib / x, mib / w, x / w }'
}

memory_rows() {
  local small large
  small=$(bench WindowDownload 'C:\bench' "http://127.0.0.1:$port/bench/1.bin" | cut -d' ' -f3)
  large=$(bench WindowDownload 'C:\bench' "http://127.0.0.1:$port/bench/1024.bin" | cut -d' ' -f3)
  awk -v s="$small" -v l="$large" 'BEGIN {
    printf "peak working set           1 MiB file %.1f MiB, 1 GiB file %.1f MiB, difference %.2f MiB\n",
      s / 1048576, l / 1048576, (l - s) / 1048576 }'
}

# WM_NULL replies while DownloadFile waits on a slow or a stalling server.
latency_row() {
  local name=$1 kind=$2 arg=$3 seconds=$4
  curl -sf -o /dev/null "http://127.0.0.1:$slow_port/_control/fault?name=slow.bin&kind=$kind&arg=$arg"
  bench WindowDownload 'C:\bench' "http://127.0.0.1:$slow_port/download/slow.bin" >/dev/null &
  local download=$!
  local result
  result=$(bench Pinger latency "$seconds")
  wait "$download" || true
  read -r count p50 p99 max <<<"$result"
  printf "%-26s %d replies: p50 %s ms, p99 %s ms, max %s ms\n" "$name" "$count" "$p50" "$p99" "$max"
}

startup_rows() {
  local result
  result=$(bench Pinger startup "$(to_windows "$demo/Instalador.exe")" 10)
  read -r median fastest slowest <<<"$result"
  printf "%-26s median %s ms (fastest %s, slowest %s), warm wineserver\n" "start-up to visible window" "$median" "$fastest" "$slowest"
  printf "%-26s %d bytes\n" "Instalador.exe size" "$(stat -c %s "$demo/Instalador.exe")"
}

demo_row() {
  rm -rf "$prefix/drive_c/Brenvalt"
  rm -f "$prefix"/drive_c/users/*/Desktop/Lumivar.lnk
  mkdir -p "$work/screenshots"
  local start=$EPOCHREALTIME
  INSTALADOR_STANDIN_LIFETIME_MS=2000 wine "$demo/InstaladorDemoDriver.exe" "$(to_windows "$demo/Instalador.exe")" \
    "$(to_windows "$work/screenshots")" 300 </dev/null >"$logs/demo.log" 2>&1 || die "the demo run failed (see $logs/demo.log)"
  awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN {
    t = e - s; printf "%-26s %.1f s, of which 8.0 s are the fixed pauses (16 x 500 ms): %.1f s of work\n",
      "whole demo run", t, t - 8 }'
}

main() {
  mkdir -p "$work"
  trap cleanup EXIT
  prepare
  start_servers
  start_wine
  say "measuring ($rounds rounds each)"
  local packages=() bytes=0 name
  while IFS=$'\t' read -r name size _; do
    case $name in *.jpg | *.gif) continue ;; esac
    packages+=("http://127.0.0.1:$port/download/$name")
    bytes=$((bytes + size))
  done <"$demo/payload/payload.tsv"
  echo
  speed_row "one 200 MiB file" 209715200 "http://127.0.0.1:$port/bench/200.bin"
  speed_row "the package list (${#packages[@]})" "$bytes" "${packages[@]}"
  memory_rows
  latency_row "slow server, 20 KB/s" slow 20000 10
  latency_row "stalling server" stall 10 8
  startup_rows
  demo_row
}

main
