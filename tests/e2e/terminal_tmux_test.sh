#!/usr/bin/env bash
# The interactive screen driven as a person would drive it: keys typed into a
# tmux pane, the pane read back. Each step waits, within a bound, for the
# screen to show its result; nothing here measures speed.
#
# usage: terminal_tmux_test.sh CORVALE_EXECUTABLE
set -euo pipefail

exe=${1:?usage: terminal_tmux_test.sh CORVALE_EXECUTABLE}
export TERM=xterm-256color LC_ALL=C.UTF-8
session=corvale
work=$(mktemp -d)
startup=$work/device/Windows/StartUp

# A server of our own, its socket in the work folder, with no user settings.
t() { tmux -S "$work/tmux.sock" -f /dev/null "$@"; }
cleanup() {
  t kill-server 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $1" >&2
  echo "--- the pane:" >&2
  t capture-pane -p -t "$session" >&2 2>/dev/null || true
  exit 1
}

pane() { t capture-pane -p -t "$session" 2>/dev/null || true; }

# Waits until the pane matches (or, with "not", stops matching) an extended regex.
wait_for() {
  local negate=0
  if [[ $1 == not ]]; then negate=1; shift; fi
  local pattern=$1 what=$2
  for _ in $(seq 100); do
    if pane | grep -qE -- "$pattern"; then
      ((negate)) || return 0
    else
      ((negate)) && return 0
    fi
    sleep 0.1
  done
  fail "$what"
}

# The display width of the pane's first line: the navigation bar, which ends in "ok".
nav_width() { pane | head -n 1 | wc -L; }

wait_for_nav_width() {
  for _ in $(seq 100); do
    [[ $(nav_width) == "$1" ]] && return 0
    sleep 0.1
  done
  fail "the navigation bar is $1 cells wide"
}

keys() {
  t send-keys -t "$session" "$@"
  sleep 0.1  # lets each key arrive on its own, as a person types
}

mkdir -p "$startup"
printf '16#"\\Windows\\clock"' >"$startup/Clock.lnk"
printf '21#"\\Windows\\notes.exe"' >"$startup/Notes.lnk"

t new-session -d -s "$session" -x 80 -y 30 \
  "env TERM=xterm-256color LC_ALL=C.UTF-8 '$exe' --device '$work/device'; echo \$? >'$work/status'"

wait_for '相关操作' "the menu bar shows its popup button"
wait_for '\\Windows\\clock' "the list shows the first shortcut's target"
wait_for '\\Windows\\notes\.exe' "the list shows the second shortcut's target"
wait_for 'F1 menu' "the key help shows under the screen"
wait_for_nav_width 30

# Select the first row, then look at its details through the menu.
keys Down
keys F1
wait_for '查看详细信息' "F1 opens the popup"
keys Down
keys Enter
wait_for '\\Windows\\StartUp\\(Clock|Notes)\.lnk' "a box shows the marked shortcut's path"
chosen=$(pane | grep -oE '(Clock|Notes)\.lnk' | head -n 1)
case $chosen in
  Clock.lnk) target='\\Windows\\clock' other='\\Windows\\notes\.exe' ;;
  *) target='\\Windows\\notes\.exe' other='\\Windows\\clock' ;;
esac
keys Enter
wait_for not 'StartUp\\' "Enter closes the box"

# Delete the same entry, answering the question with y.
keys F1
wait_for '删除该启动项' "F1 opens the popup again"
keys Down
keys Down
keys Enter
wait_for '您真的要删除启动项' "the delete question shows"
keys y
for _ in $(seq 100); do
  [[ -e $startup/$chosen ]] || break
  sleep 0.1
done
[[ ! -e $startup/$chosen ]] || fail "y deletes $chosen from the device"
[[ -e $startup/$([[ $chosen == Clock.lnk ]] && echo Notes.lnk || echo Clock.lnk) ]] || fail "the other shortcut stays"
wait_for not "$target" "the list no longer shows the deleted entry"
wait_for "$other" "the list still shows the other entry"

# Rotate to landscape: the bars follow the screen's new width.
keys C-r
wait_for_nav_width 40
wait_for "$other" "the list still shows after rotating"

# The right soft key exits.
keys F2
for _ in $(seq 100); do
  [[ -s $work/status ]] && break
  sleep 0.1
done
[[ -s $work/status ]] || fail "F2 ends the program"
status=$(cat "$work/status")
[[ $status == 0 ]] || fail "the program exits with status 0, not $status"
echo "PASS"
