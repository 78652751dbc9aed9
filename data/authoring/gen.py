#!/usr/bin/env python3
"""Enumerates eye-space shapes and second-line groups, keeps the unsettled ones, prints blocks."""
import sys, itertools
sys.argv = [sys.argv[0]]
from tool import *

def ring(cells):
    out = set()
    for (x, y) in cells:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                q = (x+dx, y+dy)
                if 0 <= q[0] < 19 and 0 <= q[1] < 19 and q not in cells: out.add(q)
    return out

def polys(n, w, h):
    cells = [(x, y) for x in range(w) for y in range(h)]
    seen = set()
    def norm(s): return frozenset(s)
    res = []
    def grow(s):
        if len(s) == n:
            k = norm(s)
            if k not in seen: seen.add(k); res.append(s)
            return
        for (x, y) in list(s):
            for q in nb((x, y)):
                if q in cells and q not in s: grow(s | {q})
    for c in cells: grow({c})
    return res

def diagram(stones):
    xs = [p[0] for p in stones]; ys = [p[1] for p in stones]
    rows = []
    for y in range(0, max(ys)+1):
        rows.append(" ".join({'B':'X','W':'O'}.get(stones.get((x, y)), '.') for x in range(0, max(xs)+1)))
    return rows

def status(g, P):
    setup_gtp(P, g)
    t = gtp(pt(P.target))
    a = g.cmd("owl_attack " + t)[1].split()[0]
    d = g.cmd("owl_defend " + t)[1].split()[0]
    return a, d

def verdicts(g, P, pts):
    owner = owner_colour(P)
    cmd = "owl_does_attack" if P.play != owner else "owl_does_defend"
    res = {}
    for q in pts:
        if g.cmd("is_legal %s %s" % (P.play, gtp(q)))[1] != '1': continue
        ok, r = g.cmd("%s %s %s" % (cmd, gtp(q), gtp(pt(P.target))))
        res[q] = int(r.split()[0]) if ok else -1
    return res

def make(stones, user, target):
    P = Problem(); P.stones = stones; P.play = user; P.target = sgf(target); P.fill = None
    return P
