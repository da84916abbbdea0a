a$ = input$(5)
print "["; a$; "]"
b$ = input$(5)
print "["; b$; "]"
c$ = input$(3)
print "["; c$; "] "; len(c$)
d$ = input$(0)
print "["; d$; "]"
e$ = input$(-1)
print "["; e$; "]"
f$ = input$(600)
print len(f$)
g$ = input$(5)
print "["; g$; "]"
