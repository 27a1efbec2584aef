#!/bin/bash
# Logging off or shutting down while checktool-cli.exe runs stops its run as Ctrl+C does (exit status
# 130, the run told as stopped). Windows tells a console program that loads the window library of
# the session's end only through a window, and Wine makes windows only on a display: so this runs
# under xvfb-run, in a Wine prefix of its own whose server starts on that display, and ends the
# session with wineboot while the lab's slow web server holds the run.
#   session_end_wine.sh CHECKTOOL-CLI.EXE PRODUCT-LAB
set -euo pipefail
cli=$1
lab=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
export CHECKTOOL_WINE_ROOT=${CHECKTOOL_WINE_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/checktool-windows/wine}/display
wine_run() { "$source_dir/scripts/wine-run" --display "$@"; }

work=$(mktemp -d)
cleanup() {
  [[ -n ${LAB[1]:-} ]] && exec {LAB[1]}>&-
  wine_run --end-server
  rm -rf "$work"
}
trap cleanup EXIT
# A server of its own on this display (one left from another display would make no windows here).
wine_run --keep-server

cat >"$work/scenario.json" <<'JSON'
{"web": {"https_port": 0, "checklist": {"product title": "Quenmora Lab", "product path agent": "/opt/lab/agent",
  "product path viewer": "/opt/lab/viewer", "agent log path": "/opt/lab/agent/Log",
  "web": ["127.0.0.1:{slow}", "127.0.0.1:{slow}", "127.0.0.1:{slow}"]}},
 "http": [{"name": "slow", "steps": [{"status": 200, "delay_ms": 300}]}]}
JSON
# The lab runs until its standard input closes; its first line names its ports.
coproc LAB { "$lab" "$work/scenario.json"; }
read -r -t 30 ports <&"${LAB[0]}" || { echo "the lab did not start" >&2; exit 1; }
mkfifo "$work/cli-output"
web_port=$(sed -n 's/.*"web_https":\([0-9]*\).*/\1/p' <<<"$ports")

(
  status=0
  timeout 120 "$source_dir/scripts/wine-run" --display "$cli" --web-host 127.0.0.1 --web-port "$web_port" \
    >"$work/cli-output" 2>"$work/cli-errors" || status=$?
  echo "$status" >"$work/cli-status"
) &
cli_job=$!
exec 8<"$work/cli-output"
# The caption, then the account row: the first web check is under way.
for _ in 1 2; do
  read -r -t 120 -u 8 line || { echo "checktool-cli printed no run" >&2; cat "$work/cli-errors" >&2; exit 1; }
done
wine_run wineboot --end-session
rest=$(timeout 60 cat <&8)
wait "$cli_job"
status=$(cat "$work/cli-status")
if [[ $status != 130 || $rest != *"(stopped)"* ]]; then
  printf 'expected a stopped run and status 130, got %s after:\n%s\n' "$status" "$rest" >&2
  cat "$work/cli-errors" >&2
  exit 1
fi
echo "the session's end stopped the run: $(tail -1 <<<"$rest")"
