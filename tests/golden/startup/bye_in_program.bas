print "hi"
bye
print "no"
