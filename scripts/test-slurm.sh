#!/usr/bin/env bash
# Renders a sequence on a real Slurm cluster of one node on this machine and checks that
# the farm gives the frames one process gives, byte for byte. munged, slurmctld and slurmd
# (Debian's munge and slurm-wlm, installed by scripts/setup.sh) run from a private folder
# with a generated slurm.conf, their own munge socket and two free ports, so nothing in
# /etc, /run or /var is touched and a system Slurm or munge, if any, is left alone. A job
# array of 4 tasks renders 48 frames with --chunk and --skip-existing; one task is killed
# outright midway (SIGKILL, as a node that dies), resubmitted, and must render only its
# missing frames. The daemons and any job left are stopped on every way out.
#
#   scripts/test-slurm.sh [path/to/solvane-render]   (default: build/default/bin/...)
#
# SOLVANE_SLURM_KEEP=1 keeps the folder (logs, frames) after a successful run too.
set -euo pipefail
cd "$(dirname "$0")/.."

render=$(realpath "${1:-build/default/bin/solvane-render}")
input=$(realpath assets/demo/skyline.png)
frames=48
chunks=4
killed=2 # the task killed midway, resubmitted on its own
# Animated so that a frame taken from the wrong time or chunk would differ.
look=(--param Input/Threshold=35 --param Noise=30 --key Position@1=60,40 --key Position@48=420,40)

fail() {
  echo "test-slurm: $*" >&2
  exit 1
}
for tool in munged mungekey munge slurmctld slurmd sbatch squeue sinfo scancel scontrol; do
  command -v "$tool" >/dev/null || fail "$tool is missing: scripts/setup.sh installs munge and slurm-wlm"
done
[ -x "$render" ] || fail "$render is not built (scripts/build.sh default)"

