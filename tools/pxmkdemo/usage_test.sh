#!/usr/bin/env bash
# pxmkdemo's command line: help and anything it does not know print the usage
# and write nothing, in the current folder or anywhere else.
#   usage_test.sh PXMKDEMO
set -euo pipefail
maker=$1
here=$(mktemp -d)
trap 'rm -rf "$here"' EXIT
cd "$here"

expect() {  # expect CODE ARGS...: the exit code, the usage printed, nothing written
    local want=$1 got=0 out
    shift
    out=$("$maker" "$@" 2>&1) || got=$?
    [[ "$got" == "$want" ]] || { echo "FAILED: pxmkdemo $* ended $got, not $want"; exit 1; }
    [[ "$out" == usage:* ]] || { echo "FAILED: pxmkdemo $* printed: $out"; exit 1; }
    [[ -z "$(ls -A)" ]] || { echo "FAILED: pxmkdemo $* wrote: $(ls -A)"; exit 1; }
}

expect 0 --help
expect 0 -h
expect 0 --setup --help
expect 2
expect 2 --setup
expect 2 --bogus
expect 2 --bogus demo
expect 2 demo other
expect 2 --setup --setup demo
echo "pxmkdemo usage: passed"
