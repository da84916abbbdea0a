print "a[2Jb[1;31mc(Bd)0e#8f"
print "x	yzw"
