x=1
gosub @a
list
print x
