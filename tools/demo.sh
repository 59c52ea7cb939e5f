#!/usr/bin/env bash
# Shows a whole installation of Lumivar: builds the installer with the demo's
# stand-ins, serves their payload from a local nginx on 127.0.0.1:8080, and
# runs the installer in a Wine prefix of its own under build/demo.
#
#   tools/demo.sh              on $DISPLAY, for a person to click through
#   tools/demo.sh --headless   on a private Xvfb, driven by InstaladorDemoDriver
#                              (also when there is no $DISPLAY)
#
# Everything it starts is stopped when it ends, however it ends.
set -euo pipefail

root=$(realpath "$(dirname "$(realpath "$0")")/..")
source "$root/tests/harness/common.sh" # start_detached, stop_pid_file, start_xvfb, start_wine_session, port_in_use

port=8080
build="$root/build/demo"
payload="$build/payload"
prefix="$build/prefix"
logs="$build/logs"
runtime="$build/nginx"
screenshots="$build/screenshots"
run_timeout=${INSTALADOR_DEMO_TIMEOUT:-300} # seconds the installer has to reach its final message

say() { echo "demo: $*"; }
die() {
  echo "demo: error: $*" >&2
  exit 1
}
to_windows() { echo "Z:${1//\//\\}"; }

headless=
case "${1:-}" in
  --headless) headless=1 ;;
  "") [ -n "${DISPLAY:-}" ] || headless=1 ;;
  *) die "unknown option '$1' (usage: tools/demo.sh [--headless])" ;;
esac

unset http_proxy https_proxy ftp_proxy all_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY ALL_PROXY
export no_proxy='*' NO_PROXY='*'
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Stops what a run started, in the reverse order; the pid files tell.
stop_all() {
  if [ -f "$runtime/wine.started" ]; then
    wineserver -k 2>/dev/null || true
    rm -f "$runtime/wine.started"
  fi
  stop_pid_file "$runtime/desktop.pid"
  stop_pid_file "$runtime/wineserver.pid"
  stop_pid_file "$runtime/xvfb.pid"
  stop_pid_file "$runtime/nginx-master.pid"
}

cleanup() {
  local status=$?
  trap - EXIT INT TERM
  local job
  for job in ${driver:-} ${follower:-}; do kill "$job" 2>/dev/null || true; done
  stop_all
  [ "$status" -eq 0 ] || echo "demo: failed; everything it started has been stopped (logs in $logs)" >&2
  exit "$status"
}

build_demo() {
  say "checking the packages the demo needs"
  bash "$root/tools/setup.sh" || die "could not install the packages the demo needs (see above)"
  say "building the demo preset (log: $build/build.log)"
  mkdir -p "$build"
  (cd "$root" && cmake --preset demo && cmake --build --preset demo) >"$build/build.log" 2>&1 ||
    { tail -n 30 "$build/build.log" >&2; die "the build failed (see $build/build.log)"; }
}

payload_up_to_date() {
  local source
  for source in "$root/tools/make_payload.py" "$build"/standins/{ComponentInstallerStandIn,ProductStandIn}.exe; do
    [ "$payload/payload.tsv" -nt "$source" ] || return 1
  done
}

make_payload() {
  if payload_up_to_date; then
    say "the payload is up to date ($payload)"
    return
  fi
  say "making the demo payload"
  rm -rf "$payload"
  python3 "$root/tools/make_payload.py" --profile demo --out "$payload" --standins "$build/standins" ||
    die "could not make the payload"
}

check_port() {
  local holder
  holder=$(ss -ltnpH "sport = :$port" 2>/dev/null | sed -n 's/.*users:(("\([^"]*\)",pid=\([0-9]*\).*/\1, pid \2/p' | head -n 1)
  if [ -n "$holder" ] || port_in_use "$port"; then
    die "port $port is taken${holder:+ (by $holder)}; the demo's nginx must listen on 127.0.0.1:$port: stop what uses it"
  fi
}

