#!/bin/sh
# Runs a test program in a fresh temporary folder, its working folder and its TMPDIR, and
# removes the folder afterwards with whatever the test left in it.
folder=$(mktemp -d "${TMPDIR:-/tmp}/jbw-run-XXXXXX") || exit 1
# Others may pass through: tests run as root drop to an unprivileged user to meet file
# permissions in folders of their own below it.
chmod 711 "$folder"
cd "$folder" || exit 1
TMPDIR=$folder "$@"
status=$?
chmod -R u+rwx "$folder" 2>/dev/null
rm -rf "$folder"
exit $status
