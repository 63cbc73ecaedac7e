#!/usr/bin/env bash
# Starts and stops the local SMTP server of the mail tests (tests/mail_peer.py).
#   tests/mail_peer.sh start FOLDER   waits until it listens; its ports are files in FOLDER
#   tests/mail_peer.sh stop FOLDER    ends it and everything it started
set -euo pipefail
action=$1 folder=$2
here=$(cd "$(dirname "$0")" && pwd)

stop() {
  if [[ -s "$folder/pid" ]]; then
    pid=$(cat "$folder/pid")
    # Its own process group (setsid below): nothing else is ended.
    kill -- "-$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    rm -f "$folder/pid"
  fi
}

case $action in
  start)
    mkdir -p "$folder"
    stop
    rm -f "$folder"/*
    setsid /usr/bin/python3 "$here/mail_peer.py" "$folder" </dev/null >"$folder/log" 2>&1 &
    echo $! >"$folder/pid"
    for _ in $(seq 100); do [[ -s "$folder/port" ]] && exit 0; sleep 0.1; done
    echo "mail peer did not start:" >&2; cat "$folder/log" >&2; stop; exit 1 ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop FOLDER" >&2; exit 2 ;;
esac
