print "a"
stop
@b print "b"
