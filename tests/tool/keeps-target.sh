#!/bin/sh
# keeps-target.sh QXMTOOL SAMPLES
#
# A pack or extract that fails leaves no partial file: an existing target
# stays byte for byte, and no new file appears.
set -u
tool=$1 samples=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 99
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tool" extract "$samples/wave.qxm" parts >/dev/null || fail "extract of the sample"
printf 'old gesture' > out.qxm

# Refused by the builder's checks: the sound is too large.
head -c 30001 /dev/zero > big.wav
"$tool" pack out.qxm --name Wave --image parts/wave.gif --button parts/wave-button.gif \
    --audio big.wav --frame-width 32 && fail "pack with a 30001-byte sound succeeded"
[ "$(cat out.qxm)" = "old gesture" ] || fail "the existing target changed"

# The target cannot be written: its directory does not exist.
"$tool" pack missing-dir/out.qxm --name Wave --image parts/wave.gif --button parts/wave-button.gif \
    --frame-width 32 && fail "pack into a missing directory succeeded"
[ -e missing-dir ] && fail "pack made the missing directory"

# Nothing but the old target and the extracted parts is left.
leftover=$(ls -A | grep -v -e '^out\.qxm$' -e '^parts$' -e '^big\.wav$')
[ -z "$leftover" ] || fail "files left behind: $leftover"

# A good pack replaces the target whole.
"$tool" pack out.qxm --name Wave --image parts/wave.gif --button parts/wave-button.gif \
    --frame-width 32 >/dev/null || fail "good pack failed"
cmp -s out.qxm "$samples/wave.qxm" && fail "settings not applied"
head -c 4 out.qxm | grep -q QXMG || fail "target is not a gesture"

# Without a sound, extract writes the two pictures only.
"$tool" extract out.qxm silent >/dev/null || fail "extract of a gesture without sound"
[ "$(ls silent | tr '\n' ' ')" = "out-button.gif out.gif " ] || fail "extract wrote: $(ls silent)"
exit 0
