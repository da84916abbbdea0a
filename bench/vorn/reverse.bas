' reverse: strings reversed byte by byte and searched (mid$, asc, len, step -1)
t$ = "Vorn Basic runs old handheld programs on Linux desktops"
c = 0
for k = 1 to 40000
r$ = ""
for i = len(t$) to 1 step -1
r$ = r$ + mid$(t$, i, 1)
next
if asc(r$) = 115 then c = c + 1
v = 0
for i = 1 to len(r$)
if mid$(r$, i, 1) = "o" then v = v + 1
next
c = c + v
next
print c
print r$
