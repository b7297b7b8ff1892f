#!/bin/sh
# Runs PROGRAM (the window's notice test) on the session bus of
# dbus-run-session, with dunst as the notification service, and checks that
# dbus-monitor saw exactly one Notify from loglezer, with its figures.
# Usage: xvfb-run -a dbus-run-session -- sh notice_on_bus.sh PROGRAM
set -eu
program=$1
work=$(mktemp -d)
service=
monitor=
cleanup() {
    for pid in $monitor $service; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# Waits (a bounded number of looks) until the command succeeds.
await() {
    tries=0
    until "$@"; do
        tries=$((tries + 1))
        if [ "$tries" -ge 200 ]; then
            echo "notice_on_bus: gave up waiting for: $*" >&2
            cat "$work/dunst.log" "$work/monitor" >&2
            exit 1
        fi
        sleep 0.05
    done
}
has_service() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications | grep -q 'boolean true'
}
monitor_saw() { grep -q "$1" "$work/monitor"; }

: >"$work/dunstrc"
XDG_CONFIG_HOME=$work dunst -config "$work/dunstrc" >"$work/dunst.log" 2>&1 &
service=$!
dbus-monitor --session "interface='org.freedesktop.Notifications',member='Notify'" \
    "interface='org.freedesktop.Notifications',member='GetServerInformation'" >"$work/monitor" 2>&1 &
monitor=$!
await has_service
await monitor_saw NameAcquired

QT_QPA_PLATFORM=offscreen "$program"

# A last call of our own: once the monitor shows it, it has shown all before.
dbus-send --session --print-reply --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
    org.freedesktop.Notifications.GetServerInformation >/dev/null
await monitor_saw GetServerInformation

notices=$(grep -c '^   string "loglezer"$' "$work/monitor" || true)
if [ "$notices" != 1 ]; then
    echo "notice_on_bus: $notices notices from loglezer, not 1" >&2
    cat "$work/monitor" >&2
    exit 1
fi
grep -q 'string "Bundel: .* GiB van .* GiB gebruikt (100%), nog 0.00 GiB tot ' "$work/monitor" || {
    echo "notice_on_bus: the notice does not say the figures" >&2
    cat "$work/monitor" >&2
    exit 1
}
