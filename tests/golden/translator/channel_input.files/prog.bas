input #1, a$, n
close #1
open "zero.txt" for output as #0
print #0, a$
close #0
