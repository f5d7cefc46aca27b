#!/bin/sh
# Runs a test program on a virtual X display of its own with an accessibility
# bus, the toolkit's bridge to it always on. Exits 77 (skipped) with the reason
# when a piece is missing.
for tool in xvfb-run dbus-run-session xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/setup.sh installs it)"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "SKIP: python3-pyatspi is not installed (scripts/setup.sh installs it)"; exit 77; }
[ -e /usr/share/dbus-1/services/org.a11y.Bus.service ] ||
    { echo "SKIP: at-spi2-core (the accessibility bus) is not installed"; exit 77; }
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" dbus-run-session -- "$@"
