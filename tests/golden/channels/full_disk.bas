open "/dev/full" for output as #1
print #1, "x"
print #1, "y";
print eof(1)
close #1
print "went on"
