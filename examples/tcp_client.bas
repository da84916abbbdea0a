' tcp_client.bas: talk to tcp_server.bas on this machine
open "net:127.0.0.1:47811" as #1
print #1, "hello"
print #1, "‚±‚ñ‚É‚¿‚Í"
print #1, "bye"
answers = 0
@receive
r$ = input$(200, #1)
if r$ = "" then wait 20 : goto @receive
print r$;
' count the line ends received so far
for i = 1 to len(r$)
if mid$(r$, i, 1) = chr$(10) then answers = answers + 1
next i
if answers < 3 then @receive
close #1
print "done"
