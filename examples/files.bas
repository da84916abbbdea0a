' files.bas: write an address book to a file and read it back
open "address.txt" for output as #1
print #1, "Sato Hanako"
print #1, "Osaka"
print #1, "Suzuki Ichiro"
print #1, "Sendai"
close #1
open "address.txt" for input as #2
n = 0
@next_entry
if eof(2) then @done
input #2, name$, city$
n = n + 1
print n; ". "; name$; " lives in "; city$
goto @next_entry
@done
close #2
print n; " entries read."
