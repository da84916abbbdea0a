' for sets its counter before the limit is worked out; an error there leaves it set
for k = 3 to 0 step -1
  print "k"; k;
  for i = 10 to 100 / k
    x = x + 1
  next
  print " i"; i; " x"; x
next k
