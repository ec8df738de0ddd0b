#!/usr/bin/env bash
# Starts a test cluster on this machine: one Slurm node, its controller and munge, as root on
# Debian 12 without systemd. Everything Slurm writes lives in a temporary folder; /etc/slurm is
# never touched.
#
#   eval "$(./scripts/test-cluster.sh start)"   # sets SLURM_CONF and MORVANE_CLUSTER for this shell
#   sbatch ... / morvane-cli sweep ... --slurm
#   ./scripts/test-cluster.sh stop              # shuts the cluster down, removes its folder
#
# Messages go to standard error; standard output carries only the export lines.
set -euo pipefail

say() { echo "test-cluster: $*" >&2; }

start() {
    [ "$(id -u)" -eq 0 ] || { say "must run as root"; exit 1; }
    "$(dirname "$0")/deps.sh" cluster >&2
    local dir
    dir=$(mktemp -d /tmp/morvane-cluster.XXXXXX)
    chmod 755 "$dir"
    mkdir -p "$dir/state" "$dir/spool"

    # munged refuses to run as root; it runs as the munge user, with its socket in /run/munge.
    mkdir -p /run/munge
    chown munge:munge /run/munge
    if [ -S /run/munge/munge.socket.2 ] && munge -n </dev/null >/dev/null 2>&1; then
        say "munged is already running; using it"
    else
        runuser -u munge -- /usr/sbin/munged
        echo yes >"$dir/started-munged"
    fi

    cat >"$dir/slurm.conf" <<CONF
ClusterName=morvane-test
SlurmctldHost=localhost
AuthType=auth/munge
CredType=cred/munge
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
# With the default cgroup tracking a job is reported COMPLETED with exit 0 but never ran, and
# the node drains.
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
SchedulerType=sched/backfill
MpiDefault=none
ReturnToService=2
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$(nproc)
PartitionName=debug Nodes=localhost Default=YES MaxTime=INFINITE State=UP
CONF
    export SLURM_CONF="$dir/slurm.conf"
    slurmctld
    slurmd -N localhost
    local state=""
    for _ in $(seq 1 60); do
        state=$(sinfo -h -o %T 2>/dev/null || true)
        [ "$state" = "idle" ] && break
        sleep 1
    done
    if [ "$state" != "idle" ]; then
        say "the node did not become idle (state: '${state}'); logs in $dir"
        exit 1
    fi
    say "cluster up: one node of $(nproc) CPUs, files in $dir"
    echo "export SLURM_CONF=$dir/slurm.conf"
    echo "export MORVANE_CLUSTER=$dir"
}

stop() {
    local dir=${MORVANE_CLUSTER:-}
    [ -n "$dir" ] && [ -f "$dir/slurm.conf" ] || { say "MORVANE_CLUSTER names no test cluster"; exit 1; }
    export SLURM_CONF="$dir/slurm.conf"
    scontrol shutdown >/dev/null 2>&1 || true
    for pidfile in "$dir/slurmctld.pid" "$dir/slurmd.pid"; do
        for _ in $(seq 1 20); do
            [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null || break
            sleep 0.5
        done
    done
    if [ -f "$dir/started-munged" ] && [ -f /run/munge/munged.pid ]; then
        kill "$(cat /run/munge/munged.pid)" 2>/dev/null || true
    fi
    rm -rf "$dir"
    say "cluster stopped"
}

case "${1:-}" in
    start) start ;;
    stop) stop ;;
    *) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
