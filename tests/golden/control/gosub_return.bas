x = 1
gosub @s : print "after gosub"
if x then gosub @a else gosub @b
print "x is"; x
x = 0
if x then gosub @a else gosub @b
end
@s
print "in s"
return
@a print "in a" : return
@b print "in b" : return
