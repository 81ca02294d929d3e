#!/usr/bin/env bash
# Starts Тесворн on the shipped example project. Without a display the main job is shown
# through the command-line tool instead.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
example="$build/examples/office.fsp"  # written by the build from the model itself
cli="$build/src/cli/tesvorn-cli"
app="$build/src/app/tesvorn"

if [ -x "$app" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$app" "$example"
fi
if [ -x "$app" ]; then
  echo "Нет дисплея (DISPLAY и WAYLAND_DISPLAY не заданы): показываю работу через tesvorn-cli."
fi
if [ -f "$example" ]; then
  "$cli" project dump "$example"
fi
echo '{"param1": 3, "param2": 5, "param4": 10, "param6": 0.022, "param7": 0.021, "param8": 14002, "param9": 100, "param5": 0.97, "BOSClass": 2}' \
  | "$cli" calc height-tables
