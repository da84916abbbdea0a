open "in.txt" for input as #1
print #1, "zzz"
input #1, a$
print a$
open "out.txt" for output as #2
print "["; input$(5, #2); "] "; eof(2)
print #2, "written"
print "["; input$(5, #2); "] "; eof(2)
close
