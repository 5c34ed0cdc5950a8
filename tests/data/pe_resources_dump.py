#!/usr/bin/python3
"""Lists the resources of a PE file as pefile reads them, one per line:
   RES <type> <name> <language> <size> <sha1>   (numbers as #n, names as stored)
   STR <id> <text as UTF-8 hex>
The game's own reader is checked against this listing."""
import hashlib
import sys

import pefile


def key(entry):
    return str(entry.name) if entry.name is not None else "#%d" % entry.id


def main(path):
    pe = pefile.PE(path)
    out = []
    strings = {}
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for t in root.entries if root else []:
        for n in t.directory.entries:
            for lang in n.directory.entries:
                s = lang.data.struct
                data = pe.get_data(s.OffsetToData, s.Size)
                out.append("RES %s %s %d %d %s" % (key(t), key(n), lang.id, s.Size, hashlib.sha1(data).hexdigest()))
            strings.update(getattr(n.directory, "strings", None) or {})
    for i in sorted(strings):
        out.append("STR %d %s" % (i, strings[i].encode("utf-8").hex()))
    print("\n".join(out))


if __name__ == "__main__":
    main(sys.argv[1])
