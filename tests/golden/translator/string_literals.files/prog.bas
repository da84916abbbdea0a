print "#1"
print ":"; "(a)"
r = 0
if 0 then print "else" : r = 1 else s = 2
