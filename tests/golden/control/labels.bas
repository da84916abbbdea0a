goto @ba
@ab
print "ab"
end
@ba
print "ba"
goto @AZ_az09
@AZ_az
print "a shorter label"
@AZ_az09
print "every label character"
goto @twice
@twice
print "first twice"
end
@twice
print "second twice"
