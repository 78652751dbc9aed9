#!/bin/sh
# Runs the end-to-end check under its own Xvfb display: run_e2e.sh <zendra> <make_test_data> <artifacts dir>
exec python3 "$(dirname "$0")/e2e_zendra.py" "$@"
