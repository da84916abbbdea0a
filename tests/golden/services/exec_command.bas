' commands registered by others: quotes, "%2", capitals in key names
exec "q.pp", "a b"
exec "x y.pp"
' "%1" is replaced first, so a "%2" in the name becomes the parameters
exec "%2.pp", "P"
' a class without a command, a key without a value: nothing
exec "q.qq"
exec "q.rr"
exec "q.unclosed"
' a quoted program name that is no program: nothing
exec "q.quoted"
' a program that cannot be started: nothing
exec "q.nf"
' extensions of 15 characters with the dot fit, 16 do not
exec "q.abcdefghijklmn"
exec "q.abcdefghijklmno"
' registry values of 256 characters are read, 257 are not
exec "q.v256"
exec "q.v257"
' commands of 511 characters after replacement run, longer ones do not
n$ = ""
for i = 1 to 160 : n$ = n$ + "a" : next i
exec n$ + ".three"
exec n$ + "b.three"
' only blanks: nothing
exec "   "
print "after"
