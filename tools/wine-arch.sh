#!/bin/sh
# Prints which Windows programs Wine can run on this machine: "win32" when the kernel runs
# 32-bit programs (Wine's 32-bit loader starts), otherwise "win64" (x64 programs only).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
