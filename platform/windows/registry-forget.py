#!/usr/bin/env python3
"""registry-forget.py USER_REG KEY

Takes KEY and every key under it out of a Wine prefix's registry file (user.reg),
which Wine keeps as text: a "[key] stamp" line, then the key's values, then a
blank line. KEY is written as in the file, backslashes doubled. The Wine server
must not be running: it rewrites the file from memory when it stops."""
import sys


def forget(lines, key):
    kept, dropping = [], False
    for line in lines:
        if line.startswith("["):
            name = line[1:line.index("]")].lower()
            dropping = name == key or name.startswith(key + "\\\\")
        if not dropping:
            kept.append(line)
    return kept


def main():
    path, key = sys.argv[1], sys.argv[2].lower()
    try:
        with open(path, encoding="utf-8", newline="") as f:
            lines = f.readlines()
    except FileNotFoundError:
        return
    kept = forget(lines, key)
    if len(kept) != len(lines):
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.writelines(kept)


if __name__ == "__main__":
    main()
