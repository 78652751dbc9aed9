from gen import *
import json
g = Gtp()
found = []
# White group on the second line from the corner (or from a side point), Black stones on the
# third line and at the far end; variations of extra stones on the first line.
for n in (4, 5, 6, 7):
    for start in (0, 1):             # 0: group reaches the left edge (corner), 1: empty corner point
        for endstone in ('b2', 'b1', 'none'):
            for extra in ('none', 'w1', 'b1far'):
                stones = {}
                for x in range(start, start + n): stones[(x, 1)] = 'W'
                for x in range(0, start + n + 2): stones[(x, 2)] = 'B'
                e = start + n
                if endstone == 'b2': stones[(e, 1)] = 'B'
                elif endstone == 'b1': stones[(e, 0)] = 'B'; stones[(e+1, 1)] = 'B'
                else: stones[(e+1, 1)] = 'B'
                if extra == 'w1': stones[(start + 1, 0)] = 'W'
                elif extra == 'b1far': stones[(e + 1, 0)] = 'B'
                tgt = (start + 1, 1)
                for role in ('kill', 'live'):
                    S2 = dict(stones)
                    if role == 'live':
                        S2 = {p: ('B' if c == 'W' else 'W') for p, c in stones.items()}
                    P = make(S2, 'B', tgt)
                    a, d = status(g, P)
                    if a != '1' or d != '1': continue
                    pts = bbox_empties(P)
                    v = verdicts(g, P, pts)
                    S = [q for q, c in v.items() if c == 1]
                    if not S or len(S) > 2: continue
                    near = [q for q, c in v.items() if c != 1 and any(abs(q[0]-s[0]) + abs(q[1]-s[1]) <= 2 for s in S)]
                    if not near: continue
                    found.append(dict(role=role, n=n, start=start, end=endstone, extra=extra, S=[sgf(q) for q in S], F=[sgf(q) for q in near], tgt=sgf(tgt), diagram=diagram(S2)))
                    print(role, n, start, endstone, extra, [sgf(q) for q in S], [sgf(q) for q in near][:4])
json.dump(found, open('adv.json', 'w'))
