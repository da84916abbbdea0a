for i = 5 to 5 : next : print i
for i = 5 to 5 step -1 : print "i"; i; : next : print " "; i
for i = 1 to 3 step 2 : print i; : next : print " "; i
for i = -1 to -3 : print i; : next : print " "; i
for i = 0 to 0.5 : print i; : next : print " "; i
for i = 3 to 1 step 1 : print "once"; i; : next : print " "; i
x = 2 : for i = x to x + 1 : x = 100 : print i; : next : print " "; i
