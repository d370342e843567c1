#!/usr/bin/env bash
# Delete checked against the bare delete loop under Wine, on the real API:
# lays out chunks of ROWS files (folders of 10, every tenth file read-only,
# sizes of 1 to 4,000 bytes) in a throwaway prefix from the Linux side, then
# runs the benchmark once, Wine and its wineserver pinned to one core. The
# benchmark alternates the two sides over the chunks (NB_BENCH_CHUNKS, 6 by
# default: 3 pairs) and prints the ratio.
#   bench/delete_checked_wine.sh BUILD_DIR [ROWS] [--sorted]
set -euo pipefail
build=$(realpath "${1:?usage: delete_checked_wine.sh BUILD_DIR [ROWS] [--sorted]}")
rows=${2:-20000}
sorted=${3:-}
top=$(cd "$(dirname "$0")/.." && pwd)
export NB_WINEPREFIX=${NB_WINEPREFIX:-$top/build/wine/bench-delete}
base=$NB_WINEPREFIX/drive_c/nbbench
# A folder of a new name each run: a long-lived wineserver may still hold the
# last one open, and a folder made again under the same name then lists as empty.
name=checked$(date +%s%N)
rm -rf "$base"
python3 - "$base/$name" "$rows" <<'PY'
import os, sys
root, rows = sys.argv[1], int(sys.argv[2])
for k in range(int(os.environ.get("NB_BENCH_CHUNKS", "6"))):
    n = 0
    for f in range((rows + 9) // 10):
        folder = os.path.join(root, f"chunk{k}", f"T{f // 100}", f"X{f}")
        os.makedirs(folder)
        for i in range(min(10, rows - n)):
            path = os.path.join(folder, f"f{i}.tmp")
            with open(path, "wb") as out:
                out.write(b"x" * (1 + (n * 7919) % 4000))
            if i == 0:
                os.chmod(path, 0o444)  # Wine shows a file without write permission as read-only
            n += 1
PY
sync
taskset -c 0 "$top/tools/wine-run" cmd /c exit >/dev/null 2>&1 || true
taskset -c 0 "$top/tools/wine-run" "$build/nb_bench_delete_checked.exe" --real "C:\\nbbench\\$name" $sorted
rm -rf "$base"
