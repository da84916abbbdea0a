input #1, a$, n
close #1
