print "before"
list
print "not reached"
