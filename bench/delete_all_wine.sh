#!/usr/bin/env bash
# Delete all against the bare delete loop under Wine, on the real API: lays out
# 200,000 files (20,000 folders of 10, every tenth file read-only) in a
# throwaway prefix from the Linux side (creating them through Wine is slow),
# then runs the benchmark once per round, Wine and its wineserver pinned to one
# core. The benchmark alternates the two sides over chunks of 10,000 files
# (1,000 folders) and prints the ratio: each side deletes 100,000 files in
# 10,000 folders and removes the folders it emptied.
#   bench/delete_all_wine.sh BUILD_DIR [rounds]
set -euo pipefail
build=$(realpath "${1:?usage: delete_all_wine.sh BUILD_DIR [rounds]}")
rounds=${2:-1}
top=$(cd "$(dirname "$0")/.." && pwd)
export NB_WINEPREFIX=${NB_WINEPREFIX:-$top/build/wine/bench-delete}
base=$NB_WINEPREFIX/drive_c/nbbench

# Each round gets a folder of a new name: a long-lived wineserver may still
# hold the last one open, and a folder made again under the same name then
# lists as empty.
lay_out() {  # NAME
  rm -rf "$base"
  python3 - "$base/$1" <<'PY'
import os, sys
root = sys.argv[1]
for k in range(int(os.environ.get("NB_BENCH_CHUNKS", "20"))):
    for c in range(10):
        for f in range(100):
            folder = os.path.join(root, f"chunk{k}", f"cache{c}", "#!001", f"X{f}")
            os.makedirs(folder)
            for i in range(10):
                path = os.path.join(folder, f"f{i}.dat")
                with open(path, "wb") as out:
                    out.write(b"0123456789")
                if i == 0:
                    os.chmod(path, 0o444)  # Wine shows a file without write permission as read-only
PY
  sync
}

# Make the prefix; the wineserver it starts inherits the pinning.
taskset -c 0 "$top/tools/wine-run" cmd /c exit >/dev/null 2>&1 || true
for ((r = 0; r < rounds; r++)); do
  name=run$(date +%s%N)
  lay_out "$name"
  taskset -c 0 "$top/tools/wine-run" "$build/nb_bench_delete.exe" --real "C:\\nbbench\\$name"
done
rm -rf "$base"
