print "other"
