print "one"

@l3 print "three 100%d"
x=1
print "fivecr"
