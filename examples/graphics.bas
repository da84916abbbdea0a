' graphics.bas: lines, boxes, ellipses and points
cls
print "Graphics demo"
boxf (10,20)-(110,90)
boxf (30,40)-(90,70),0
box (130,20)-(230,90)
circle (250,20)-(320,90)
circlef (340,30)-(400,80)
circlef (355,45)-(385,65),0
line (10,110)-(110,170)
line -(210,110)
line -(10,110)
for x = 0 to 200 step 4
pset (240 + x, 140 + int(25 * sin(x / 20)))
next x
locate 0, 13
