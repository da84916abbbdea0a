a$="s"
x=1
print #1, a$; x
