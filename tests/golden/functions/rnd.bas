print rnd(1); " "; rnd(1); " "; rnd(100); " "; rnd(0); " "; rnd(-2)
lo = 1 : hi = 0
for i = 1 to 3000
r = rnd(1)
if r < lo then lo = r
if r > hi then hi = r
next i
print lo >= 0; " "; hi <= 1; " "; lo < 0.001; " "; hi > 0.999
