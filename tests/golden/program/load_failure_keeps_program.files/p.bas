print "old"
