gosub @s
list
end
@s
print 1
return
