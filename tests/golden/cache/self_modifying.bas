' behaviour chosen by string variables and jumps, and operators written as strings
op$ = "+"
for n = 1 to 4
  if op$ = "+" then r = n + 10 else r = n - 10
  print r;
  if n = 2 then op$ = "-"
next
print
print 1 "+" 2
print 6 "*" 7 "-" 2
if 1 "then" print "then as a string"
a$ = "hello, world"
print mid$(a$ "," 2 "," 3)
print len(a$) "=" 12 "and" 1
t = 0
@loop
t = t + 1
on$ = mid$("abcab", t, 1)
if on$ = "a" then goto @isa
if on$ = "b" then goto @isb
print "c";
goto @tail
@isa
print "A";
goto @tail
@isb
print "B";
@tail
if t < 5 then goto @loop
print
open "gen.bas" for output as #1
print #1, "print " + chr$(34) + "generated" + chr$(34) + "; 6 * 7"
close #1
print "written"
