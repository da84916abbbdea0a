' bubble: bubble sort of 2500 numbers from a small generator (arrays, nested for, if with three statements)
n = 2500
dim a(n)
s = 12345
for i = 1 to n
s = (s * 1103 + 12345) mod 65536
a(i) = s
next
for i = 1 to n - 1
for j = 1 to n - i
if a(j) > a(j + 1) then t = a(j) : a(j) = a(j + 1) : a(j + 1) = t
next
next
print a(1)
print a(n)
