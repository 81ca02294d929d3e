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
# One detection-time calculation: a 3 m office, class A3 sensors 5 m apart, 10 m² of
# furniture burning, from 293 K to an activation temperature of 333 K.
echo '{"param1": 3, "param2": 5, "param4": 10, "param5": 0.9, "param6": 0.0108, "param7": 0.0145, "param8": 13000, "param10": 293, "param11": 333, "param12": 50, "BOSClass": 2}' \
  | "$cli" calc height-tables
