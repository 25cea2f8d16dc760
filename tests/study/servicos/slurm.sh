#!/usr/bin/env bash
# A single-host Slurm for the tests: munge, slurmctld and slurmd, all state under DIR.
#   slurm.sh inicia DIR   starts them and waits until the node takes jobs; prints SLURM_CONF
#   slurm.sh para DIR     stops them by the process ids it kept
set -euo pipefail
acao=$1
dir=$(realpath -m "$2")
para() {
  for pid in "$dir"/*.pid; do
    [ -f "$pid" ] && kill "$(cat "$pid")" 2>/dev/null || true
  done
  sleep 1
  for pid in "$dir"/*.pid; do
    [ -f "$pid" ] && kill -9 "$(cat "$pid")" 2>/dev/null || true
    rm -f "$pid"
  done
  [ -f "$dir/munge_dir" ] && rm -rf "$(cat "$dir/munge_dir")" "$dir/munge_dir" || true
}
if [ "$acao" = para ]; then para; exit 0; fi

mkdir -p "$dir/state" "$dir/spool" "$dir/log"
host=$(hostname -s)
cpus=$(nproc)
# munged runs as its own user, which must reach its folder: one of its own under /tmp, with the
# key readable by that user only.
munge=$(mktemp -d /tmp/quelna-munge.XXXXXX)
echo "$munge" > "$dir/munge_dir"
chown munge:munge "$munge"
chmod 711 "$munge"
dd if=/dev/urandom bs=1 count=1024 of="$munge/munge.key" status=none
chown munge:munge "$munge/munge.key"
chmod 400 "$munge/munge.key"
socket="$munge/munge.socket"
runuser -u munge -- /usr/sbin/munged --key-file="$munge/munge.key" --socket="$socket" \
  --pid-file="$munge/munged.pid" --log-file="$munge/munged.log" --seed-file="$munge/seed" --force
cp "$munge/munged.pid" "$dir/munged.pid"

cat > "$dir/slurm.conf" <<CONF
ClusterName=quelna
SlurmctldHost=$host
SlurmUser=root
AuthType=auth/munge
AuthInfo=socket=$socket
CredType=cred/munge
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
SchedulerType=sched/backfill
JobAcctGatherType=jobacct_gather/none
MpiDefault=none
ReturnToService=2
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmdSpoolDir=$dir/spool
StateSaveLocation=$dir/state
SlurmctldLogFile=$dir/log/slurmctld.log
SlurmdLogFile=$dir/log/slurmd.log
SlurmctldPort=16817
SlurmdPort=16818
NodeName=$host CPUs=$cpus State=UNKNOWN
PartitionName=quelna Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$dir/slurm.conf"
/usr/sbin/slurmctld -f "$SLURM_CONF"
/usr/sbin/slurmd -f "$SLURM_CONF"
for _ in $(seq 1 60); do
  if sinfo -h -o '%t' 2>/dev/null | grep -q -E '^idle'; then echo "$SLURM_CONF"; exit 0; fi
  sleep 0.5
done
echo "o Slurm não ficou pronto; veja $dir/log" >&2
para
exit 1
