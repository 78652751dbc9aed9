import json
keep = json.load(open('keep.json'))
def E_of(rows):
    grid = [r.split() for r in rows]; h = len(grid); w = len(grid[0])
    out = set(); st = []
    for y in range(h):
        for x in range(w):
            if grid[y][x] == '.' and (x == w-1 or y == h-1): out.add((x,y)); st.append((x,y))
    while st:
        x, y = st.pop()
        for q in ((x+1,y),(x-1,y),(x,y+1),(x,y-1)):
            if 0 <= q[0] < w and 0 <= q[1] < h and grid[q[1]][q[0]] == '.' and q not in out:
                out.add(q); st.append(q)
    return {(x,y) for y in range(h) for x in range(w) if grid[y][x] == '.' and (x,y) not in out}
def is_rabbity(E):
    return any(sum(1 for q in ((x+1,y),(x-1,y),(x,y+1),(x,y-1)) if q in E) == 4 for x,y in E)
keep = [f for f in keep if f['shape'] != 'rabbity-six' or is_rabbity(E_of(f['diagram']))]
def pick(shape, pos, role, k):
    got = [f for f in keep if f['shape']==shape and f['pos']==pos and f['role']==role and not f.get('used')][:k]
    for f in got: f['used'] = True
    return got
plan = {
 'basic': [('straight-three','side','kill',2),('straight-three','side','live',1),('bent-three','corner','kill',2),('bent-three','corner','live',2),
           ('bent-three','side','kill',2),('bent-three','side','live',2),('pyramid-four','corner','kill',1),('pyramid-four','corner','live',1),
           ('pyramid-four','side','kill',2),('pyramid-four','side','live',2)],
 'beginner': [('bent-three','corner','kill',1),('bent-three','corner','live',1),('pyramid-four','side','kill',2),('pyramid-four','side','live',2),
           ('bulky-five','corner','kill',4),('bulky-five','corner','live',4),('crossed-five','corner','kill',1),('crossed-five','corner','live',1),
           ('bulky-five','side','kill',4),('bulky-five','side','live',4),('crossed-five','side','kill',1),('crossed-five','side','live',1)],
 'intermediate': [('bent-three','side','kill',1),('pyramid-four','corner','kill',1),('pyramid-four','corner','live',1),('bulky-five','side','kill',4),('bulky-five','side','live',4),('rabbity-six','corner','kill',6),('rabbity-six','corner','live',5),('rabbity-six','side','kill',4),('rabbity-six','side','live',4)],
}
levels = {'basic': (13, 15, 8), 'beginner': (15, 25, 0), 'intermediate': (25, 35, 0)}
prefix = {'basic':'b','beginner':'e','intermediate':'i'}
flips = ['', 'h', 'v', 'hv']
Names = {'B':'Black','W':'White'}
out = {}
for coll, items in plan.items():
    chosen = []
    for it in items: chosen += pick(*it)
    lo, hi, start = levels[coll]
    total = len(chosen) + start
    blocks = []
    for i, f in enumerate(chosen):
        num = start + i + 1
        lvl = lo + (hi - lo) * i // max(1, len(chosen) - 1)
        swap = (i % 2 == 1)
        user = 'W' if swap else 'B'
        rows = f['diagram']
        if swap: rows = [r.replace('X','#').replace('O','X').replace('#','O') for r in rows]
        defender = ('W' if f['role']=='kill' else 'B')
        if swap: defender = 'B' if defender == 'W' else 'W'
        att = 'B' if defender == 'W' else 'W'
        name = "%s/%s%02d-%s-%s-%s.sgf" % (coll, prefix[coll], num, f['role'], f['shape'], f['pos'])
        b = ["name " + name, "level %d" % lvl, "play " + user]
        if f['role'] == 'kill':
            b += ["prompt %s to play and kill." % Names[user], "answer dies",
                  "say+ %s cannot make two eyes." % Names[defender], "say- %s makes two eyes." % Names[defender]]
        else:
            b += ["prompt %s to play and live." % Names[user], "answer lives",
                  "say+ %s has two eyes." % Names[defender], "say- %s takes the vital point and %s has only one eye." % (Names[att], Names[defender])]
        b.append("target " + f['tgt'])
        fl = flips[(num + (1 if coll=='beginner' else 2 if coll=='intermediate' else 0)) % 4]
        if fl: b.append("flip " + fl)
        b += rows
        for m in f['S']: b.append("auto+ " + m)
        # natural wrong tries: up to 3 failing points next to a vital point first
        S = f['S']; F = f['F']
        def d(m): return min(abs(ord(m[0])-ord(s[0])) + abs(ord(m[1])-ord(s[1])) for s in S)
        for m in sorted(F, key=d)[:3]: b.append("auto- " + m)
        blocks.append("\n".join(b))
    out[coll] = blocks
    print(coll, len(blocks))
    open('gen_%s.txt' % coll, 'w').write("\n\n".join(blocks) + "\n")

adv = json.load(open('adv.json'))
adv.sort(key=lambda f: (f['n'], f['start'], f['role']))
blocks = []
for i, f in enumerate(adv):
    num = i + 1
    lvl = 35 + 6 * i // (len(adv) - 1)
    swap = (i % 2 == 1)
    user = 'W' if swap else 'B'
    rows = f['diagram']
    if swap: rows = [r.replace('X','#').replace('O','X').replace('#','O') for r in rows]
    defender = ('W' if f['role']=='kill' else 'B')
    if swap: defender = 'B' if defender == 'W' else 'W'
    att = 'B' if defender == 'W' else 'W'
    name = "advanced/a%02d-%s-second-line-%d%s.sgf" % (num, f['role'], f['n'], '-corner' if f['start'] == 0 else '')
    b = ["name " + name, "level %d" % lvl, "play " + user]
    if f['role'] == 'kill':
        b += ["prompt %s to play and kill." % Names[user], "answer dies",
              "say+ %s cannot make two eyes." % Names[defender], "say- %s lives." % Names[defender]]
    else:
        b += ["prompt %s to play and live." % Names[user], "answer lives",
              "say+ %s lives." % Names[defender], "say- %s kills." % Names[att]]
    b.append("target " + f['tgt'])
    fl = flips[num % 4]
    if fl: b.append("flip " + fl)
    b += rows
    for m in f['S']: b.append("auto+ " + m)
    for m in f['F'][:3]: b.append("auto- " + m)
    blocks.append("\n".join(b))
open('gen_advanced.txt', 'w').write("\n\n".join(blocks) + "\n")
print('advanced', len(blocks))
