i=5
dim a(1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1)
dim b(0), c(-3)
dim b(2) : s$="x"
dim m$(1,2)
for i=1 to 3 : next i
for k$="a" to "b"
gosub @a : gosub @b : gosub @a
