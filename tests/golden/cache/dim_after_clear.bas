' an array reshaped between uses of the same tokens
p = 1: gosub @fill
clear: p = 2: gosub @fill
clear: p = 3: gosub @fill
clear: dim m(2, 2): p = 1: gosub @use
end
@fill
dim m(p * 2)
@use
j = 0
@store
m(j) = j * p
j = j + 1
if j <= p * 2 then goto @store
s = 0
for j = 0 to p * 2
  s = s + m(j)
next j
print s;
print
return
