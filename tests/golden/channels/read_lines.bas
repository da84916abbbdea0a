open "crlf.txt" for input as #1
print eof(1);
input #1, a$
print "["; a$; "]"; eof(1);
input #1, b$
print "["; b$; "]"; eof(1);
input #1, c$
print "["; c$; "]"; eof(1); eof(1)
close #1
open "lf.txt" for input as #2
@loop
if eof(2) then goto @done
input #2, l$
print "<"; l$; ">";
goto @loop
@done
print
close #2
open "mixed.txt" for input as #3
input #3, a$, n; h
print a$; " "; n; " "; h
input #3, j$
print j$; " "; len(j$)
input #3, long$
print len(long$); " "; right$(long$, 3)
input #3, next$
print next$
input #3, nul$
print "["; nul$; "]"; len(nul$)
input #3, z$
print z$; eof(3)
input #3, e$
print "["; e$; "]"; eof(3)
close
