' compiled statements meet variables cleared and arrays shaped again
@again
input r
if r = 0 then end
if r > 3 then dim a(r, 2) else dim a(r)
t$ = t$ + "*"
for i = 0 to r
  if r > 3 then a(i, 1) = i + 100 else a(i) = a(i) + i * r
next
if r > 3 then print r; i; t$; a(r, 1) else print r; i; t$; a(r)
if r = 5 then y = a(1)
clear
goto @again
