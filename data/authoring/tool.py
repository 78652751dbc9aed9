#!/usr/bin/env python3
"""Authoring aid: compact problem descriptions -> SGF files, with legality and GNU Go checks.

Usage: tool.py DESCRIPTIONS.txt... OUTDIR [-only=NAME] [-d] [-m] [-manifest]
(hand.txt holds the hand-composed problems; write them to a scratch OUTDIR and copy the
files into data/, then list them in the manifests by hand)."""
import subprocess, sys, os, re

LET = "abcdefghijklmnopqrs"
GTPC = "ABCDEFGHJKLMNOPQRST"

def nb(p):
    x, y = p
    for dx, dy in ((1,0),(-1,0),(0,1),(0,-1)):
        if 0 <= x+dx < 19 and 0 <= y+dy < 19:
            yield (x+dx, y+dy)

class Board:
    def __init__(self):
        self.b = {}
        self.ko = None
    def copy(self):
        c = Board(); c.b = dict(self.b); c.ko = self.ko; return c
    def group(self, p):
        col = self.b[p]; seen = {p}; st = [p]; libs = set()
        while st:
            q = st.pop()
            for n in nb(q):
                if n not in self.b: libs.add(n)
                elif self.b[n] == col and n not in seen: seen.add(n); st.append(n)
        return seen, libs
    def play(self, col, p):
        if p in self.b: raise ValueError("occupied %s" % sgf(p))
        if p == self.ko: raise ValueError("ko %s" % sgf(p))
        self.b[p] = col
        opp = 'W' if col == 'B' else 'B'
        cap = set()
        for n in nb(p):
            if self.b.get(n) == opp:
                g, l = self.group(n)
                if not l: cap |= g
        for q in cap: del self.b[q]
        g, l = self.group(p)
        if not l: del self.b[p]; raise ValueError("suicide %s" % sgf(p))
        self.ko = None
        if len(cap) == 1 and len(g) == 1 and len(l) == 1: self.ko = next(iter(cap))
        return cap

def sgf(p): return LET[p[0]] + LET[p[1]]
def pt(s): return (LET.index(s[0]), LET.index(s[1]))
def gtp(p): return GTPC[p[0]] + str(19 - p[1])

def show(board, marks={}):
    xs = [p[0] for p in board.b] + [p[0] for p in marks] + [5]
    ys = [p[1] for p in board.b] + [p[1] for p in marks] + [5]
    x0, x1, y0, y1 = 0, min(18, max(xs)+2), 0, min(18, max(ys)+2)
    if min(xs) > 9: x0 = max(0, min(xs)-2); x1 = 18
    if min(ys) > 9: y0 = max(0, min(ys)-2); y1 = 18
    out = ["   " + " ".join(LET[x] for x in range(x0, x1+1))]
    for y in range(y0, y1+1):
        row = []
        for x in range(x0, x1+1):
            p = (x, y)
            if p in marks: row.append(marks[p])
            else: row.append({'B':'X','W':'O'}.get(board.b.get(p), '.'))
        out.append(" %s " % LET[y] + " ".join(row))
    return "\n".join(out)

class Node:
    def __init__(self, move=None):
        self.move = move; self.kids = []; self.comment = None
    def child(self, m):
        for k in self.kids:
            if k.move == m: return k
        k = Node(m); self.kids.append(k); return k

class Problem:
    pass

