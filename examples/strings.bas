' strings.bas: the string functions
s$ = "Vorn Basic"
print "text:   "; s$
print "len:    "; len(s$)
print "left$:  "; left$(s$, 4)
print "right$: "; right$(s$, 5)
print "mid$:   "; mid$(s$, 6, 3)
print "instr:  "; instr(s$, "Basic")
print "asc:    "; asc("A")
print "chr$:   "; chr$(72) + chr$(105)
print "str$:   "; str$(42.9) + "!"
print "val:    "; val("12.5") * 2
' spell the text backwards, one byte at a time
r$ = ""
for i = len(s$) to 1 step -1
r$ = r$ + mid$(s$, i, 1)
next i
print "back:   "; r$
' upper case by character codes
u$ = ""
for i = 1 to len(s$)
c = asc(mid$(s$, i, 1))
if c >= 97 and c <= 122 then c = c - 32
u$ = u$ + chr$(c)
next i
print "upper:  "; u$
