#!/bin/sh
# Runs a command with an X display: the current one, or a virtual server of its own.
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
