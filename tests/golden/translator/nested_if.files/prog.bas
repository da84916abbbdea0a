a=1 : b=1
if a then if b then x=1 else x=2
y=3
if a then if b then x=1 else x=2 else x=3
