#!/usr/bin/env bash
# Submits a small sweep to a test cluster with `morvane-cli sweep --slurm` and checks what it wrote:
# every run's files and a results.csv equal, byte for byte, to the same sweep run here with one
# job. Then a sweep whose first array task fails: its merge must end cancelled, not wait for ever.
# Needs SLURM_CONF (./scripts/test-cluster.sh start) and a release build.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$PWD/build/release/src/cli/morvane-cli
[ -n "${SLURM_CONF:-}" ] || { echo "slurm-round-trip: start a test cluster first" >&2; exit 1; }
work=$(mktemp -d /tmp/morvane-round-trip.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "slurm-round-trip: $*" >&2; exit 1; }

# Polls until none of the jobs is queued or running; squeue alone, once a second.
wait_for_jobs() {
    local limit=$1; shift
    local ids; ids=$(IFS=,; echo "$*")
    for _ in $(seq 1 "$limit"); do
        [ -z "$(squeue -h -j "$ids" 2>/dev/null)" ] && return 0
        sleep 1
    done
    squeue -j "$ids" >&2 || true
    fail "jobs $ids still queued after $limit s"
}

job_state() { scontrol show job "$1" | grep -o 'JobState=[A-Z_]*' | cut -d= -f2; }

cat >"$work/sweep.toml" <<'TOML'
generations = 8
repetitions = 3
seed = 7
keep = 2
[vary]
rule = ["maximax", "replicator"]
mutation = [0, 0.05]
TOML
started=$(date +%s)

out=$("$cli" sweep "$work/sweep.toml" --out "$work/cluster" --slurm --array-size 3)
echo "$out"
ids=$(echo "$out" | sed -n 's/^sweep job \([0-9]*\), merge job \([0-9]*\)$/\1 \2/p')
[ -n "$ids" ] || fail "no job ids in: $out"
read -r sweep_job merge_job <<<"$ids"
wait_for_jobs 300 "$sweep_job" "$merge_job"
[ "$(job_state "$merge_job")" = COMPLETED ] || fail "merge job $merge_job: $(job_state "$merge_job")"
runs=$(ls "$work/cluster/runs" | grep -c '\.summary\.csv$' || true)
[ "$runs" -eq 12 ] || fail "$runs of 12 runs' files written"
for i in 0 1 2; do
    [ -s "$work/cluster/manifest/shard-$i.json" ] || fail "no manifest of shard $i"
done
"$cli" sweep "$work/sweep.toml" --out "$work/local" --jobs 1 --quiet
cmp "$work/cluster/results.csv" "$work/local/results.csv"
cmp "$work/cluster/summary.csv" "$work/local/summary.csv"
[ "$(wc -l <"$work/cluster/results.csv")" -eq $((1 + 12 * 4)) ] || fail "results.csv has other rows"
echo "slurm-round-trip: 12 runs in 3 array tasks, merged; results.csv equals the local run"

# A task that fails: the file of its first run stands as a folder, so its rename fails.
PATH=/nonexistent "$cli" sweep "$work/sweep.toml" --out "$work/failing" --slurm --array-size 3 >/dev/null
mkdir -p "$work/failing/runs/point-000000-rep-000000.csv"
out=$(sh "$work/failing/submit.sh")
read -r sweep_job merge_job <<<"$(echo "$out" | sed -n 's/^sweep job \([0-9]*\), merge job \([0-9]*\)$/\1 \2/p')"
wait_for_jobs 300 "$sweep_job" "$merge_job"
state=$(job_state "$merge_job")
[ "$state" = CANCELLED ] || fail "the merge after a failed task is $state, not CANCELLED"
[ ! -e "$work/failing/results.csv" ] || fail "results.csv written although a task failed"
grep -q "Is a directory" "$work"/failing/logs/sweep-*_0.out || fail "task 0 did not say why it failed"
echo "slurm-round-trip: a failed array task cancels the merge"
echo "slurm-round-trip: done in $(( $(date +%s) - started )) s"
