' if with labels and statements after then and else, nested, with strings
for i = 1 to 6
  if i mod 2 = 0 then print "even"; else print "odd";
  if i > 3 then if i = 5 then print " five"; else print " big"; else print " small";
  if mid$("abcdef", i, 1) >= "c" and i <> 6 then @late
  print " early"
  goto @nx
@late
  print " late"
@nx
next i
s$ = ""
for i = 1 to 5: s$ = s$ + chr$(64 + i): if instr(s$, "C") then s$ = s$ + "-": next: print s$ else next: print s$
print left$(s$, 3); right$(s$, 3); asc(s$); val("12" + "3") + int(-2.5) + abs(-1) + sqr(16)
