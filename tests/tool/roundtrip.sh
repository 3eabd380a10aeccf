#!/bin/sh
# roundtrip.sh QXMTOOL GESTURE PACK-OPTIONS...
#
# Extracts the sections of GESTURE, packs them again with PACK-OPTIONS (the
# gesture's own settings) and passes when the result is GESTURE byte for byte.
set -u
tool=$1 gesture=$2
shift 2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
name=$(basename "$gesture" .qxm)

"$tool" extract "$gesture" "$scratch/parts" || exit 1
audio=
[ -f "$scratch/parts/$name.wav" ] && audio="--audio $scratch/parts/$name.wav"
# shellcheck disable=SC2086
"$tool" pack "$scratch/again.qxm" --image "$scratch/parts/$name.gif" \
    --button "$scratch/parts/$name-button.gif" $audio "$@" || exit 1
if ! cmp "$gesture" "$scratch/again.qxm"; then
    echo "FAIL: the packed gesture differs from $gesture" >&2
    exit 1
fi
