input n
print n + 1
input n
print n
input n
print n
input s$
print "[";s$;"]"
input "Name"; n$
print "hello "; n$
input "Age", a
print a
input a, b
print a + b
input a; b
print a * b
dim v(2)
input v(1), w$
print v(1); w$
input "no var"
print "done"
input n
print "after eof"; n
