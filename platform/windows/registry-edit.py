#!/usr/bin/env python3
"""registry-edit.py USER_REG forget KEY
registry-edit.py USER_REG set KEY NAME VALUE

Edits a Wine prefix's registry file (user.reg), which Wine keeps as text: a
"[key] stamp" line, then the key's values as "name"=value lines, then a blank
line. "forget" takes KEY and every key under it out; "set" gives KEY's value
NAME the text VALUE as the file writes it (dword:00000090, "text"), making the
key if need be. KEY is written as in the file, backslashes doubled. The Wine server must
not be running: it rewrites the file from memory when it stops."""
import sys


def key_of(line):
    return line[1:line.index("]")].lower() if line.startswith("[") else None


def forget(lines, key):
    kept, dropping = [], False
    for line in lines:
        name = key_of(line)
        if name is not None:
            dropping = name == key or name.startswith(key + "\\\\")
        if not dropping:
            kept.append(line)
    return kept


def set_value(lines, key, name, value):
    """The lines with NAME set, last among the key's lines (after its #time)."""
    quoted = f'"{name}"='.lower()
    new_line = f'"{name}"={value}\n'
    kept, inside, found = [], False, False

    def close_section():
        if inside:
            at = len(kept)
            while at > 0 and kept[at - 1].strip() == "":
                at -= 1
            kept.insert(at, new_line)

    for line in lines:
        section = key_of(line)
        if section is not None:
            close_section()
            inside = section == key.lower()
            found = found or inside
        elif inside and line.lower().startswith(quoted):
            continue
        kept.append(line)
    close_section()
    if not found:
        kept += ["\n", f"[{key}]\n", new_line]
    return kept


def main():
    path, command, key = sys.argv[1], sys.argv[2], sys.argv[3].lower()
    try:
        with open(path, encoding="utf-8", newline="") as f:
            lines = f.readlines()
    except FileNotFoundError:
        return
    if command == "forget":
        kept = forget(lines, key)
    elif command == "set":
        # The key's name as given, should the key be made here.
        kept = set_value(lines, sys.argv[3], sys.argv[4], sys.argv[5])
    else:
        sys.exit(f"registry-edit: no command {command}")
    if kept != lines:
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.writelines(kept)


if __name__ == "__main__":
    main()
