m = 64
d = 0
gosub @r
print "back from"; d
d = 0 : m = 65
gosub @r
print "not reached"
end
@r
d = d + 1
if d < m then gosub @r
return
