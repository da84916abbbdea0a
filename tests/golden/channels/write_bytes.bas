open "out.txt" for output as #1
print #1, "x"; 1
print #1
print #1, 1, 2
print #1, "a";
print #1, "b"; chr$(10); "c"
print #1, 1/3; -2; 1e6; 100000
print #1,
print #1, "“ú–{Œê"; "¶Å"
print #1, ";"
s$ = "0123456789"
for i = 2 to 51 : s$ = s$ + "0123456789" : next i
s$ = s$ + "x"
print #1, right$(s$, 10); len(s$)
print #1, s$
close #1
print "done"
