import json, sys
sys.argv=[sys.argv[0]]
found = json.load(open('found.json'))
def transpose_key(f):
    # diagram + role + pos; transposed duplicates in the corner
    rows = f['diagram']
    return f['role'], f['pos'], tuple(rows)
def transposed(rows):
    grid = [r.split() for r in rows]
    h, w = len(grid), max(len(r) for r in grid)
    t = []
    for x in range(w):
        t.append(" ".join(grid[y][x] if x < len(grid[y]) else '.' for y in range(h)))
    # strip trailing empty rows/cols
    return tuple(t)
def shape_ok(f):
    return f['shape'] in ('straight-three','bent-three','pyramid-four','bulky-five','crossed-five','rabbity-six')
keep = []
seen = set()
for f in found:
    if not shape_ok(f): continue
    k = (f['role'], f['pos'], tuple(f['diagram']))
    if k in seen: continue
    seen.add(k)
    if f['pos'] == 'corner':
        seen.add((f['role'], f['pos'], transposed(f['diagram'])))
    keep.append(f)
json.dump(keep, open('keep.json','w'))
from collections import Counter
print(Counter((f['shape'], f['pos'], f['role']) for f in keep))
print(len(keep))
