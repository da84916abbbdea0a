' every statement
dim a(3,4), s$(2)
let x = 1
t$ = "ab" + "c"
for i = 1 to 3
next i
for j = 10 to 0 step -2
next
if x > 0 then print "pos"; else print "neg",
if x then @skip else @other
goto @skip
@skip
gosub @sub
print
? x, t$;
print #2
input "N"; n$
input a(1,2), b
open "data.txt" for output as #1
print #1, x, t$
close #1
open "data.txt" for input as #1
input #1, r$
close #12
close
cls
locate 1, 2
wait 10
pset (1, 2)
pset (1, 2), 3
line (0, 0)-(10, 10)
line -(5, 5), 2
box (0, 0)-(1, 1)
boxf (0, 0)-(1, 1), 1
circle (5, 5)-(6, 6)
circlef (5, 5)-(6, 6), 0
image (0, 0), "pic.bmp"
start "prog.exe"
exec "prog.exe", "arg"
regist "txt", "notepad.exe"
clear
stop
@other
end
box (0, 0)-(9, 9) : q9 = 1
print q9
