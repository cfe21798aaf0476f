#!/bin/sh
# makensis making a 64-bit Unicode installer. CPack's script does not choose the target, and the
# default, a 32-bit ANSI installer, would need 32-bit Wine to be tested and could not hold the
# Bulgarian names of the Start-menu entry. The target must be set before the script's first line.
exec makensis "-XTarget amd64-unicode" "$@"
