#!/bin/sh
# wzdev sheets against the stand-in gateway's executable: an upload that the gateway always answers with 503
# ends after six POSTs with the invalid-response text, and without a token nothing reaches the gateway.
# Arguments: the stand-in executable, the wzdev executable.
set -eu
standin=$1
wzdev=$2
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid"; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

printf '%s\n' '{"POST /sheets": [{"status": 503}], "GET /sheets": [{"status": 500}]}' > "$work/scenario.json"
printf '%s\n' '{"action": "upload", "schema": "wrenlow.zel.sheet-row.v1"}' > "$work/payload.json"
"$standin" --listen 127.0.0.1:0 --scenario "$work/scenario.json" --log "$work/log.jsonl" > "$work/banner" &
pid=$!
for _ in $(seq 100); do
    grep -q '^Listening on ' "$work/banner" && break
    sleep 0.1
done
base=$(sed -n 's/^Listening on //p' "$work/banner")
[ -n "$base" ] || fail "the stand-in did not start"

if "$wzdev" sheets --base "$base" --token T --no-wait upload "$work/payload.json" > "$work/out" 2> "$work/err"; then
    fail "upload succeeded against a gateway that always answers 503"
fi
[ "$(cat "$work/err")" = "The Sheets service returned an invalid response." ] || fail "upload error: $(cat "$work/err")"
[ "$(grep -c '"method": "POST"' "$work/log.jsonl")" = 6 ] || fail "expected six POSTs: $(cat "$work/log.jsonl")"
[ "$(grep -c '"authorization": "Bearer T"' "$work/log.jsonl")" = 6 ] || fail "a POST without the bearer token"

if "$wzdev" sheets --base "$base" list-projects --emp X > "$work/out" 2> "$work/err"; then
    fail "list-projects succeeded without a token"
fi
[ "$(cat "$work/err")" = "Sign in to Korvane to use Sheets routing." ] || fail "no-token error: $(cat "$work/err")"
[ "$(wc -l < "$work/log.jsonl")" -eq 6 ] || fail "a request reached the gateway without a token"
echo "wzdev sheets against the stand-in: passed"
