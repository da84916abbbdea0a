print "line 1"
stop
print "line 3" : stop : print "rest of 3"
print "line 4"
end
print "after end"
