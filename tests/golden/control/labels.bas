goto @ba
@ab
print "ab"
end
@ba
print "ba"
goto @twice
@twice
print "first twice"
end
@twice
print "second twice"
