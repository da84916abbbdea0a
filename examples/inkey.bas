' inkey.bas: react to keys as they are typed; q ends
print "Type keys, q to quit."
count = 0
@poll
k$ = inkey$
if k$ = "" then @poll
count = count + 1
print "key "; count; ": "; k$; " (code "; asc(k$); ")"
if k$ <> "q" then @poll
print "bye after "; count; " keys"
