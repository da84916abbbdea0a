' countdown.bas: a small program to translate with make
' At the prompt:  load "countdown.bas"  then  make "countdown.txt"
n = 3
gosub @show
print "lift off"
end
@show
for i = n to 1 step -1
print i
next i
return
