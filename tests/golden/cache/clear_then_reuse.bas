' variables found once and remembered are found afresh after clear
r = 0
@top
r = r + 1
a = a + r
b$ = b$ + "x"
print a; b$; r
if r = 2 then gosub @wipe
if r < 4 then goto @top
@again
c = c + 1
print c;: if c > 3 then print d(2)
if c < 3 then clear: c = 5: dim d(2): d(2) = c: goto @again
print "dims"; c; d(2)
end
@wipe
clear
a = 100
r = 2
return
