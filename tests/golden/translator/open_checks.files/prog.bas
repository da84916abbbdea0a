x=1
open "f.txt" for output as #12
print x
