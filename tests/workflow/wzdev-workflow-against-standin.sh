#!/bin/sh
# wzdev workflow end to end on the stand-in MacBook against the stand-in gateway's executable: a whole healthy
# run ends uploaded and resolved; an upload the gateway keeps refusing with 503 is queued, and a retry against a
# healthy gateway empties the queue again. The three runs share one home folder, as one technician's Mac would.
# A typed credential never shows in the output.
# Arguments: the stand-in executable, the wzdev executable, the with-scenario script, the scenarios folder.
set -eu
standin=$1
wzdev=$2
withScenario=$3
scenarios=$4
work=$(mktemp -d)
pids=
trap 'for p in $pids; do kill "$p"; done; rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

start() { # name scenario
    "$standin" --listen 127.0.0.1:0 --scenario "$scenarios/$2" --log "$work/$1.log" > "$work/$1.banner" 2>&1 &
    pids="$pids $!"
}
baseUrl() { # name: the stand-in's base URL once it listens
    for _ in $(seq 100); do
        grep -q '^Listening on ' "$work/$1.banner" && break
        sleep 0.1
    done
    sed -n 's/^Listening on //p' "$work/$1.banner"
}
start healthy healthy.json
start refusing upload-503.json
healthy=$(baseUrl healthy)
refusing=$(baseUrl refusing)
[ -n "$healthy" ] && [ -n "$refusing" ] || fail "the stand-ins did not start"

set +e
"$wzdev" workflow --base "$healthy" upload nonsense > /dev/null 2>&1
[ $? -eq 2 ] || fail "an unknown step is not a usage error"
set -e

signIn="set korvaneIdentifier tech1 set korvaneCredential 123456 set korvaneUsePin true login"
session="scan mark keyboard pass mark sound pass mark camera pass mark microphone pass $signIn set empID E100 load-projects"
"$withScenario" apple-silicon-macbook sh -c "
    '$wzdev' workflow --base '$healthy' --no-wait $session upload resolve > '$work/healthy.json' &&
    '$wzdev' workflow --base '$refusing' --no-wait $session upload > '$work/refused.json' &&
    '$wzdev' workflow --base '$healthy' --no-wait $signIn retry > '$work/retried.json'" || fail "a run failed"

expect() { # file text
    grep -qF -- "$2" "$work/$1" || fail "$1 lacks $2: $(cat "$work/$1")"
}
expect healthy.json '"canUpload": true,'
expect healthy.json '"routingStatus": "Upload complete: Spring Macs row 42.",'
expect healthy.json '"korvaneResolveSummary": "Resolved existing Korvane unit #9001. Status: matched.",'
expect refused.json '"routingStatus": "Network upload failed. Saved to pending queue: The Sheets service returned an invalid response.",'
expect refused.json '"pendingCount": 1,'
expect retried.json '"routingStatus": "Retried pending queue: 1 uploaded, 0 remaining.",'
expect retried.json '"pendingCount": 0,'
# A typed credential is never printed back: not in a step, a change or the fields; an emptied one shows as "".
"$wzdev" workflow --each set korvaneCredential 123456 > "$work/each.json" || fail "the credential run failed"
! grep -q 123456 "$work/each.json" || fail "the credential was printed: $(cat "$work/each.json")"
expect each.json '"step":"set korvaneCredential •••"'
expect healthy.json '"korvaneCredential": "",'
echo "wzdev workflow against the stand-in: passed"
