print "kept"