start_nginx() {
  # The workers run as whoever runs the demo: the build folder may sit where
  # nobody else can read (a private temporary folder, a home).
  local user="# the workers run as the user who started nginx"
  [ "$(id -u)" -ne 0 ] || user="user root root;"
  mkdir -p "$runtime/temp" "$logs"
  sed -e "s|@USER@|$user|" -e "s|@RUNTIME@|$runtime|g" -e "s|@LOGS@|$logs|g" \
      -e "s|@PAYLOAD@|$payload|g" -e "s|@LISTEN@|127.0.0.1:$port|g" \
      "$root/tools/nginx-demo.conf.in" >"$runtime/nginx.conf"
  say "starting nginx on http://127.0.0.1:$port/download/ (config: $runtime/nginx.conf)"
  start_detached "$runtime/nginx-master.pid" "$logs/nginx.log" \
    nginx -p "$runtime" -c "$runtime/nginx.conf" -e "$runtime/error.log" -g 'daemon off;'
  for _ in $(seq 50); do
    kill -0 "$(cat "$runtime/nginx-master.pid")" 2>/dev/null ||
      { tail -n 5 "$logs/nginx.log" >&2; die "nginx failed to start (see $runtime/error.log)"; }
    curl -sf -o /dev/null "http://127.0.0.1:$port/download/payload.tsv" && return
    sleep 0.1
  done
  die "nginx does not serve http://127.0.0.1:$port/download/payload.tsv (see $runtime/error.log)"
}

start_display() {
  start_xvfb "$runtime" "$logs" || die "Xvfb did not start"
  say "Xvfb on $DISPLAY"
}

