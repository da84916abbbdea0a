for i = 1 to 3
print "x"
clear
next
print "not reached"
