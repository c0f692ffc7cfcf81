#!/bin/sh
# with-dpi.sh DPI COMMAND...: runs COMMAND on $DISPLAY after giving the screen
# DPI dots per inch the way a desktop does, through the Xft.dpi resource.
dpi=$1
shift
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t%s\n' "$dpi")" || exit 1
exec "$@"
