x=1
y=x<3
