' rnd inside a statement that fails after it: the generator moves once
dim a(3)
for i = 0 to 5
  x = int(rnd(6)) + 1 + a(i)
  print x;
next
