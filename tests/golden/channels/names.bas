open "\data\sub\dev.txt" for output as #1
print #1, "device"
close #1
open "\data\sub\dev.txt" for input as #1
input #1, a$
print a$
close #1
open "日本.txt" for output as #1
print #1, "日本"
close #1
open "表.txt" for output as #1
print #1, "表"
close #1
open "表.txt" for input as #1
input #1, a$
print a$; len(a$)
close #1