prepare_prefix() {
  [ -f "$prefix/.instalador-ready" ] || say "making the Wine prefix $prefix (once)"
  bash "$root/tools/wine-prefix.sh" "$prefix" || die "could not make the Wine prefix $prefix"
  rm -rf "$prefix/drive_c/Brenvalt"
  rm -f "$prefix"/drive_c/users/*/Desktop/Lumivar.lnk
  rm -rf "$screenshots"
  mkdir -p "$screenshots"
  : >"$logs/standins.log"
  export INSTALADOR_STANDIN_LOG
  INSTALADOR_STANDIN_LOG=$(to_windows "$logs/standins.log")
}

start_wine() {
  touch "$runtime/wine.started"
  start_wine_session "$runtime" "$logs" || die "Wine does not start"
}

# Prints the driver's messages from its log as they come, but for the status
# line of every file, until process $2 ends. Its C runtime writes Latin-1.
follow_driver() {
  python3 -u - "$1" "$2" <<'PY'
import os, signal, sys, time
signal.signal(signal.SIGINT, signal.SIG_DFL)
log, pid = sys.argv[1], int(sys.argv[2])
pending = b""
with open(log, "rb") as source:
    while True:
        alive = os.path.exists(f"/proc/{pid}")
        *lines, pending = (pending + source.read()).split(b"\n")
        for line in lines:
            if not line.startswith(b"status: "):
                print("  " + line.decode("latin-1").rstrip("\r"))
        if not alive:
            break
        time.sleep(0.2)
PY
}

run_installer() {
  local installer="$build/Instalador.exe" result=0
  requests_before=$(wc -l <"$logs/access.log")
  started=$EPOCHREALTIME
  if [ -n "$headless" ]; then
    say "running the installer, clicked through by InstaladorDemoDriver (at most ${run_timeout} s)"
    # Into a file, not a pipe: the programs the installer starts inherit the
    # output and the product stays open after the installer is gone.
    : >"$logs/driver.log"
    timeout --kill-after=10 $((run_timeout + 60)) \
      wine "$build/InstaladorDemoDriver.exe" "$(to_windows "$installer")" "$(to_windows "$screenshots")" "$run_timeout" \
      </dev/null >"$logs/driver.log" 2>&1 &
    driver=$!
    follow_driver "$logs/driver.log" "$driver" &
    follower=$!
    wait "$driver" || result=$?
    wait "$follower" || true
    driver= follower=
    iconv -f LATIN1 -t UTF-8 "$logs/driver.log" | tr -d '\r' >"$logs/driver.log.utf8" && mv "$logs/driver.log"{.utf8,}
  else
    say "the installer opens on $DISPLAY: click through it (Avançar, then Iniciar Instalação...)"
    wine "$installer" </dev/null >"$logs/installer.log" 2>&1 || result=$?
  fi
  finished=$EPOCHREALTIME
  case $result in
    0) ;;
    124 | 137) die "the installer did not reach its final message within $((run_timeout + 60)) s" ;;
    *)
      grep -q 'did not reach its end in time' "$logs/driver.log" &&
        die "the installer did not reach its final message within $run_timeout s (see $logs/driver.log)"
      die "the run failed: $(grep -E '^(demo|message): ' "$logs/driver.log" | tail -n 1 | sed 's/^demo: //')" \
        "(driver exit $result; see $logs/driver.log)" ;;
  esac
  [ -n "$headless" ] || [ -f "$prefix/drive_c/Brenvalt/Lumivar/Lumivar.exe" ] ||
    die "the installer ended before Lumivar was installed"
}

# The target of a shell link: the local path in its LinkInfo.
shortcut_target() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags, at = struct.unpack_from("<I", data, 0x14)[0], 0x4C
if flags & 0x01:  # an item ID list comes first
    at += 2 + struct.unpack_from("<H", data, at)[0]
if flags & 0x02 and struct.unpack_from("<I", data, at + 8)[0] & 0x01:
    base, _, suffix = struct.unpack_from("<3I", data, at + 16)
    text = lambda offset: data[at + offset:data.index(b"\0", at + offset)].decode("cp1252")
    print(text(base) + text(suffix))
else:
    print("(no local path in the link)")
PY
}

summary() {
  local tree="$prefix/drive_c/Brenvalt/Lumivar" link files bytes requests
  files=$(find "$tree" -type f | wc -l)
  bytes=$(du -sb "$tree" | cut -f 1)
  link=$(compgen -G "$prefix/drive_c/users/*/Desktop/Lumivar.lnk" | head -n 1) || true
  requests=$(tail -n +$((requests_before + 1)) "$logs/access.log" | awk '{ n++; bytes += $10; codes[$9]++ }
    END { printf "%d requests, %.1f MB sent (", n, bytes / 1048576
          sep = ""; for (c in codes) { printf "%s%d x %s", sep, codes[c], c; sep = ", " }; print ")" }')
  echo
  echo "Lumivar installed; the run took $(awk "BEGIN { printf \"%.1f\", $finished - $started }") s"
  echo "  C:\\Brenvalt\\Lumivar     $files files, $(awk "BEGIN { printf \"%.1f\", $bytes / 1048576 }") MB ($tree)"
  if [ -n "$link" ]; then
    echo "  desktop shortcut        $link"
    echo "    target                $(shortcut_target "$link")"
  else
    echo "  desktop shortcut        MISSING (no Lumivar.lnk on the desktop)"
  fi
  echo "  stand-ins               $(tr -d '\r' <"$logs/standins.log" | cut -f 1,2 | tr '\t' ' ' | paste -sd ',' | sed 's/,/, /g')"
  echo "  nginx served            $requests"
  echo "  nginx access log        $logs/access.log"
  [ -z "$headless" ] || echo "  screenshots             $screenshots ($(cd "$screenshots" && ls | paste -sd ' '))"
}

main() {
  stop_all # whatever a run killed before it could clean up left behind
  trap cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  check_port # before a build that may take minutes; again before nginx starts
  build_demo
  make_payload
  check_port
  start_nginx
  [ -z "$headless" ] || start_display
  prepare_prefix
  start_wine
  run_installer
  summary
  if [ -z "$headless" ] && [ -t 0 ]; then
    read -r -p "Press Enter to close Lumivar and end the demo. "
  fi
}

main
