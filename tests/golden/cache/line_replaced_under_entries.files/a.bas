print "in a"
return
@a
print "at a"
stop
return
