#!/usr/bin/env bash
# Times norvane-field against GeographicLib's MagneticField on the same
# 200,000 points with the same coefficients (the compiled-in WMM-2005, or a
# coefficient file's, a year after its epoch), and along one circle of
# latitude on the same 200,000 longitudes (MagneticField -c), checks that
# both give the same field, and fails unless norvane-field's throughput is at
# least ten times MagneticField's in both modes.  Also times norvane-field
# with --rates, whose cost it reports without a limit.
#
# Usage: bench/field_throughput.sh [BUILD_DIR [MODEL.COF]]    (default:
# build/release beside this folder, configured with benchmarks on).
# Throughput is points per second of the fastest of several runs of each,
# which is the least disturbed by other work on the machine; means and CPU
# times are printed too.
set -euo pipefail
cof=${2:-}
if [[ -n $cof ]]; then
  [[ -r $cof ]] || { echo "$0: cannot read $cof" >&2; exit 2; }
  cof=$(realpath "$cof")
fi
cd "$(dirname "$0")/.."
build=${1:-build/release}
points=200000
min_ratio=10
runs=10

[[ -f "$build/CMakeCache.txt" ]] || cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target norvane-field write_model_file \
  >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
year=2006
model_option=()
if [[ -n $cof ]]; then
  year=$(awk 'NR == 1 { print $1 + 1; exit }' "$cof")
  model_option=(--model "$cof")
  "$build/testsupport/write_model_file" --cof "$cof" "$work/model"
else
  "$build/testsupport/write_model_file" "$work/model"
fi

# Whole metres of altitude, so that the km and the m files hold the same
# points; heights stay inside the model's range so MagneticField prints no
# warnings.  MagneticField takes "lat lon h" with h in metres and the year
# from -t; norvane-field takes "lat lon alt" with alt in km.
awk -v n="$points" 'BEGIN {
  srand(2006)
  for (i = 0; i < n; i++)
    printf "%.6f %.6f %d\n", 180 * rand() - 90, 360 * rand() - 180,
           int(850001 * rand())
}' >"$work/points_m.txt"
awk '{ printf "%s %s %.3f\n", $1, $2, $3 / 1000 }' "$work/points_m.txt" \
  >"$work/points_km.txt"

# The circle: 40 degrees north, 500 m up, in the year; longitudes in degrees.
awk -v n="$points" 'BEGIN {
  srand(2007)
  for (i = 0; i < n; i++) printf "%.6f\n", 360 * rand() - 180
}' >"$work/longitudes.txt"

ours="$build/tools/norvane-field ${model_option[*]}"
theirs="MagneticField -n model -d $work -t $year"
ours_circle="$ours --circle 40 0.5 $year"
ours="$ours --year $year"
theirs_circle="MagneticField -n model -d $work -c $year 40 500"

# Same field: MagneticField prints D I H X Y Z F with one decimal for nT and
# two for degrees; norvane-field prints X Y Z F H D I.
same_field() {  # OURS THEIRS WHAT
  paste -d ' ' "$1" "$2" | awk -v what="$3" '
    function d(a, b) { return a > b ? a - b : b - a }
    { nt = d($1, $11); if (d($2, $12) > nt) nt = d($2, $12)
      if (d($3, $13) > nt) nt = d($3, $13); if (d($4, $14) > nt) nt = d($4, $14)
      if (d($5, $10) > nt) nt = d($5, $10)
      deg = d($6, $8); if (d($7, $9) > deg) deg = d($7, $9)
      if (nt > 0.06 || deg > 0.006) { print "fields differ on line " NR; exit 1 } }
    END { if (NR != 2000) { print "missing lines"; exit 1 }
          print "both tools give the same field on the first 2000 " what }'
}
head -n 2000 "$work/points_km.txt" | $ours >"$work/ours.txt"
head -n 2000 "$work/points_m.txt" | $theirs >"$work/theirs.txt"
same_field "$work/ours.txt" "$work/theirs.txt" points
head -n 2000 "$work/longitudes.txt" | $ours_circle >"$work/ours.txt"
head -n 2000 "$work/longitudes.txt" | $theirs_circle >"$work/theirs.txt"
same_field "$work/ours.txt" "$work/theirs.txt" "longitudes of the circle"

hyperfine --style basic --warmup 1 --runs "$runs" \
  --export-csv "$work/times.csv" \
  -n "norvane-field" "$ours <$work/points_km.txt >/dev/null" \
  -n "MagneticField" "$theirs <$work/points_m.txt >/dev/null" \
  -n "norvane-field --rates" "$ours --rates <$work/points_km.txt >/dev/null" \
  -n "norvane-field --circle" "$ours_circle <$work/longitudes.txt >/dev/null" \
  -n "MagneticField -c" "$theirs_circle <$work/longitudes.txt >/dev/null" >&2

# times.csv: command,mean,stddev,median,user,system,min,max; rows in the
# order above.
awk -F, -v n="$points" -v min_ratio="$min_ratio" '
function check(what, ours, theirs,   ratio) {
  ratio = best[theirs] / best[ours]
  printf "%s: throughput ratio norvane-field / MagneticField %.1f (per CPU-second: %.1f)\n",
         what, ratio, cpu[theirs] / cpu[ours]
  if (ratio < min_ratio) {
    printf "FAIL: %s ratio %.1f is below %d\n", what, ratio, min_ratio
    failed = 1
  }
}
NR > 1 {
  name[NR - 1] = $1; mean[NR - 1] = $2; cpu[NR - 1] = $5 + $6; best[NR - 1] = $7
} END {
  for (i = 1; i <= 5; i++)
    printf "%-26s %10.0f points/s (fastest run), %10.0f (mean), %10.0f per CPU-second\n",
           name[i], n / best[i], n / mean[i], n / cpu[i]
  check("point mode", 1, 2)
  check("circle mode", 4, 5)
  printf "--rates costs %.2f times the time of the field alone\n", best[3] / best[1]
  if (failed) exit 1
  printf "OK: both ratios are at least %d\n", min_ratio
}' "$work/times.csv"
