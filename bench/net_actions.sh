#!/usr/bin/env bash
# The user actions of orvsched-cli on a group behind a FUSE pass-through file system, counted and
# timed: for each action the file system is mounted anew (with DELAY_US added to every operation),
# the action runs once under `strace -f -c`, and the line says what reached the file system.
#
# usage: bench/net_actions.sh CLI PASSFS FOLDER DATE [DELAY_US] [ACTIONS...]
#
#   CLI      orvsched-cli to run (e.g. build-bench/src/cli/orvsched-cli)
#   PASSFS   orv_passfs (e.g. build-bench/helpers/orv_passfs)
#   FOLDER   the folder holding Bench.sch and its tables (made by `overview_bench RECORDS FOLDER`,
#            with a person "Walker|Sam||Sales" added: `orvsched-cli person-add FOLDER/Bench.sch
#            'Walker|Sam||Sales'`); the write actions leave it as they found it, less the
#            compress, which packs the tables
#   DATE     the day of the lists, YYYY-MM-DD (the middle day of the table)
#   DELAY_US microseconds added to every file-system operation (default 0)
#   ACTIONS  any of: today itemday dayglance monthglance report utilization reserve cancel
#            blockout unblock compress (default: all but compress)
#
# Prints one markdown row per action: the action, the FUSE operations that reached the file
# system (all, reads), the engine's system calls (pread, pwrite, fcntl locks) and the time the
# action took with strace attached. Set NO_STRACE=1 for the time without strace (no call counts).
set -euo pipefail

cli=$(realpath "$1")
passfs=$(realpath "$2")
folder=$(realpath "$3")
date=$4
delay=${5:-0}
shift $(($# < 5 ? $# : 5))
actions=("$@")
[[ ${#actions[@]} -gt 0 ]] || actions=(today itemday dayglance monthglance report utilization reserve cancel blockout unblock)

month=${date:0:7}
year=${date:0:4}
mnt=$(mktemp -d /tmp/orv-netmnt-XXXXXX)
counts=$(mktemp /tmp/orv-netcounts-XXXXXX)
trace=$(mktemp /tmp/orv-nettrace-XXXXXX)
trap 'fusermount3 -u "$mnt" 2>/dev/null || true; rmdir "$mnt"; rm -f "$counts" "$trace"' EXIT

group="$mnt/Bench.sch"
command_of() {
  case $1 in
    today) cmd=(today "$group" --date "$date") ;;
    itemday) cmd=(itemday "$group" "Room 150" "$date") ;;
    dayglance) cmd=(dayglance "$group" "$date") ;;
    monthglance) cmd=(monthglance "$group" "$month") ;;
    report) cmd=(report "$group" "$month-01" "$month-31") ;;
    utilization) cmd=(utilization "$group" "$year-01-01" "$year-12-31") ;;
    reserve) cmd=(reserve "$group" "Room 150" "$date" 21:00 22:00 --person "Walker|Sam||Sales") ;;
    cancel) cmd=(cancel "$group" "Room 150" "$date" 21:00) ;;
    blockout) cmd=(blockout "$group" "$date" 22:00 23:00 --item "Room 151") ;;
    unblock) cmd=(cancel "$group" "Room 151" "$date" 22:00) ;;
    compress) cmd=(compress "$group") ;;
    *) echo "unknown action $1" >&2; exit 2 ;;
  esac
}

echo "| action | lines | FUSE ops | FUSE reads | pread | pwrite | fcntl | other calls | seconds |"
echo "|---|---|---|---|---|---|---|---|---|"
for action in "${actions[@]}"; do
  rm -f "$counts"
  "$passfs" "$folder" "$mnt" -o "delay_us=$delay" -o "counts=$counts"
  command_of "$action"
  start=$(date +%s.%N)
  if [[ ${NO_STRACE:-0} == 1 ]]; then
    lines=$("$cli" "${cmd[@]}" 2>/dev/null | wc -l)
  else
    lines=$(strace -f -c -o "$trace" "$cli" "${cmd[@]}" 2>/dev/null | wc -l)
  fi
  end=$(date +%s.%N)
  fusermount3 -u "$mnt"
  for _ in $(seq 50); do [[ -s $counts ]] && break; sleep 0.1; done
  total=$(awk '$1=="total"{print $2}' "$counts")
  reads=$(awk '$1=="read"{print $2}' "$counts")
  if [[ ${NO_STRACE:-0} == 1 ]]; then
    pread=- pwrite=- fcntl=- other=-
  else
    calls() { awk -v n="$1" '$NF==n{print $4}' "$trace"; }
    pread=$(calls pread64); pwrite=$(calls pwrite64); fcntl=$(calls fcntl)
    all=$(awk '$NF=="total"{print $4}' "$trace")
    other=$((all - ${pread:-0} - ${pwrite:-0} - ${fcntl:-0}))
  fi
  printf '| %s | %s | %s | %s | %s | %s | %s | %s | %.2f |\n' "$action" "$lines" "${total:-0}" \
    "${reads:-0}" "${pread:-0}" "${pwrite:-0}" "${fcntl:-0}" "$other" "$(awk -v a="$start" -v b="$end" 'BEGIN{print b - a}')"
done