def parse(text):
    """Problem block:
    name coll/file.sgf
    level N (optional)
    play B|W
    prompt ...
    answer dies|lives|killed by ko|lives by ko
    target xx
    fill open|B|W   (optional, default opponent of target owner)
    diagram rows (X black, O white, . empty), top-left corner unless 'at' given
    + moves ... : comment
    - moves ... : comment
    """
    P = Problem(); P.lines = []; P.fill = None; P.level = None; P.diagram = []; P.transform = None
    P.note = None; P.auto = []; P.say_ok = None; P.say_bad = None
    for raw in text.strip("\n").split("\n"):
        line = raw.strip()
        if not line or line.startswith('#'): continue
        key, _, rest = line.partition(' ')
        if key == 'name': P.name = rest
        elif key == 'level': P.level = int(rest)
        elif key == 'play': P.play = rest
        elif key == 'prompt': P.prompt = rest
        elif key == 'answer': P.answer = rest
        elif key == 'target': P.target = rest
        elif key == 'fill': P.fill = rest
        elif key == 'flip': P.transform = rest
        elif key in ('auto+', 'auto-'):
            P.auto.append((key[-1], rest.split()))
        elif key == 'say+': P.say_ok = rest
        elif key == 'say-': P.say_bad = rest
        elif key in '+-':
            mv, _, com = rest.partition(':')
            P.lines.append((key, mv.split(), com.strip()))
        elif set(line) <= set('XO.| '):
            P.diagram.append(line.replace(' ', '').replace('|', ''))
        else: raise ValueError("bad line: " + raw)
    P.stones = {}
    for y, row in enumerate(P.diagram):
        for x, c in enumerate(row):
            if c == 'X': P.stones[(x, y)] = 'B'
            elif c == 'O': P.stones[(x, y)] = 'W'
    return P

def transform(P):
    """flip: 'h' mirror columns, 'v' mirror rows, 'hv' both (applied to stones and moves)."""
    t = P.transform or ''
    def f(p):
        x, y = p
        if 'h' in t: x = 18 - x
        if 'v' in t: y = 18 - y
        if 'd' in t: x, y = y, x
        return (x, y)
    P.stones = {f(p): c for p, c in P.stones.items()}
    P.target = sgf(f(pt(P.target)))
    P.lines = [(k, [sgf(f(pt(m))) for m in mv], c) for k, mv, c in P.lines]
    P.auto = [(k, [sgf(f(pt(mv[0])))] + mv[1:]) for k, mv in P.auto]

def build_tree(P):
    root = Node()
    for kind, mv, com in P.lines:
        n = root
        for m in mv: n = n.child(m)
        if n.comment is not None: raise ValueError("duplicate line %s" % mv)
        if kind == '+':
            if len(mv) % 2 != 1: raise ValueError("correct line must end on user move: %s" % mv)
            n.comment = "Correct" + (". " + com if com else ".")
        else:
            if len(mv) % 2 != 0: raise ValueError("wrong line must end on computer reply: %s" % mv)
            n.comment = "Wrong" + (". " + com if com else ".")
    def chk(n, d):
        if n.kids and n.comment is not None: raise ValueError("comment on inner node %s" % n.move)
        if not n.kids and n.comment is None and d > 0: raise ValueError("unmarked leaf %s" % n.move)
        for k in n.kids: chk(k, d+1)
    chk(root, 0)
    P.root = root
    return root

def esc(s): return s.replace('\\', '\\\\').replace(']', '\\]')

def to_sgf(P):
    opp = {'B':'W','W':'B'}
    ab = sorted(sgf(p) for p, c in P.stones.items() if c == 'B')
    aw = sorted(sgf(p) for p, c in P.stones.items() if c == 'W')
    s = "(;FF[4]GM[1]SZ[19]CA[UTF-8]AP[Zendra]\n"
    s += "AB" + "".join("[%s]" % p for p in ab) + "\n"
    s += "AW" + "".join("[%s]" % p for p in aw) + "\n"
    s += "PL[%s]MA[%s]\n" % (P.play, P.target)
    s += "C[%s\nAnswer: %s]\n" % (esc(P.prompt), P.answer)
    def rec(n, col, indent):
        out = ""
        if len(n.kids) == 1:
            k = n.kids[0]
            out += ";%s[%s]" % (col, k.move)
            if k.comment: out += "C[%s]" % esc(k.comment)
            out += rec(k, opp[col], indent)
        elif n.kids:
            for k in n.kids:
                out += "\n" + " " * indent + "(;%s[%s]" % (col, k.move)
                if k.comment: out += "C[%s]" % esc(k.comment)
                out += rec(k, opp[col], indent + 1) + ")"
        return out
    s += rec(P.root, P.play, 0).lstrip("\n") + ")\n"
    return s

