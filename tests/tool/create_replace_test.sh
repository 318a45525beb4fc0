#!/bin/sh
# velmora-tool create: an earlier game is replaced only with --force, and a folder that
# cannot take the files is named with the system's reason.
set -u
tool="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1

fail() {
    echo "FAIL: $*"
    exit 1
}

"$tool" create --game war --land 40 --player 1=human --seed 5 >out 2>err ||
    fail "the first creation failed: $(cat err)"
before=$(cksum war.hst war.p01)

"$tool" create --game war --land 30 --player 1=human --seed 6 >out 2>err &&
    fail "the second creation replaced the earlier game without --force"
grep -qF "velmora-tool create: war.hst, war.p01 already exist (an earlier game); give --force to replace them" err ||
    fail "unexpected refusal: $(cat err)"
[ "$(cksum war.hst war.p01)" = "$before" ] || fail "the refused creation changed the files"

"$tool" create --game war --land 30 --player 1=human --seed 6 --force >out 2>err ||
    fail "the forced creation failed: $(cat err)"
[ "$(cksum war.hst war.p01)" != "$before" ] || fail "the forced creation did not replace the files"

"$tool" create --game nosuch/war --land 40 --player 2=computer --seed 5 >out 2>err &&
    fail "a creation into a missing folder succeeded"
grep -qF "velmora-tool create: Fatal Error: Couldn't open host file: nosuch/war.hst: No such file or directory" err ||
    fail "unexpected failure message: $(cat err)"
grep -qF "Game 'nosuch/war' generated, but no file was written, with seed 5" out ||
    fail "unexpected summary: $(cat out)"
echo "velmora-tool create replaces only with --force"
