#!/bin/sh
# Runs a test program as an unprivileged user when started as root, so that file permissions
# bind it; as any other user it runs the program as it is.
if [ "$(id -u)" = 0 ]; then
  exec setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
fi
exec "$@"
