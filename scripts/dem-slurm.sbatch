#!/usr/bin/env bash
#SBATCH --job-name=altimetra-dem
# Tiled `altimetra-cli dem` as a Slurm job array: one array task per tile, then the mosaic.
#
#   scripts/dem-slurm.sbatch --submit INPUT -o NAME.vrt --interval D --tile-size N[xM] [dem options]
#
# submits the array (sbatch --array=0-(tiles-1)) and a mosaic job that runs after every task has
# succeeded (--dependency=afterok), and prints both job ids. Options of sbatch itself go in
# SBATCH_* environment variables (SBATCH_PARTITION, SBATCH_TIMELIMIT, ...). Run by sbatch, the
# script makes tile $SLURM_ARRAY_TASK_ID, or the mosaic when it is not an array task. The nodes
# must see the same files at the same paths; ALTIMETRA_CLI names the program (default: the
# altimetra-cli on PATH). Tiles already complete from the same contours are kept: submit again
# after a failure.
set -euo pipefail

cli="${ALTIMETRA_CLI:-altimetra-cli}"
if [ "${1:-}" = "--submit" ]; then
  shift
  n=$("$cli" tiles "$@" | wc -l)
  if [ "$n" -lt 1 ]; then echo "dem-slurm: no tiles" >&2; exit 2; fi
  array=$(sbatch --parsable --array=0-$((n - 1)) "$0" "$@")
  array=${array%%;*}
  mosaic=$(sbatch --parsable --dependency=afterok:"$array" "$0" "$@")
  echo "tiles: job $array ($n tasks); mosaic: job ${mosaic%%;*}"
  exit 0
fi
if [ -n "${SLURM_ARRAY_TASK_ID:-}" ]; then
  exec "$cli" dem "$@" --quiet --tile "$SLURM_ARRAY_TASK_ID"
fi
exec "$cli" dem "$@" --vrt-only
