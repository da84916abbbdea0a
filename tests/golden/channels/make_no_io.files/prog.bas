a$ = input$(5)
b$ = input$(3, #4)
if eof(2) then print "x"
print "after"
