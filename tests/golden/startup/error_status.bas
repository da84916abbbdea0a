print "x"
error here
