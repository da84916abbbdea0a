print x
x=1
