print 1
return
