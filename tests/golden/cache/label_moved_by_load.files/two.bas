@z
print "z two"; n
end
@x
print "x two"
@y
n = n + 10
if n < 30 then goto @z
print n
