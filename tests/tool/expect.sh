#!/bin/sh
# expect.sh STATUS PATTERN SAMPLES COMMAND [ARGS...]
#
# SAMPLES and COMMAND may be relative to the current directory.
#
# Runs COMMAND in a scratch directory and passes when it exits with STATUS
# and its output (stdout and stderr together) matches the extended regular
# expression PATTERN. The scratch directory holds:
#   samples/   copies of the sample gestures in SAMPLES
#   bad/       truncated.qxm: the wave sample cut short
#   warn/      columns.qxm: the wave sample with frame width 30 (16 columns
#              left over)
#   errors/    silent.qxm: the wave sample whose sound starts on frame 9 of 8
#   big.wav    30001 bytes
#   pictures/  the test GIFs: hand-made ones, and the encoder corpus
set -u
data=$(cd "$(dirname "$0")/../data" && pwd)
expected=$1 pattern=$2 samples=$(cd "$3" && pwd) command=$4
shift 4
case $command in /*) ;; */*) command=$(pwd)/$command ;; esac

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 99
mkdir samples bad warn errors pictures
cp "$data"/gif/*.gif "$data"/gif-encoders/*.gif pictures/
cp "$samples"/*.qxm samples/
wave=samples/wave.qxm
head -c 1000 "$wave" > bad/truncated.qxm
# "Wave" is 4 bytes, so the settings block starts at 13: the frame width's
# low byte is at 18 and the audio start frame at 23.
{ head -c 18 "$wave"; printf '\036'; tail -c +20 "$wave"; } > warn/columns.qxm
{ head -c 23 "$wave"; printf '\011'; tail -c +25 "$wave"; } > errors/silent.qxm
head -c 30001 /dev/zero > big.wav

output=$("$command" "$@" 2>&1)
status=$?
printf '%s\n' "$output"
if [ "$status" -ne "$expected" ]; then
    echo "FAIL: exit status $status, expected $expected" >&2
    exit 1
fi
if ! printf '%s\n' "$output" | grep -Eq -- "$pattern"; then
    echo "FAIL: output does not match: $pattern" >&2
    exit 1
fi
