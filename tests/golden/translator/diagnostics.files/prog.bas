x = 1 : y = 0 : z = 0 : t$ = "t"
print x 2
5 : x = 2
"s"
if 0 then y = -"a" + x ^ 2
next
goto 5
stop
clear
print #c, 1
print #12, 1
input #11, q
dim m(2,2)
if 0 then z = (1 : z = len(t$ 2)
if 0 then z = m(1)
print 1 ; 3 )
print #10, 1
@l
if 0 then @l else @l 2
