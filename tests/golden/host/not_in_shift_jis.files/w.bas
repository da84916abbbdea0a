print "café ok"
print "€😀"
