#!/bin/sh
# Runs the command on an X server of its own. The server starts without the libraries
# preloaded for the tests (a sanitizer's runtime would stop it); the command gets them.
preload="${LD_PRELOAD:-}"
exec env -u LD_PRELOAD xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    env LD_PRELOAD="$preload" "$@"
