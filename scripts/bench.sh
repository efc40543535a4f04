#!/usr/bin/env bash
# Builds the bench preset, runs the stage breakdown, the frame suite, the host's HD
# composite and the frei0r filter's cost (in-process and through FFmpeg), prints their
# tables and draws
# docs/images/perf-scaling.png (frame time against megapixels x samples).
# Raw Google Benchmark JSON and text go to build/bench/results/.
#
# usage: scripts/bench.sh [--quick]   --quick leaves out the 1920x1080 frame suite
# Set SOLVANE_BEFORE_MODULE to an earlier build of the module to time it against this one.
set -euo pipefail
cd "$(dirname "$0")/.."
filter=.
[ "${1:-}" = "--quick" ] && filter='-Frame/.*/1920x1080/.*'

scripts/setup.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc)"
out=build/bench/results
mkdir -p "$out"
bin=build/bench/bin

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) CPUs"
"$bin/solvane-bench-stages" --benchmark_out="$out/stages.json" --benchmark_out_format=json |
  tee "$out/stages.txt"
"$bin/solvane-bench-frames" --benchmark_filter="$filter" --benchmark_out="$out/frames.json" \
  --benchmark_out_format=json | tee "$out/frames.txt"
"$bin/solvane-bench-composite" --benchmark_out="$out/composite.json" --benchmark_out_format=json |
  tee "$out/composite.txt"
"$bin/solvane-bench-frei0r" --benchmark_out="$out/frei0r.json" --benchmark_out_format=json |
  tee "$out/frei0r.txt"
bench/frei0r-fps.sh build/bench | tee "$out/frei0r-fps.txt"
python3 bench/report.py "$out/frames.json" "$out/scaling.tsv" 2>"$out/fit.txt" | tee "$out/report.md"

scripts/setup.sh --bench
mkdir -p docs/images
read -r _ _ pa pb < <(grep "^FIT pixels" "$out/fit.txt")
read -r _ _ sa sb < <(grep "^FIT samples" "$out/fit.txt")
gnuplot <<PLOT
set terminal pngcairo size 800,500 font ",10"
set output "docs/images/perf-scaling.png"
set title "Frame time against megapixels x samples (Zoom, 8-bit, Mesa llvmpipe, 2 cores)"
set xlabel "megapixels x texture reads per pixel"
set ylabel "frame time (ms)"
set key top left
set grid
p(x) = $pa + $pb * x
s(x) = $sa + $sb * x
plot [0:*] [0:*] "$out/scaling.tsv" index 0 with points pt 7 ps 1.2 lc 1 title "pixels sweep (64 samples)", \
     p(x) with lines lc 1 title sprintf("fit %.0f ms + %.2f ms per MPix x sample", $pa, $pb), \
     "$out/scaling.tsv" index 1 with points pt 5 ps 1.2 lc 2 title "samples sweep (960x540)", \
     s(x) with lines lc 2 title sprintf("fit %.0f ms + %.2f ms per MPix x sample", $sa, $sb)
PLOT
echo "Plot: docs/images/perf-scaling.png"
