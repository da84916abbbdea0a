print "before"
image (10, 10), "nothere.bmp"
print "after"
