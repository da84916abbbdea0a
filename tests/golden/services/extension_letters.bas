' every capital of an extension is lowered, A and Z included; other letters stay
regist "az", "sh log.sh"
exec "one.AZ"
exec "two.Az"
exec "three.aZ"
regist "@[", "sh log.sh"
exec "four.@["
exec "five.`{"
' the last dot counts, even as the second character
exec "x.az"
exec "x.y.AZ"
print "after"
