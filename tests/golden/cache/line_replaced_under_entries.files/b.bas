x = 1
@a
print "b at a"
return
