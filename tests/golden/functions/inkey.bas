k$ = inkey$
print "["; k$; "]"; len(inkey$)
input a$
print a$