work=$(mktemp -d /tmp/solvane-slurm.XXXXXX)
# munged wants every folder above its socket searchable by all.
chmod 755 "$work"
mkdir -p "$work/state" "$work/spool" "$work/reference" "$work/farm"
daemons=()
now() { date +%s%N; }
started=$(now)
# Seconds since a time from now(), to a tenth.
elapsed() {
  local tenths=$((($(now) - $1) / 100000000))
  echo "$((tenths / 10)).$((tenths % 10))"
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

no_jobs() { [ -z "$(squeue -h -o %i 2>/dev/null)" ]; }

stop_cluster() {
  local status=$?
  set +e
  if [ -n "${SLURM_CONF:-}" ] && [ ${#daemons[@]} -gt 1 ]; then
    # Jobs run under slurmstepd, which outlives slurmd: cancel them first (SIGTERM, then
    # SIGKILL after KillWait).
    scancel --quiet --user="$(id -un)" 2>/dev/null
    wait_for 30 no_jobs || echo "test-slurm: jobs still listed after 30 s" >&2
  fi
  for ((i = ${#daemons[@]} - 1; i >= 0; i--)); do
    kill "${daemons[i]}" 2>/dev/null
    wait "${daemons[i]}" 2>/dev/null
  done
  if [ $status -ne 0 ]; then
    for log in "$work"/*.log; do
      [ -f "$log" ] && { echo "--- $log" >&2; tail -n 15 "$log" >&2; }
    done
    echo "test-slurm: failed; logs and frames kept in $work" >&2
  elif [ "${SOLVANE_SLURM_KEEP:-0}" = 1 ]; then
    echo "test-slurm: kept $work"
  else
    rm -rf "$work"
  fi
  exit $status
}
trap stop_cluster EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

port_free() { ! (echo >"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
free_port() {
  local port=$1
  while ! port_free "$port" || [ "$port" = "${2:-}" ]; do port=$((port + 1)); done
  echo "$port"
}
ctld_port=$(free_port 16817)
slurmd_port=$(free_port $((ctld_port + 1)) "$ctld_port")

# munge: a key of this run's own and a private socket.
mungekey --create --keyfile="$work/munge.key"
munged --foreground --key-file="$work/munge.key" --socket="$work/munge.sock" \
  --pid-file="$work/munged.pid" --log-file="$work/munged.log" --seed-file="$work/munged.seed" \
  2>>"$work/munged.log" &
daemons+=($!)
munge_works() { munge -n -S "$work/munge.sock" 2>/dev/null | unmunge -S "$work/munge.sock" >/dev/null 2>&1; }
wait_for 15 munge_works || fail "munged did not start"

node=farmnode
cat >"$work/slurm.conf" <<EOF
ClusterName=solvane
SlurmctldHost=$(hostname -s)(127.0.0.1)
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
SlurmUser=$(id -un)
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$work/munge.sock
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
MailProg=/bin/true
# No cgroups (containers and CI machines may not delegate them) and no accounting.
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MpiDefault=none
SwitchType=switch/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
KillWait=5
MinJobAge=600
NodeName=$node NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=render Nodes=$node Default=YES MaxTime=INFINITE State=UP
EOF
export SLURM_CONF="$work/slurm.conf"
slurmctld -D -f "$SLURM_CONF" >>"$work/slurmctld.out" 2>&1 &
daemons+=($!)
slurmd -D -f "$SLURM_CONF" -N "$node" >>"$work/slurmd.out" 2>&1 &
daemons+=($!)
node_idle() { [ "$(sinfo -h -n "$node" -o %T 2>/dev/null)" = idle ]; }
wait_for 60 node_idle || fail "node $node did not come up idle"
echo "test-slurm: cluster up in $(elapsed "$started") s (ports $ctld_port, $slurmd_port, $(nproc) CPUs)"

t=$(now)
"$render" --quiet --threads 2 --frames 1-$frames "${look[@]}" "$input" "$work/reference/f_####.png"
echo "test-slurm: one process, 2 threads: $frames frames in $(elapsed "$t") s"

# N is fixed: a task resubmitted alone sees an array of one in SLURM_ARRAY_TASK_COUNT.
cat >"$work/task.sh" <<EOF
#!/bin/bash
exec "$render" --quiet --skip-existing --chunk "\$SLURM_ARRAY_TASK_ID/$chunks" \\
  --frames 1-$frames ${look[*]} "$input" "$work/farm/f_####.png"
EOF
chmod +x "$work/task.sh"

share=$(((killed * frames) / chunks + 1))-$((((killed + 1) * frames) / chunks))
frames_of_killed() {
  local count=0 n
  for ((n = ${share%-*}; n <= ${share#*-}; n++)); do
    [ -f "$(printf '%s/farm/f_%04d.png' "$work" "$n")" ] && count=$((count + 1))
  done
  echo $count
}
some_frames_of_killed() { [ "$(frames_of_killed)" -ge 3 ]; }

t=$(now)
job=$(sbatch --parsable --array=0-$((chunks - 1)) --cpus-per-task=1 -J solvane \
  -o "$work/task-%a.log" "$work/task.sh")
wait_for 300 some_frames_of_killed || fail "task $killed wrote no frames"
scancel --full --signal=KILL "${job}_$killed"
wait_for 300 no_jobs || fail "the array did not finish in 300 s"
left=$(frames_of_killed)
echo "test-slurm: array of $chunks tasks in $(elapsed "$t") s; task $killed (frames $share)" \
  "killed with SIGKILL after $left of $((frames / chunks)) frames"
[ "$left" -lt $((frames / chunks)) ] || fail "task $killed finished before it was killed"
for ((k = 0; k < chunks; k++)); do
  state=$(scontrol -o show job "${job}_$k" | grep -o 'JobState=[A-Z_]*')
  if [ $k -eq $killed ]; then
    [ "$state" != JobState=COMPLETED ] || fail "task $k: $state after SIGKILL"
  else
    [ "$state" = JobState=COMPLETED ] || fail "task $k: $state ($(cat "$work/task-$k.log"))"
  fi
done

t=$(now)
sbatch --wait --array=$killed --cpus-per-task=1 -J solvane -o "$work/resubmitted.log" \
  "$work/task.sh" >/dev/null || fail "resubmitted task $killed failed: $(cat "$work/resubmitted.log")"
expected="$((frames / chunks - left)) of $((frames / chunks)) frames written, $left skipped (already whole)"
grep -qF "$expected" "$work/resubmitted.log" ||
  fail "resubmitted task $killed: wanted \"$expected\", got: $(cat "$work/resubmitted.log")"
echo "test-slurm: resubmitted task $killed in $(elapsed "$t") s: $(cat "$work/resubmitted.log")"

for ((n = 1; n <= frames; n++)); do
  name=$(printf 'f_%04d.png' "$n")
  cmp -s "$work/reference/$name" "$work/farm/$name" || fail "$name differs from the one-process render"
done
leftovers=$(find "$work/farm" -name '.partial-*' | wc -l)
echo "test-slurm: all $frames frames identical to the one-process render" \
  "($leftovers temporary file(s) of the killed task left beside them); $(elapsed "$started") s in all"
