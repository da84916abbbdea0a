dim m(3)
for i = 0 to 3
m(i) = i * i
next i
s = 0
for i = 0 to 3: s = s + m(i): next i
print s
if s > 100 then goto @big
end
@big
print "big"
