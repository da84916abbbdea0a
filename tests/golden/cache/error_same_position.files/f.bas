print "a"
y = 1.e
