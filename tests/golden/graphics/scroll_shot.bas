' Text, graphics and scrolling together: the picture at the end is the same
' however the console scrolls.
for i=1 to 24
print "çs";i;" Ç†Ç¢Ç§äøéö±≤≥ abc"
box (i*5,10)-(i*5+40,60)
circle (200,i*3)-(260,i*3+50),i mod 2
line (0,0)-(479,195)
line -(10,190),0
pset (i*7,100)
if i mod 7=0 then boxf (300,50)-(400,150)
if i mod 9=0 then circlef (100,100)-(180,190),0
next
a$="0123456789ABCDEFGHIJ"
print a$;a$;a$;a$;"Ç†";chr$(27);"[2J";"esc"
locate 3,4
print "loc";
