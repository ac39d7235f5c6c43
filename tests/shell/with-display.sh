#!/bin/sh
# Runs a command with an X display: the current one, or a virtual server of its own.
# The interface's language follows the locale: the tests pin the C locale, which gives the
# Japanese texts their expected outputs hold, whatever the machine's own locale.
LC_ALL=C.UTF-8
LANGUAGE=
export LC_ALL LANGUAGE
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
