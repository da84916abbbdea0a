print 1
