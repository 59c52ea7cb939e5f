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
