#!/usr/bin/env bash
# Builds the game for the browser (scripts/web.sh) and plays it in Debian's headless Chromium:
# tests/web/web_play_test.py, two visits to the site served on 127.0.0.1 with the same browser
# profile. Its screens are compared with the pictures of the web build's own Data/ folder, drawn
# by the same native makers as the desktop's.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh play web
bash scripts/web.sh

started=$(date +%s)
status=0
# Debian's Python: the DevTools client is Debian's python3-websocket.
TOLVAR_WEB_SITE=$PWD/build-web/site TOLVAR_E2E_DATA=$PWD/build-web/game/Data \
  /usr/bin/python3 tests/web/web_play_test.py || status=$?
echo "test-web.sh: the web test took $(($(date +%s) - started)) s" >&2
(exit "$status")
