if 1 then @yes
print "not reached"
@yes
if 0 then print 1 else print 2
if 0 then print "else" else print 3
if 0 then print 4
print 5
if 0.5 then print "half is true" else print "half is false"
if 1 then print 6 else print 7
if 1 then print 8 : print 9 else print 10
if 0 then print 11 : print 12 else print 13 : print 14
if 0 then if 1 then print 15 else print 16 else print 17
if 1 then if 0 then print 18 else print 19 else print 20
if 0 then @nowhere else @there
print "skipped"
@there
a$ = "b"
if a$ = "b" then print "strings compare"
if 2 > 1 then @missing
