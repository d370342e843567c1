#!/usr/bin/env python3
"""Lays out the scan benchmark's tree on disk: 100 folders of 200 subfolders,
10 sparse files in each subfolder (200,000 files in 20,100 folders), the same
shape nb_bench_scan generates on the simulated machine. Run it from the Linux
side into a Wine prefix's drive_c: creating files through Wine is slow.

    bench/make_scan_tree.py PREFIX/drive_c/bench
"""
import os
import sys


def main():
    root = sys.argv[1]
    seed = 2024
    for a in range(100):
        for b in range(200):
            folder = os.path.join(root, f"cache{a}", f"entry{b}")
            os.makedirs(folder, exist_ok=True)
            for f in range(10):
                seed = (seed * 1103515245 + 12345) & 0xFFFFFFFF
                with open(os.path.join(folder, f"f_{f}.tmp"), "wb") as out:
                    out.truncate((seed >> 8) % 3000000)


if __name__ == "__main__":
    main()
