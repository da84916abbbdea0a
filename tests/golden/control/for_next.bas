for i = 1 to 3 : print i; : next i
print "/"; i
for i = 5 to 1 : print i; : next
print
for i = 1 to 0 step 1 : print "once"; i : next
for i = 0 to 1 step 0.5 : print i; " "; : next
print
for i = 1 to 2
for j = 1 to 2
print i; j; " ";
next j
next i
print
for k = 1 to 3 : print k; : next : print "|";
print
x = 10
for i = 1 to x step x / 2 : print i; " "; : next
print
for i = 1 to 2 : for j = 1 to 2 : next i
print "not reached"
