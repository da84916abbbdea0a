cls
print "Vorn Basic グラフィック"
box (10,20)-(110,80)
boxf (20,30)-(60,70)
box (40,50)-(100,75)
circle (120,20)-(200,80)
circlef (210,20)-(250,80)
circlef (220,30)-(240,70),0
line (260,20)-(330,80)
line -(400,20)
line -(260,20),1
for i=0 to 60 step 3: pset (410+i, 50): next
locate 0, 7
print "ﾊﾝｶｸ and 全角 ~"
image (300, 100), "pic.bmp"
boxf (20,120)-(120,180)
boxf (40,140)-(100,160),0
pset (70,150)
circle (130,120)-(230,180)
line (130,150)-(230,150),0
