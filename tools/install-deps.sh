#!/usr/bin/env bash
# Installs the Debian packages given as arguments that are not installed yet:
# with apt-get when run as root, else through sudo; without either it prints
# the apt-get line to run and fails.
set -euo pipefail

if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "This set-up needs a Debian or Ubuntu system (dpkg-query not found)." >&2
    exit 1
fi

missing=()
for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
elif command -v sudo >/dev/null 2>&1; then
    sudo apt-get update -qq
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
else
    echo "Please install the missing packages first:" >&2
    echo "  apt-get install ${missing[*]}" >&2
    exit 1
fi
