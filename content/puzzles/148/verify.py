"""Each long word loses one letter and becomes the short word; the lost letters, in
order, make the answer. Check that each pair differs by exactly one letter."""
import sys

PAIRS = [("плот", "пот"), ("угол", "гол"), ("банк", "бак"), ("полка", "полк")]
lost = []
for long, short in PAIRS:
    letters = {long[i] for i in range(len(long)) if long[:i] + long[i + 1:] == short}
    if len(letters) != 1:
        print(f"{long} -> {short}: not one letter dropped ({letters})")
        sys.exit(1)
    lost.append(letters.pop())
print("".join(lost))
