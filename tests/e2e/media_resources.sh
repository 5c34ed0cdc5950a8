#!/bin/bash
# Media.dll as Debian's PE tools see it: every resource the game asks for is
# there, of the right kind, and the library is rebuilt byte for byte.
set -u
game=${ZENTRIKA_GAME_DIR:?}
dll=$game/Media.dll
media=$game/../assets/media

if ! command -v wrestool >/dev/null || ! /usr/bin/python3 -c 'import pefile' 2>/dev/null; then
  echo "SKIP: needs icoutils (wrestool) and python3-pefile"
  exit 77
fi
[ -f "$dll" ] || { echo "FAIL: $dll missing; build zentrika_assets"; exit 1; }

fail=0
listing=$(wrestool -l "$dll") || { echo "FAIL: wrestool cannot read $dll"; exit 1; }
for name in STARTSCREEN GAMEPANEL TEXTURE LISTPANEL DIFF1 DIFF2 DIFF3 COST0 COST10 COST20 COST30 COST40 PRICE \
            MDIFF1 MDIFF2 MDIFF3 S1 S2 QUESTION TRUEANSWERB FALSEANSWERB LEVELUP; do
  grep -q -- "--type=2 --name='$name' " <<<"$listing" || { echo "FAIL: wrestool: no bitmap $name"; fail=1; }
done
for n in 1 2 3 4 5; do
  grep -q -- "--type=2 --name=$n " <<<"$listing" || { echo "FAIL: wrestool: no bitmap number $n"; fail=1; }
done
grep -q -- "--type=6 --name=1 " <<<"$listing" || { echo "FAIL: wrestool: no string block 1"; fail=1; }

/usr/bin/python3 - "$dll" <<'EOF' || fail=1
import struct, sys
import pefile

pe = pefile.PE(sys.argv[1])
ok = True
def bad(msg):
    global ok
    ok = False
    print("FAIL: pefile:", msg)

if not pe.FILE_HEADER.Characteristics & 0x2000:
    bad("not a DLL")
if pe.FILE_HEADER.TimeDateStamp != 0:
    bad("time stamp set: builds would differ")

res = {}
for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    tname = str(t.name).upper() if t.name is not None else t.id
    for e in t.directory.entries:
        name = str(e.name).upper() if e.name is not None else e.id
        lang = e.directory.entries[0].data.struct
        res[(tname, name)] = pe.get_data(lang.OffsetToData, lang.Size)

limits = {"CLICK": 0.060, "ERROR": 1.5, "LEVELUP": 1.5, "TRUEANSWER": 1.5, "FALSEANSWER": 1.5}
for name, limit in limits.items():
    data = res.get(("WAVE", name))
    if data is None:
        bad(f"no WAVE {name}")
        continue
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        bad(f"WAVE {name} is not RIFF/WAVE")
        continue
    fmt, channels, rate, _, block, bits = struct.unpack_from("<HHIIHH", data, 20)
    size = struct.unpack_from("<I", data, 40)[0]
    if data[36:40] != b"data" or fmt != 1 or bits != 16:
        bad(f"WAVE {name}: not 16-bit PCM")
        continue
    seconds = size / (rate * block)
    print(f"WAVE {name}: {rate} Hz, {channels} channel(s), {seconds:.3f} s")
    if seconds > limit:
        bad(f"WAVE {name} lasts {seconds:.3f} s, more than {limit} s")

RT_BITMAP, RT_STRING = 2, 6
names = ["STARTSCREEN", "GAMEPANEL", "TEXTURE", "LISTPANEL", "DIFF1", "DIFF2", "DIFF3",
         "COST0", "COST10", "COST20", "COST30", "COST40", "PRICE", "MDIFF1", "MDIFF2", "MDIFF3",
         "S1", "S2", "QUESTION", "TRUEANSWERB", "FALSEANSWERB", "LEVELUP", 1, 2, 3, 4, 5]
for name in names:
    data = res.get((RT_BITMAP, name))
    if data is None:
        bad(f"no bitmap {name}")
        continue
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 0)
    stride = (w * bpp + 31) // 32 * 4
    if hsize != 40 or bpp != 24 or comp != 0 or len(data) < 40 + stride * abs(h):
        bad(f"bitmap {name}: header {hsize}, {w}x{h}, {bpp} bits, compression {comp}, {len(data)} bytes")

block = res.get((RT_STRING, 1))
if block is None:
    bad("no string block 1")
else:
    strings, at = [], 0
    for _ in range(16):
        n = struct.unpack_from("<H", block, at)[0]
        strings.append(block[at + 2:at + 2 + 2 * n].decode("utf-16-le"))
        at += 2 + 2 * n
    logos = strings[1:6]
    print("strings 1-5:", ", ".join(logos))
    if not all(s.strip() for s in logos):
        bad("a logo name is empty")
    if not all(any("\u0400" <= c <= "\u04ff" for c in s) for s in logos):
        bad("logo names are not Russian text: " + repr(logos))
sys.exit(0 if ok else 1)
EOF

# The library is rebuilt byte for byte from the same resource script.
if [ -f "$media/Media.rc" ] && command -v x86_64-w64-mingw32-windres >/dev/null; then
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  (cd "$media" && x86_64-w64-mingw32-windres --preprocessor=cpp --input-format=rc --output-format=coff \
      -i Media.rc -o "$tmp/Media.o") &&
    x86_64-w64-mingw32-ld --dll -e 0 --no-insert-timestamp -o "$tmp/Media.dll" "$tmp/Media.o" &&
    cmp -s "$tmp/Media.dll" "$dll" || { echo "FAIL: Media.dll is not reproduced byte for byte"; fail=1; }
fi

[ $fail -eq 0 ] && echo "OK: Media.dll holds every resource the game asks for"
exit $fail
