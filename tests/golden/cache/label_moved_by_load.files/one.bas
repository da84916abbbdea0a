n = n + 1
if n < 3 then goto @x
print "one"; n
end
@x
print "x one"
goto @y
@y
goto @z
@z
print "z one"; n
