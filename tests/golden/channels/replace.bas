open "old.txt" for output as #1
print #1, "new"
open "empty.txt" for output as #2
close
print "replaced"
