gosub @s
print "returned"
end
@s
print 1/0
return
