a=1
b=0
if a then b=1 else b=2
