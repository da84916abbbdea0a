wait 0
print "zero"
wait 1
print "one"
wait 20.9
print "fraction"
wait -1
print "negative"
wait -1e12
print "very negative"
wait 0 : print "same line"
