from gen import *
import json
g = Gtp()
found = []
seen = set()
def classify(E):
    n = len(E)
    xs = sorted({x for x, y in E}); ys = sorted({y for x, y in E})
    if n == 3: return 'straight-three' if len(xs) == 1 or len(ys) == 1 else 'bent-three'
    has_sq = any({(x,y),(x+1,y),(x,y+1),(x+1,y+1)} <= E for x, y in E)
    if n == 4:
        if any(sum(1 for q in nb(p) if q in E) == 3 for p in E): return 'pyramid-four'
        return 'square-four' if has_sq else 'four'
    if n == 5:
        if any(sum(1 for q in nb(p) if q in E) == 4 for p in E): return 'crossed-five'
        return 'bulky-five' if has_sq else 'five'
    if n == 6:
        if any(sum(1 for q in nb(p) if q in E) == 4 for p in E) or (has_sq and any(sum(1 for q in nb(p) if q in E) == 3 for p in E)):
            return 'rabbity-six'
        return 'six'
for n in (3, 4, 5, 6):
    for pos in ('corner', 'side'):
        for s in polys(n, 4, 3):
            if not any(y == 0 for x, y in s): continue
            if pos == 'corner' and not any(x == 0 for x, y in s): continue
            if pos == 'side':
                if any(x == 0 for x, y in s): continue
                mx = min(x for x, y in s); s = {(x - mx + 2, y) for x, y in s}
            E = frozenset(s)
            if (pos, E) in seen: continue
            seen.add((pos, E))
            D = ring(E); A = ring(E | D) - E - D
            for role in ('kill', 'live'):
                defender = 'W' if role == 'kill' else 'B'
                att = 'B' if defender == 'W' else 'W'
                stones = {p: defender for p in D}; stones.update({p: att for p in A})
                tgt = min(D, key=lambda p: (p[1], p[0]))
                P = make(stones, 'B', tgt)
                a, d = status(g, P)
                if a != '1' or d != '1': continue
                v = verdicts(g, P, sorted(E))
                S = [q for q, c in v.items() if c == 1]; F = [q for q, c in v.items() if c != 1]
                if not S or not F or len(S) > 3: continue
                found.append(dict(role=role, pos=pos, n=n, shape=classify(set(E)), S=[sgf(q) for q in S], F=[sgf(q) for q in F], tgt=sgf(tgt), diagram=diagram(stones)))
json.dump(found, open('found.json', 'w'), indent=0)
for f in found: print(f['role'], f['pos'], f['shape'], f['S'], f['F'])
