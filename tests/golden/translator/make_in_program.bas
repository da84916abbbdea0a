input x
if x then make "out.txt"
print "after"
