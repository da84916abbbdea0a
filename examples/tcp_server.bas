' tcp_server.bas: wait for one client on port 47811, answer each line
' Start this first, then tcp_client.bas in another terminal.
print "Waiting for a client on port 47811"
open "server:47811" as #1
print "A client connected."
buf$ = ""
@receive
r$ = input$(100, #1)
if r$ = "" and eof(1) = 2 then wait 20 : goto @receive
if r$ = "" then @closed
buf$ = buf$ + r$
@split
p = instr(buf$, chr$(10))
if p = 0 then @receive
line$ = left$(buf$, p - 2)
buf$ = mid$(buf$, p + 1)
print "got: "; line$
print #1, "echo: "; line$
goto @split
@closed
close #1
print "The client has gone."