class Gtp:
    def __init__(self):
        self.p = subprocess.Popen(["/usr/games/gnugo", "--mode", "gtp"], stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    def cmd(self, c):
        self.p.stdin.write(c + "\n"); self.p.stdin.flush()
        lines = []
        while True:
            l = self.p.stdout.readline()
            if l == "\n" and lines: break
            if l == "": raise RuntimeError("gnugo died")
            if l.strip() == "" and not lines: continue
            lines.append(l.rstrip("\n"))
        r = "\n".join(lines)
        return r[0] == '=', r[1:].strip()

def fill_points(P):
    if P.fill == 'open': return []
    xs = [p[0] for p in P.stones]; ys = [p[1] for p in P.stones]
    x0, x1, y0, y1 = max(0, min(xs)-1), min(18, max(xs)+1), max(0, min(ys)-1), min(18, max(ys)+1)
    def inreg(x, y): return x0 <= x <= x1 and y0 <= y <= y1
    pts = []
    for x in range(19):
        for y in range(19):
            if inreg(x, y): continue
            hole = x % 4 == 2 and y % 4 == 2 and all(not inreg(*q) for q in nb((x, y)))
            if not hole: pts.append((x, y))
    return pts

def owner_colour(P):
    return P.stones[pt(P.target)]

def check(P, g, verbose=False):
    errs = []
    tgt = pt(P.target)
    owner = owner_colour(P)
    user = P.play
    fillc = P.fill if P.fill in ('B', 'W') else ({'B':'W','W':'B'}[owner])
    # legality with the mini engine
    def legal(n, board, col):
        for k in n.kids:
            b2 = board.copy()
            try: b2.play(col, pt(k.move))
            except ValueError as e: errs.append("illegal %s: %s" % (k.move, e)); continue
            legal(k, b2, 'W' if col == 'B' else 'B')
    b = Board(); b.b = dict(P.stones)
    legal(P.root, b, user)
    # GNU Go
    g.cmd("clear_board")
    for p, c in P.stones.items(): g.cmd("play %s %s" % (c, gtp(p)))
    for p in fill_points(P):
        ok, r = g.cmd("play %s %s" % (fillc, gtp(p)))
        if not ok: errs.append("fill failed " + r)
    user_attacks = user != owner
    ans = P.answer
    def verdict(move):
        cmd = "owl_does_attack" if user_attacks else "owl_does_defend"
        ok, r = g.cmd("%s %s %s" % (cmd, gtp(pt(move)), gtp(tgt)))
        return int(r.split()[0]) if ok else ('ERR ' + r)
    def want_ok(code):
        if ans in ('dies', 'lives'): return code == 1
        return code in (1, 2, 3)
    # walk: at each user node of a correct line check the move; first-level wrong moves must fail
    results = []
    def walk(n, depth, path):
        # n: node whose children are user moves (depth even) -- replay path first
        for k in n.kids:
            correct_below = has_correct(k)
            # target may be captured already
            code = verdict(k.move)
            if depth == 0:
                results.append((k.move, correct_below, code))
                if correct_below and not want_ok(code): errs.append("correct first move %s: gnugo %s" % (k.move, code))
                if not correct_below and code != 0 and not (ans in ('killed by ko','lives by ko') and False):
                    if ans in ('dies','lives') or code == 1 or (code in (2,3) and ans in ('killed by ko','lives by ko') and False):
                        pass
                    if not wrong_ok(code): errs.append("wrong first move %s: gnugo %s" % (k.move, code))
            elif correct_below and not want_ok(code):
                errs.append("deep correct move %s after %s: gnugo %s" % (k.move, path, code))
            # descend into computer replies
            if correct_below:
                g.cmd("play %s %s" % (user, gtp(pt(k.move))))
                for r in k.kids:
                    ok, msg = g.cmd("play %s %s" % ({'B':'W','W':'B'}[user], gtp(pt(r.move))))
                    if not ok: errs.append("gnugo refused %s" % r.move); continue
                    if r.kids and has_correct(r):
                        if g.cmd("color %s" % gtp(tgt))[1] == 'empty':
                            pass
                        else:
                            walk(r, depth + 2, path + [k.move, r.move])
                    g.cmd("undo")
                g.cmd("undo")
    def wrong_ok(code):
        if ans in ('dies', 'lives'): return code != 1
        return code == 0
    walk(P.root, 0, [])
    return errs, results

def has_correct(n):
    if n.comment and n.comment.startswith("Correct"): return True
    return any(has_correct(k) for k in n.kids)

MANIFEST = {"basic": (0, 12, "Basic"), "beginner": (1, 20, "Beginner"), "intermediate": (2, 30, "Intermediate"), "advanced": (3, 37, "Advanced")}

def setup_gtp(P, g):
    owner = owner_colour(P)
    fillc = P.fill if P.fill in ('B', 'W') else ({'B':'W','W':'B'}[owner])
    g.cmd("clear_board")
    for p, c in P.stones.items(): g.cmd("play %s %s" % (c, gtp(p)))
    for p in fill_points(P): g.cmd("play %s %s" % (fillc, gtp(p)))

def bbox_empties(P):
    xs = [p[0] for p in P.stones]; ys = [p[1] for p in P.stones]
    return [(x, y) for x in range(min(xs), max(xs)+1) for y in range(min(ys), max(ys)+1) if (x, y) not in P.stones]

def inside_points(P):
    xs = [p[0] for p in P.stones]; ys = [p[1] for p in P.stones]
    x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
    out = set(); st = []
    for x in range(x0, x1+1):
        for y in range(y0, y1+1):
            if (x in (x0, x1) and x not in (0, 18)) or (y in (y0, y1) and y not in (0, 18)):
                if (x, y) not in P.stones: out.add((x, y)); st.append((x, y))
    while st:
        q = st.pop()
        for n in nb(q):
            if x0 <= n[0] <= x1 and y0 <= n[1] <= y1 and n not in P.stones and n not in out:
                out.add(n); st.append(n)
    return [(x, y) for x in range(x0, x1+1) for y in range(y0, y1+1) if (x, y) not in P.stones and (x, y) not in out]

def vtx_to_pt(v):
    return (GTPC.index(v[0].upper()), 19 - int(v[1:]))

def expand_auto(P, g):
    owner = owner_colour(P)
    user = P.play; comp = {'B':'W','W':'B'}[user]
    attacks = user != owner
    tgt = gtp(pt(P.target))
    names = {'B': 'Black', 'W': 'White'}
    ok_text = P.say_ok or ("%s cannot make two eyes." % names[owner] if attacks else "%s has two eyes." % names[owner])
    inside = inside_points(P) + [q for q in bbox_empties(P) if q not in inside_points(P)]
    setup_gtp(P, g)
    def read(for_user):
        # the move of the side that reads, after the current position
        if (for_user and attacks) or (not for_user and not attacks):
            ok, r = g.cmd("owl_attack " + tgt)
        else:
            ok, r = g.cmd("owl_defend " + tgt)
        parts = r.split()
        if not ok or not parts or parts[0] == '0' or len(parts) < 2: return int(parts[0]) if parts else 0, None
        return int(parts[0]), parts[1]
    def alive_target():
        return g.cmd("color " + tgt)[1] != 'empty'
    for kind, first in P.auto:
        m = first[0]
        if kind == '-':
            g.cmd("play %s %s" % (user, gtp(pt(m))))
            code, r = read(False)
            g.cmd("undo")
            if r is None or r.upper() == 'PASS':
                print("   no refutation found for", m); continue
            rp = sgf(vtx_to_pt(r))
            P.lines.append(('-', [m, rp], P.say_bad or ("%s refutes it." % names[comp])))
            continue
        g.cmd("play %s %s" % (user, gtp(pt(m))))
        replies = []
        if alive_target():
            cand = [q for q in inside if g.cmd("is_legal %s %s" % (comp, gtp(q)))[1] == '1']
            cand.sort(key=lambda q: abs(q[0]-pt(m)[0]) + abs(q[1]-pt(m)[1]))
            for q in cand:
                g.cmd("play %s %s" % (comp, gtp(q)))
                if alive_target():
                    code, a = read(True)
                    if code == 1 and a and a.upper() != 'PASS':
                        replies.append([m, sgf(q), sgf(vtx_to_pt(a))])
                g.cmd("undo")
                if len(replies) >= int(first[1]) if len(first) > 1 else len(replies) >= 3: break
        g.cmd("undo")
        if not replies: P.lines.append(('+', [m], ok_text))
        for rl in replies: P.lines.append(('+', rl, ok_text))

def main():
    srcs = [a for a in sys.argv[1:] if a.endswith('.txt')]
    outdir = [a for a in sys.argv[1:] if not a.endswith('.txt') and not a.startswith('-')][0]
    only = [a[6:] for a in sys.argv[1:] if a.startswith('-only=')]
    verbose = '-v' in sys.argv
    text = "\n".join(open(src).read() for src in srcs)
    blocks = [b for b in re.split(r"\n(?=name )", "\n" + text) if b.strip()]
    colls = {}
    for blk in blocks:
        if not blk.strip().startswith("name"): continue
        P = parse(blk)
        c, f = P.name.split('/')
        colls.setdefault(c, []).append((f, P.level, P.fill == 'open'))
    # Manifests are written only on request (-manifest): a file that holds some of a
    # collection's problems must not replace the collection's manifest.
    for c, items in colls.items():
        if c not in MANIFEST or '-manifest' not in sys.argv: continue
        g, lv, title = MANIFEST[c]
        os.makedirs(os.path.join(outdir, c), exist_ok=True)
        with open(os.path.join(outdir, c, "manifest.txt"), "w") as m:
            m.write("# %s collection: problems in solving order, file name and level\n" % title)
            m.write("# (level L < 40 is 40 - L kyu, L >= 40 is L - 39 dan)\n")
            m.write("group %d\nlevel %d\n" % (g, lv))
            for f, l, _ in items:
                m.write("%s %d\n" % (f, l) if l is not None else "%s\n" % f)
    print("open:", [f for items in colls.values() for f, l, o in items if o])
    g = Gtp()
    bad = 0
    for blk in blocks:
        if not blk.strip().startswith("name"): continue
        P = parse(blk)
        if only and not any(o in P.name for o in only): continue
        if not P.auto and not P.lines:
            transform(P)
            setup_gtp(P, g)
            owner = owner_colour(P)
            cmd = "owl_does_attack" if P.play != owner else "owl_does_defend"
            res = []
            for q in bbox_empties(P):
                ok, r = g.cmd("%s %s %s" % (cmd, gtp(q), gtp(pt(P.target))))
                if r != '0': res.append("%s=%s" % (sgf(q), r))
            print(P.name, "EXPLORE", " ".join(res))
            b = Board(); b.b = dict(P.stones); print(show(b))
            continue
        try:
            transform(P)
            if P.auto: expand_auto(P, g)
            build_tree(P)
        except ValueError as e:
            print(P.name, "TREE ERROR", e); bad += 1; continue
        errs, res = check(P, g, verbose)
        path = os.path.join(outdir, P.name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        open(path, "w").write(to_sgf(P))
        status = "ok" if not errs else "FAIL"
        print("%-40s %s %s" % (P.name, status, " ".join("%s%s=%s" % ('+' if c else '-', m, r) for m, c, r in res)))
        for e in errs: print("    ", e)
        if errs or '-d' in sys.argv:
            b = Board(); b.b = dict(P.stones)
            print(show(b, {pt(P.target): '@'} if '-m' in sys.argv else {}))
        bad += bool(errs)
    print("problems with errors:", bad)

if __name__ == "__main__":
    main()
