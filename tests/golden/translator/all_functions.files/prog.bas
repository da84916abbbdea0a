t$ = "abc"
dim a(2,3)
y = int(2.7) + abs(-3)
y = sqr(9) + exp(1) + log(1) + sin(0) + cos(0) + tan(0) + atn(0)
u$ = chr$(65) + mid$(t$, 2) + mid$(t$, 1, 2) + left$(t$, 1) + right$(t$, 1)
v = asc("A") + len(t$) + val("12") + instr(t$, "b") + instr(t$, "b", 2) + eof(1)
w$ = str$(3) + input$(2) + input$(2, #1) + input$(2, 1) + inkey$
w$ = time$ + date$
z = rnd(1) + netstat
z = 7 mod 2 - 1 / 2 * 3 ^ 2
z = (1 < 2) and (2 >= 1) or (3 <> 4) and (a(1,2) = 0) or (z <= 1) and (z > 0) and (z = 0)
z = -z + +3 - -(z) - -2.9 + 2.9
z = 1 < 2 < 3
z = 1e20 + 4294967296 + &hFFFFFFFF - -1e20
