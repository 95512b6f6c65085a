#!/bin/sh
# Runs a command with DISPLAY set to a private Xvfb server, which picks a free display number
# itself (-displayfd), so that tests run side by side each get their own. Exit status 77 (skipped)
# when Xvfb is not installed or does not start; otherwise the command's.
command -v Xvfb > /dev/null 2>&1 || { echo "Xvfb is not installed: skipped"; exit 77; }
fifo_dir=$(mktemp -d) || exit 1
trap 'kill "$server" 2> /dev/null; wait "$server" 2> /dev/null; rm -rf "$fifo_dir"' EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$fifo_dir/display" 2> "$fifo_dir/log" &
server=$!
tries=0
until [ -s "$fifo_dir/display" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ] || ! kill -0 "$server" 2> /dev/null; then
    echo "Xvfb did not start: skipped"; cat "$fifo_dir/log"; exit 77
  fi
  sleep 0.1
done
DISPLAY=:$(head -n 1 "$fifo_dir/display")
export DISPLAY
"$@"
