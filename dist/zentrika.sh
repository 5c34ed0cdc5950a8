#!/bin/sh
# Starts the installed game from its own folder, whatever the working directory.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/zentrika/zentrika" "$@"
