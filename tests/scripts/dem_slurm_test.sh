#!/usr/bin/env bash
# scripts/dem-slurm.sbatch on a one-node Slurm cluster started here (munged, slurmctld and slurmd on
# localhost with a generated slurm.conf in a scratch folder): the array makes the tiles, the
# dependent job the mosaic. Skipped (exit 77, the reason printed) where Slurm or munge is not
# installed or the cluster cannot start (no root, a container without the rights slurmd needs).
#   dem_slurm_test.sh ALTIMETRA_CLI SHARED_DIR WORK_DIR
set -uo pipefail
cli="$1"; shared="$2"; work="$3"
# The program by an absolute path: the test works in its own folder.
case "$cli" in */*) cli="$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")" ;; esac
here="$(cd "$(dirname "$0")" && pwd)"
src="$here/../.."
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; [ -d "$work/log" ] && tail -n 20 "$work"/log/*.log; exit 1; }
for p in slurmctld slurmd sbatch squeue munged mungekey; do
  command -v "$p" >/dev/null || PATH="$PATH:/usr/sbin" command -v "$p" >/dev/null ||
    skip "$p is not installed (Debian: slurm-wlm and munge; not in scripts/install-deps)"
done
export PATH="$PATH:/usr/sbin"
[ "$(id -u)" = 0 ] || skip "a test cluster needs root (slurmd)"
[ -r "$shared/bench/synth-contours.txt" ] || skip "no benchmark data in $shared"
rm -rf "$work"; mkdir -p "$work"/{log,spool,state,munge,run} || exit 1
cd "$work" || exit 1
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  sleep 1
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
}
trap cleanup EXIT

# munge: a key of our own and a socket in the scratch folder.
mungekey -c -k "$work/munge/munge.key" 2>/dev/null || dd if=/dev/urandom of="$work/munge/munge.key" bs=1024 count=1 2>/dev/null
chmod 700 "$work/munge"; chmod 600 "$work/munge/munge.key"
munged --key-file="$work/munge/munge.key" --socket="$work/munge/socket" \
  --pid-file="$work/munge/munged.pid" --log-file="$work/log/munged.log" --seed-file="$work/munge/seed" \
  --force 2>>"$work/log/munged.log" || skip "munged does not start here: $(tail -n 1 "$work/log/munged.log")"
sleep 1
[ -f "$work/munge/munged.pid" ] && pids+=("$(cat "$work/munge/munged.pid")")

host="$(hostname -s)"
# Ports of this run, so that two runs on one machine do not meet.
port=$((20000 + ($$ % 10000) * 2))
cpus="$(nproc)"
cat > slurm.conf <<CONF
ClusterName=alttest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$port
SlurmdPort=$((port + 1))
AuthType=auth/munge
AuthInfo=socket=$work/munge/socket
CredType=cred/munge
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/run/slurmctld.pid
SlurmdPidFile=$work/run/slurmd.pid
SlurmctldLogFile=$work/log/slurmctld.log
SlurmdLogFile=$work/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
SchedulerType=sched/backfill
ReturnToService=2
MpiDefault=none
NodeName=$host NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=test Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$work/slurm.conf"
slurmctld -D -i -f "$SLURM_CONF" >>"$work/log/slurmctld.out" 2>&1 &
pids+=($!)
slurmd -D -f "$SLURM_CONF" >>"$work/log/slurmd.out" 2>&1 &
pids+=($!)
up=0
for i in $(seq 1 30); do
  if sinfo -h -o %t 2>/dev/null | grep -qE "^(idle|mix|alloc)"; then up=1; break; fi
  sleep 1
done
[ $up = 1 ] || skip "the one-node cluster does not come up here: $(tail -n 2 "$work"/log/*.log | tr '\n' ' ')"

awk -v DX=500000 -v DY=4000000 -f "$src/bench/synth_to_csv.awk" "$shared/bench/synth-contours.txt" > synth.csv
ogr2ogr -f GPKG synth.gpkg synth.csv -oo GEOM_POSSIBLE_NAMES=WKT -oo KEEP_GEOM_COLUMNS=NO \
  -oo AUTODETECT_TYPE=YES -a_srs EPSG:32654 -nln contours -nlt LINESTRING || fail "ogr2ogr"
export ALTIMETRA_CLI="$cli"
args=("$work/synth.gpkg" -o "$work/m.vrt" --interval 100 --field elev --region 500000 4000000 504000 4003000
      --tile-size 21x16 --overlap 60)
export SBATCH_CHDIR="$work"
out="$("$src/scripts/dem-slurm.sbatch" --submit "${args[@]}")" || fail "submit: $out"
echo "$out"
grep -q "(4 tasks)" <<< "$out" || fail "not 4 array tasks: $out"
for i in $(seq 1 120); do
  [ -z "$(squeue -h 2>/dev/null)" ] && break
  sleep 1
done
[ -z "$(squeue -h)" ] || fail "jobs still queued after 120 s: $(squeue)"
[ -f "$work/m.vrt" ] || fail "no mosaic: $(cat "$work"/slurm-*.out 2>/dev/null)"
gdalinfo "$work/m.vrt" | grep -q "^Size is 41, 31" || fail "mosaic size"
"$cli" dem "$work/synth.gpkg" -o whole.tif --interval 100 --field elev \
  --region 500000 4000000 504000 4003000 --quiet || fail "whole dem"
gdal_translate -q -of XYZ m.vrt m.xyz && gdal_translate -q -of XYZ whole.tif whole.xyz || fail "gdal_translate"
cmp -s m.xyz whole.xyz || fail "the mosaic differs from the whole grid"
echo "dem-slurm: array of 4 tiles and the mosaic job as expected"
