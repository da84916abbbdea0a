c$ = input$(3)
print len(c$); " "; left$(c$, 2); " "; asc(right$(c$, 1))
d$ = input$(1)
print len(d$); " "; asc(d$)
e$ = input$(4)
print len(e$); " "; e$
