' A loop whose test cannot be true (infinity minus infinity, a step that is
' not a number) ends after its first pass instead of running for ever.
big = 1e308 * 10
for i = big to big : print "pass"; i : next
print "after"; i
for j = 1 to 2 step 0 * big : print "pass"; j : next
print "end"
