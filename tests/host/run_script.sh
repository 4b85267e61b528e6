#!/bin/sh
# Runs kestrix-host in its own folder and checks its exit status and output.
#   run_script.sh WORKDIR EXIT EXPECTED PROGRAM ARGS...
# Passes when the program exits with EXIT and its standard output and error hold EXPECTED.
workdir=$1; want=$2; expected=$3; shift 3
mkdir -p "$workdir" && cd "$workdir" || exit 2
"$@" > out.txt 2>&1
got=$?
if [ "$got" != "$want" ]; then
  echo "exit status $got, expected $want"; cat out.txt; exit 1
fi
if ! grep -F -q -- "$expected" out.txt; then
  echo "output lacks: $expected"; cat out.txt; exit 1
fi
