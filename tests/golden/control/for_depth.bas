c = 0
@a
for i = 1 to 2
c = c + 1
if c < 64 then @a
print "64 loops open"; c
@b
for i = 1 to 2
print "not reached"
