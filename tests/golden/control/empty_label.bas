' an empty label names no line
a = a + 1
if a > 1 then print "back at the first line" : end
goto @
