"""Stamps of 5 and 8 roubles only: the largest postage that cannot be made exactly.
Once five sums in a row can be made, every larger one can (add a 5-rouble stamp)."""
A, B = 5, 8
can = [True]
run, total = 0, 0
while run < A:
    total += 1
    can.append(any(can[total - s] for s in (A, B) if total >= s))
    run = run + 1 if can[total] else 0
print(max(t for t, ok in enumerate(can) if not ok))
