for 5
goto
gosub 7
let
len("a")
print 1 2 3
dim q(2) x
if 1 then 5
