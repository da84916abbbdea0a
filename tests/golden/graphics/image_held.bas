open "pic.bmp" for input as #1
image (0, 0), "pic.bmp"
print "not reached"
