# Shared by the harness scripts: where the state of one test run lives.
#   $state/env        variables for programs run under Wine (see run-under-wine.sh)
#   $state/prefix     the Wine prefix, made fresh for each run
#   $state/*.pid      what the run started, to stop it again
#   $state/logs/      the servers' logs
#   $state/../artifacts/  what tests keep for people to look at (screenshots)
state_paths() {
  state=$(realpath -m "$1")
  prefix="$state/prefix"
  logs="$state/logs"
}

# Stops the process whose pid is in file $1, if it still runs.
stop_pid_file() {
  local file=$1 pid
  [ -f "$file" ] || return 0
  pid=$(cat "$file")
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$file"
}

# A display number nobody uses.
free_display() {
  local n
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

port_in_use() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# Starts a command in its own session with no terminal, so that nothing
# waits on its output; records its pid in $1.
start_detached() {
  local pid_file=$1 log=$2
  shift 2
  setsid "$@" >"$log" 2>&1 </dev/null &
  echo $! >"$pid_file"
}

# Starts Xvfb (1280x900) on a free display, its pid in $1/xvfb.pid and its
# log in $2, and exports DISPLAY. Fails when it does not come up.
start_xvfb() {
  local run=$1 log_folder=$2 display
  display=$(free_display) || { echo "no free X display" >&2; return 1; }
  start_detached "$run/xvfb.pid" "$log_folder/xvfb.log" Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  if ! kill -0 "$(cat "$run/xvfb.pid")" 2>/dev/null || [ ! -e "/tmp/.X11-unix/X$display" ]; then
    echo "Xvfb did not start on :$display (see $log_folder/xvfb.log)" >&2
    return 1
  fi
  export DISPLAY=":$display"
}

# A persistent wineserver, Wine's services and the virtual desktop for
# $WINEPREFIX, pids in $1, logs in $2. Wine starts its services and the
# desktop's explorer with the first program that needs them, and they
# inherit that program's output; started here, detached, no program's
# output stays open after it ends.
start_wine_session() {
  local run=$1 log_folder=$2
  start_detached "$run/wineserver.pid" "$log_folder/wineserver.log" wineserver -f -p
  wine cmd /c exit >"$log_folder/wine-services.log" 2>&1 </dev/null ||
    { echo "Wine does not start (see $log_folder/wine-services.log)" >&2; return 1; }
  start_detached "$run/desktop.pid" "$log_folder/desktop.log" wine explorer /desktop=Default,1280x900
}
