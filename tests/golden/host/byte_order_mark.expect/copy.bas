print "marked"
save "copy.bas"
