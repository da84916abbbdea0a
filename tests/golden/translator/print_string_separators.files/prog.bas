print ";"
print ",";
print #1, ";"
print 1;";"
