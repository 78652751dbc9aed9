from gen import *
g = Gtp()
out = []
seen_shapes = set()
for n in (3, 4, 5, 6):
    for pos in ('corner', 'side'):
        for s in polys(n, 4 if n < 6 else 4, 3):
            if not any(y == 0 for x, y in s): continue
            if pos == 'corner' and not any(x == 0 for x, y in s): continue
            if pos == 'side':
                if any(x == 0 for x, y in s): continue
                s = {(x + 2, y) for x, y in s}
            E = set(s); D = ring(E); A = ring(E | D) - E - D
            key = (pos, frozenset(E))
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
                print(role, pos, n, "S=", [sgf(q) for q in S], "F=", [sgf(q) for q in F], "tgt", sgf(tgt))
                for r in diagram(stones): print("   ", r)
