open "abcd.txt" for input as #1
a$ = input$(3, #1)
print len(a$); " "; left$(a$, 2); " "; asc(right$(a$, 1)); " "; eof(1)
b$ = input$(3, 1)
print asc(b$); " "; mid$(b$, 2); " "; len(b$); " "; eof(1)
c$ = input$(3, #1)
print "["; c$; "] "; len(c$); " "; eof(1)
close
open "abcd.txt" for input as #1
c = 1
print input$(1, c); input$(1, #c); " "; asc(input$(1, #(c))); " "; right$(input$(c + 1, 2 - c), 1)
print "["; input$(0, 1); "] ["; input$(-5, 1); "] "; eof(1)
close
open "big.txt" for input as #4
t = 0
@more
s$ = input$(500, #4)
print len(s$); " ";
t = t + len(s$)
if eof(4) = 0 then goto @more
print t
close #4
open "big.txt" for input as #4
print len(input$(1000, #4)); " "; len(input$(511, #4)); " "; mid$(input$(3, #4), 1); " "; eof(4)
close #4
open "nul.txt" for input as #5
n$ = input$(5, #5)
print "["; n$; "] "; len(n$); " "; eof(5)
close #5
